#include "platform/sim/directory/directory_attributes.h"

#include "platform/ascii_text.h"
#include "platform/sim/text.h"

namespace corvane::sim {

namespace {

// objectClass as Active Directory reports it: the class chain from "top"
// down to the object's own class.
std::vector<std::u16string> ClassChain(std::u16string_view objectClass) {
    if (EqualsNoCase(objectClass, directory_class::kComputer)) {
        return {u"top", u"person", u"organizationalPerson", u"user", u"computer"};
    }
    if (EqualsNoCase(objectClass, directory_class::kDomain)) {
        return {u"top", u"domain", u"domainDNS"};
    }
    return {u"top", std::u16string(objectClass)};
}

} // namespace

bool IsMostDerivedClass(std::u16string_view objectClass) {
    for (const std::u16string_view base :
         {u"top", u"person", u"organizationalPerson", u"user", u"domain"}) {
        if (EqualsNoCase(objectClass, base)) {
            return false;
        }
    }
    return true;
}

std::vector<std::u16string> DirectoryAttributeValues(const DirectoryTree& tree, ObjectId object,
                                                     std::u16string_view attribute) {
    if (!tree.Exists(object)) {
        return {};
    }
    if (EqualsIgnoringAsciiCase(attribute, u"objectClass")) {
        return ClassChain(tree.Class(object));
    }
    if (EqualsIgnoringAsciiCase(attribute, u"name") ||
        EqualsIgnoringAsciiCase(attribute, tree.RdnType(object))) {
        return {std::u16string(tree.Name(object))};
    }
    if (EqualsIgnoringAsciiCase(attribute, u"distinguishedName")) {
        return {tree.DistinguishedName(object)};
    }
    if (const std::u16string* value = tree.Attribute(object, attribute)) {
        return {*value};
    }
    return {};
}

} // namespace corvane::sim
