// The directory of one simulated domain: a tree of objects addressed by
// distinguished name (DN), with the domain object at its root, the default
// computer container "CN=Computers" below it, organisational units and
// computer objects. Look-ups by DN and by class and name go through hash
// indexes, so that trees of a hundred thousand objects stay cheap; a move or
// rename touches only the indexes of the object itself, because children are
// indexed under their parent's identity, not under their DN text.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace corvane::sim {

using ObjectId = std::uint32_t;
inline constexpr ObjectId kNoObject = 0;

namespace directory_class {
inline constexpr std::u16string_view kDomain = u"domainDNS";
inline constexpr std::u16string_view kContainer = u"container";
inline constexpr std::u16string_view kOrganizationalUnit = u"organizationalUnit";
inline constexpr std::u16string_view kComputer = u"computer";
} // namespace directory_class

// The directory service's Win32 codes (an ADSI HRESULT reduced to its low
// 16 bits gives these).
namespace directory_error {
inline constexpr platform::ErrorCode kObjectExists = 5010;       // ERROR_OBJECT_ALREADY_EXISTS
inline constexpr platform::ErrorCode kNotLeaf = 8213;            // ERROR_DS_CANT_ON_NON_LEAF
inline constexpr platform::ErrorCode kNoSuchObject = 8240;       // ERROR_DS_NO_SUCH_OBJECT
inline constexpr platform::ErrorCode kInvalidDnSyntax = 8242;    // ERROR_DS_INVALID_DN_SYNTAX
inline constexpr platform::ErrorCode kUnwillingToPerform = 8245; // ERROR_DS_UNWILLING_TO_PERFORM
} // namespace directory_error

// One component of a DN, "OU=Sales": attribute type and unescaped value.
struct RelativeName {
    std::u16string type;
    std::u16string value;
    friend bool operator==(const RelativeName&, const RelativeName&) = default;
};

// Escapes a value for a DN: a backslash before each of , + = " \ < > ; #,
// carriage return, line feed and other control characters as "\0D"-style
// hexadecimal pairs, and a blank at either end as "\ ".
std::u16string EscapeDnValue(std::u16string_view value);
// Splits a DN into its components, leaf first, undoing both escape forms
// ("\," and hexadecimal UTF-8 pairs such as "\2C" or "\C3\A4"). Blanks
// around types, values and separators are ignored; ';' separates like ','.
// False for text that is not a DN: a component without type or value, an
// unescaped + " < > or a dangling backslash, a value in #-hex form. The
// empty text is the empty DN (no components).
bool ParseDistinguishedName(std::u16string_view dn, std::vector<RelativeName>& components);
// Joins components, leaf first, escaping each value.
std::u16string FormatDistinguishedName(std::span<const RelativeName> components);
// "a.b.c" gives "DC=a,DC=b,DC=c".
std::u16string DomainRootDn(std::u16string_view dnsName);

class DirectoryTree {
public:
    enum class Scope { Base, OneLevel, Subtree };

    // The domain object (class domainDNS) named after the DNS name, and the
    // container CN=Computers below it.
    explicit DirectoryTree(std::u16string_view dnsName);

    ObjectId Root() const { return root_; }
    ObjectId DefaultComputerContainer() const { return computers_; }
    const std::u16string& RootDn() const { return rootDn_; }
    // Live objects, the root included.
    std::size_t Size() const { return live_; }

    bool Exists(ObjectId object) const;
    std::u16string_view Class(ObjectId object) const;
    std::u16string_view Name(ObjectId object) const;
    // "OU", "CN" or "DC": the attribute type of the object's own component.
    std::u16string_view RdnType(ObjectId object) const;
    ObjectId Parent(ObjectId object) const;
    ObjectId FirstChild(ObjectId object) const;
    ObjectId NextSibling(ObjectId object) const;
    // The children in the order they were added (a moved object comes last
    // in its new container).
    std::vector<ObjectId> Children(ObjectId object) const;
    bool IsInSubtree(ObjectId object, ObjectId base) const;

    std::u16string DistinguishedName(ObjectId object) const;
    // Case-insensitive look-up of a DN of this domain; kNoObject when there
    // is no such object or the text is not a DN.
    ObjectId Find(std::u16string_view dn) const;
    ObjectId FindChild(ObjectId parent, std::u16string_view rdnType,
                       std::u16string_view name) const;
    // Every object of that class with that name (both without regard to
    // case), oldest first.
    std::vector<ObjectId> FindByClassAndName(std::u16string_view objectClass,
                                             std::u16string_view name) const;

    // Adds an object below `parent`. The component type follows the class
    // (OU for organisational units, DC for domains, CN otherwise) unless
    // given. kObjectExists when the parent holds an object of that component
    // already, kNoSuchObject without a live parent, kInvalidDnSyntax for an
    // empty name or class.
    platform::ErrorCode Create(ObjectId parent, std::u16string_view objectClass,
                               std::u16string_view name, ObjectId* created = nullptr,
                               std::u16string_view rdnType = {});
    // Creates the missing OUs of a path of OU names, root first
    // ({"Sales", "Berlin"} for OU=Berlin,OU=Sales), and returns the last.
    ObjectId EnsureOrganizationalUnits(std::span<const std::u16string> path);
    // Removes a leaf (kNotLeaf when it has children); the root stays.
    platform::ErrorCode Delete(ObjectId object);
    platform::ErrorCode DeleteSubtree(ObjectId object);
    // Moves an object with its subtree below another parent; the root, and
    // moves into the object's own subtree, are refused (kUnwillingToPerform).
    platform::ErrorCode Move(ObjectId object, ObjectId newParent);
    platform::ErrorCode Rename(ObjectId object, std::u16string_view newName);

    // Further attributes (e.g. sAMAccountName), names without regard to case.
    void SetAttribute(ObjectId object, std::u16string_view name, std::u16string_view value);
    const std::u16string* Attribute(ObjectId object, std::u16string_view name) const;
    const std::vector<std::pair<std::u16string, std::u16string>>& Attributes(ObjectId object) const;

    // Calls visit(ObjectId) for the base, its children or its whole subtree
    // (pre-order, children in order) until visit returns false.
    template <typename Visit>
    void VisitSubtree(ObjectId base, Scope scope, Visit&& visit) const {
        if (!Exists(base)) {
            return;
        }
        if (scope == Scope::Base) {
            visit(base);
            return;
        }
        if (scope == Scope::OneLevel) {
            for (ObjectId child = FirstChild(base); child != kNoObject;
                 child = NextSibling(child)) {
                if (!visit(child)) {
                    return;
                }
            }
            return;
        }
        if (!visit(base)) {
            return;
        }
        ObjectId node = FirstChild(base);
        while (node != kNoObject) {
            if (!visit(node)) {
                return;
            }
            if (FirstChild(node) != kNoObject) {
                node = FirstChild(node);
                continue;
            }
            while (node != base && NextSibling(node) == kNoObject) {
                node = Parent(node);
            }
            if (node == base) {
                return;
            }
            node = NextSibling(node);
        }
    }

private:
    struct Node {
        std::u16string objectClass;
        std::u16string name;
        std::u16string rdnType;
        ObjectId parent = kNoObject;
        ObjectId firstChild = kNoObject;
        ObjectId lastChild = kNoObject;
        ObjectId previous = kNoObject;
        ObjectId next = kNoObject;
        std::vector<std::pair<std::u16string, std::u16string>> attributes;
        bool alive = false;
    };
    struct ChildKey {
        ObjectId parent;
        std::u16string component; // folded "TYPE=VALUE"
        bool operator==(const ChildKey&) const = default;
    };
    struct ChildKeyHash {
        std::size_t operator()(const ChildKey& key) const;
    };

    const Node* Get(ObjectId object) const;
    static ChildKey KeyOf(ObjectId parent, std::u16string_view type, std::u16string_view name);
    static std::u16string ClassNameKey(std::u16string_view objectClass, std::u16string_view name);
    void Link(ObjectId object, ObjectId parent);
    void Unlink(ObjectId object);
    void IndexClassName(ObjectId object);
    void UnindexClassName(ObjectId object);

    std::vector<Node> nodes_;
    std::unordered_map<ChildKey, ObjectId, ChildKeyHash> children_;
    std::unordered_map<std::u16string, std::vector<ObjectId>> byClassAndName_;
    std::vector<RelativeName> rootComponents_;
    std::u16string rootDn_;
    ObjectId root_ = kNoObject;
    ObjectId computers_ = kNoObject;
    std::size_t live_ = 0;
};

} // namespace corvane::sim
