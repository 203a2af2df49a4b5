#include "ui/organization_unit_setting.h"

#include "directory/distinguished_name.h"
#include "model/credentials.h"
#include "platform/net_buffer.h"
#include "support/trim_blanks.h"
#include "ui/dialog_ids.h"

namespace corvane {

namespace {

constexpr const char* kOperation = "SaveSettings";
constexpr int kList = ui::main_dialog::kOrganizationUnitList;
constexpr std::int32_t kInvalidData = 13; // ERROR_INVALID_DATA
constexpr std::int32_t kNotFound = 1168;  // ERROR_NOT_FOUND

char16_t FoldLatin1(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

// A DN's OU components root first, its DC components left out. Each
// component runs to its unescaped comma; a backslash makes the next
// character literal.
std::optional<std::u16string> PathOfDistinguishedName(std::u16string_view dn) {
    std::u16string path;
    std::u16string name;
    std::size_t at = 0;
    while (at <= dn.size()) {
        const std::size_t equals = dn.find(u'=', at);
        if (equals == std::u16string_view::npos) {
            return std::nullopt;
        }
        const std::u16string_view kind = TrimBlanks(dn.substr(at, equals - at));
        name.clear();
        for (at = equals + 1; at < dn.size() && dn[at] != u','; ++at) {
            if (dn[at] == u'\\' && at + 1 < dn.size()) {
                ++at;
            }
            name.push_back(dn[at]);
        }
        ++at; // the comma
        const std::u16string_view value = TrimBlanks(name);
        if (SameOrganizationUnit(kind, u"DC")) {
            continue;
        }
        if (!SameOrganizationUnit(kind, u"OU") || value.empty()) {
            return std::nullopt;
        }
        path.insert(0, value).insert(0, 1, u'\\');
    }
    return path;
}

std::optional<std::u16string> PathOfPath(std::u16string_view value) {
    if (!value.empty() && value.front() == u'\\') {
        value.remove_prefix(1);
    }
    if (!value.empty() && value.back() == u'\\') {
        value.remove_suffix(1);
    }
    if (value.empty()) {
        return std::nullopt;
    }
    std::u16string path;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(u'\\', start), value.size());
        if (end == start) {
            return std::nullopt; // an empty level
        }
        path += u'\\';
        path += value.substr(start, end - start);
        start = end + 1;
    }
    return path;
}

void LogJoinable(SetupState& state, std::u16string_view value, std::u16string_view listed) {
    state.Log.Log(LogLevel::Info, 0,
                  u"%S: Settings file ou \"%s\" is the joinable organization unit \"%s\"",
                  kOperation, value, listed);
}

void LogNotJoinable(SetupState& state, std::u16string_view value, std::u16string_view domain) {
    state.Log.Log(LogLevel::Warning, kNotFound,
                  u"%S: Settings file ou \"%s\" names no joinable organization unit of \"%s\"; "
                  u"the account is not moved",
                  kOperation, value, domain);
}

void LogNotAUnit(SetupState& state, std::u16string_view value) {
    state.Log.Log(LogLevel::Warning, kInvalidData,
                  u"%S: Settings file ou \"%s\" is neither an OU path nor a distinguished name "
                  u"of organization units; the account is not moved",
                  kOperation, value);
}

} // namespace

std::optional<std::u16string> OrganizationUnitPathOf(std::u16string_view value) {
    value = TrimBlanks(value);
    if (value.find(u'=') != std::u16string_view::npos) {
        return PathOfDistinguishedName(value);
    }
    return PathOfPath(value);
}

bool SameOrganizationUnit(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldLatin1(a[i]) != FoldLatin1(b[i])) {
            return false;
        }
    }
    return true;
}

bool PreselectOrganizationUnit(SetupState& state, platform::DialogView& dialog,
                               std::u16string_view value, std::u16string_view domain) {
    const auto wanted = OrganizationUnitPathOf(value);
    if (!wanted) {
        LogNotAUnit(state, value);
        return false;
    }
    const int count = dialog.ListCount(kList);
    for (int index = 0; index < count; ++index) {
        const std::u16string listed = dialog.ListItemText(kList, index);
        if (SameOrganizationUnit(listed, *wanted)) {
            dialog.SetListSelection(kList, index);
            LogJoinable(state, value, listed);
            return true;
        }
    }
    LogNotJoinable(state, value, domain);
    return false;
}

UnitCheck CheckOrganizationUnitSetting(platform::Platform& os, SetupState& state,
                                       std::u16string_view domain, std::u16string_view value,
                                       OrganizationUnitText& path) {
    const auto wanted = OrganizationUnitPathOf(value);
    if (!wanted) {
        LogNotAUnit(state, value);
        return UnitCheck::NotJoinable;
    }
    const std::u16string domainName(domain);
    const Credentials credentials = StoredCredentials(state);
    std::uint32_t count = 0;
    platform::NetBuffer<char16_t*> units(os.network);
    const platform::ErrorCode status = os.network.NetGetJoinableOUs(
        domainName.c_str(), credentials.account, credentials.password, &count, units.Receive());
    if (status != platform::error::kSuccess) {
        if (wanted->size() >= OrganizationUnitText::kCapacity) {
            LogNotAUnit(state, value);
            return UnitCheck::NotJoinable;
        }
        path.Assign(*wanted);
        state.Log.Log(LogLevel::Warning, static_cast<std::int32_t>(status),
                      u"%S: Joinable organization units of \"%s\" cannot be listed; settings "
                      u"file ou \"%s\" is used as given",
                      kOperation, domain, value);
        return UnitCheck::Unverified;
    }
    for (std::uint32_t i = 0; units.get() != nullptr && i < count; ++i) {
        if (units.get()[i] == nullptr) {
            continue;
        }
        const std::u16string listed = ExtractNamePath(units.get()[i], u"OU", u'\\');
        if (SameOrganizationUnit(listed, *wanted) &&
            listed.size() < OrganizationUnitText::kCapacity) {
            path.Assign(listed);
            LogJoinable(state, value, listed);
            return UnitCheck::Joinable;
        }
    }
    LogNotJoinable(state, value, domain);
    return UnitCheck::NotJoinable;
}

} // namespace corvane
