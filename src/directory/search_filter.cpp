#include "directory/search_filter.h"

namespace corvane {

std::u16string EscapeFilterValue(std::u16string_view value) {
    std::u16string escaped;
    escaped.reserve(value.size());
    for (const char16_t c : value) {
        switch (c) {
        case u'*':
            escaped += u"\\2a";
            break;
        case u'(':
            escaped += u"\\28";
            break;
        case u')':
            escaped += u"\\29";
            break;
        case u'\\':
            escaped += u"\\5c";
            break;
        case u'\0':
            escaped += u"\\00";
            break;
        default:
            escaped.push_back(c);
            break;
        }
    }
    return escaped;
}

std::u16string ComputerSearchFilter(std::u16string_view computerName) {
    std::u16string filter(u"(&(objectClass=computer)(name=");
    filter += EscapeFilterValue(computerName);
    return filter.append(u"))");
}

} // namespace corvane
