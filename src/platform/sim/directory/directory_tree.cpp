#include "platform/sim/directory/directory_tree.h"

#include "platform/ascii_text.h"
#include "platform/sim/text.h"

#include <algorithm>

namespace corvane::sim {

namespace {

constexpr std::u16string_view kSpecial = u",+=\"\\<>;#";

bool IsTypeChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.';
}

std::u16string DefaultRdnType(std::u16string_view objectClass) {
    if (EqualsNoCase(objectClass, directory_class::kOrganizationalUnit)) {
        return u"OU";
    }
    if (EqualsNoCase(objectClass, directory_class::kDomain)) {
        return u"DC";
    }
    return u"CN";
}

const std::vector<std::pair<std::u16string, std::u16string>> kNoAttributes;

} // namespace

std::u16string EscapeDnValue(std::u16string_view value) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out;
    out.reserve(value.size() + 8);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char16_t c = value[i];
        if (kSpecial.find(c) != std::u16string_view::npos) {
            out.push_back(u'\\');
            out.push_back(c);
        } else if (c < 0x20 || c == 0x7F) {
            out.push_back(u'\\');
            out.push_back(kHex[(c >> 4) & 0xF]);
            out.push_back(kHex[c & 0xF]);
        } else if (c == u' ' && (i == 0 || i + 1 == value.size())) {
            out.append(u"\\ ");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool ParseDistinguishedName(std::u16string_view dn, std::vector<RelativeName>& components) {
    components.clear();
    std::size_t i = 0;
    const std::size_t n = dn.size();
    auto skipBlanks = [&] {
        while (i < n && dn[i] == u' ') {
            ++i;
        }
    };
    skipBlanks();
    if (i == n) {
        return true;
    }
    while (true) {
        skipBlanks();
        const std::size_t typeStart = i;
        while (i < n && IsTypeChar(dn[i])) {
            ++i;
        }
        RelativeName component;
        component.type.assign(dn.substr(typeStart, i - typeStart));
        skipBlanks();
        if (component.type.empty() || i == n || dn[i] != u'=') {
            return false;
        }
        ++i;
        skipBlanks();
        if (i < n && dn[i] == u'#') {
            return false; // BER-encoded values are not supported
        }
        std::string pendingBytes; // consecutive hexadecimal escapes, UTF-8
        std::size_t significant = 0;
        auto flushBytes = [&] {
            if (!pendingBytes.empty()) {
                component.value += Utf8ToUtf16(pendingBytes);
                pendingBytes.clear();
                significant = component.value.size();
            }
        };
        bool separator = false;
        while (i < n) {
            const char16_t c = dn[i];
            if (c == u'\\') {
                if (i + 1 >= n) {
                    return false;
                }
                const int high = HexDigitValue(dn[i + 1]);
                const int low = i + 2 < n ? HexDigitValue(dn[i + 2]) : -1;
                if (high >= 0 && low >= 0) {
                    pendingBytes.push_back(static_cast<char>(high * 16 + low));
                    i += 3;
                    continue;
                }
                flushBytes();
                component.value.push_back(dn[i + 1]);
                significant = component.value.size();
                i += 2;
                continue;
            }
            flushBytes();
            if (c == u',' || c == u';') {
                separator = true;
                ++i;
                break;
            }
            if (c == u'+' || c == u'"' || c == u'<' || c == u'>') {
                return false;
            }
            component.value.push_back(c);
            if (c != u' ') {
                significant = component.value.size();
            }
            ++i;
        }
        flushBytes();
        component.value.resize(significant);
        if (component.value.empty()) {
            return false;
        }
        components.push_back(std::move(component));
        if (!separator) {
            return true;
        }
        skipBlanks();
        if (i == n) {
            return false; // a separator with nothing behind it
        }
    }
}

std::u16string FormatDistinguishedName(std::span<const RelativeName> components) {
    std::u16string out;
    for (const RelativeName& component : components) {
        if (!out.empty()) {
            out.push_back(u',');
        }
        out += component.type;
        out.push_back(u'=');
        out += EscapeDnValue(component.value);
    }
    return out;
}

std::u16string DomainRootDn(std::u16string_view dnsName) {
    std::vector<RelativeName> components;
    std::size_t start = 0;
    while (start <= dnsName.size()) {
        std::size_t dot = dnsName.find(u'.', start);
        if (dot == std::u16string_view::npos) {
            dot = dnsName.size();
        }
        if (dot > start) {
            components.push_back({u"DC", std::u16string(dnsName.substr(start, dot - start))});
        }
        start = dot + 1;
    }
    return FormatDistinguishedName(components);
}

std::size_t DirectoryTree::ChildKeyHash::operator()(const ChildKey& key) const {
    return std::hash<std::u16string>{}(key.component) ^
           (static_cast<std::size_t>(key.parent) * 0x9E3779B97F4A7C15ull);
}

DirectoryTree::ChildKey DirectoryTree::KeyOf(ObjectId parent, std::u16string_view type,
                                             std::u16string_view name) {
    std::u16string component = Fold(type);
    component.push_back(u'=');
    component += Fold(name);
    return ChildKey{parent, std::move(component)};
}

std::u16string DirectoryTree::ClassNameKey(std::u16string_view objectClass,
                                           std::u16string_view name) {
    std::u16string key = Fold(objectClass);
    key.push_back(u'\n');
    key += Fold(name);
    return key;
}

DirectoryTree::DirectoryTree(std::u16string_view dnsName) {
    nodes_.emplace_back(); // id 0 is kNoObject
    rootDn_ = DomainRootDn(dnsName);
    if (!ParseDistinguishedName(rootDn_, rootComponents_) || rootComponents_.empty()) {
        rootComponents_ = {{u"DC", u"domain"}};
        rootDn_ = FormatDistinguishedName(rootComponents_);
    }
    Node root;
    root.objectClass = std::u16string(directory_class::kDomain);
    root.name = rootComponents_.front().value;
    root.rdnType = u"DC";
    root.alive = true;
    nodes_.push_back(std::move(root));
    root_ = static_cast<ObjectId>(nodes_.size() - 1);
    live_ = 1;
    IndexClassName(root_);
    Create(root_, directory_class::kContainer, u"Computers", &computers_);
}

const DirectoryTree::Node* DirectoryTree::Get(ObjectId object) const {
    if (object == kNoObject || object >= nodes_.size() || !nodes_[object].alive) {
        return nullptr;
    }
    return &nodes_[object];
}

bool DirectoryTree::Exists(ObjectId object) const {
    return Get(object) != nullptr;
}

std::u16string_view DirectoryTree::Class(ObjectId object) const {
    const Node* node = Get(object);
    return node ? std::u16string_view(node->objectClass) : std::u16string_view{};
}

std::u16string_view DirectoryTree::Name(ObjectId object) const {
    const Node* node = Get(object);
    return node ? std::u16string_view(node->name) : std::u16string_view{};
}

std::u16string_view DirectoryTree::RdnType(ObjectId object) const {
    const Node* node = Get(object);
    return node ? std::u16string_view(node->rdnType) : std::u16string_view{};
}

ObjectId DirectoryTree::Parent(ObjectId object) const {
    const Node* node = Get(object);
    return node ? node->parent : kNoObject;
}

ObjectId DirectoryTree::FirstChild(ObjectId object) const {
    const Node* node = Get(object);
    return node ? node->firstChild : kNoObject;
}

ObjectId DirectoryTree::NextSibling(ObjectId object) const {
    const Node* node = Get(object);
    return node ? node->next : kNoObject;
}

std::vector<ObjectId> DirectoryTree::Children(ObjectId object) const {
    std::vector<ObjectId> children;
    for (ObjectId child = FirstChild(object); child != kNoObject; child = NextSibling(child)) {
        children.push_back(child);
    }
    return children;
}

bool DirectoryTree::IsInSubtree(ObjectId object, ObjectId base) const {
    if (!Exists(object) || !Exists(base)) {
        return false;
    }
    for (ObjectId node = object; node != kNoObject; node = nodes_[node].parent) {
        if (node == base) {
            return true;
        }
    }
    return false;
}

std::u16string DirectoryTree::DistinguishedName(ObjectId object) const {
    if (!Exists(object)) {
        return {};
    }
    std::u16string dn;
    for (ObjectId node = object; node != root_; node = nodes_[node].parent) {
        dn += nodes_[node].rdnType;
        dn.push_back(u'=');
        dn += EscapeDnValue(nodes_[node].name);
        dn.push_back(u',');
    }
    return dn + rootDn_;
}

ObjectId DirectoryTree::Find(std::u16string_view dn) const {
    std::vector<RelativeName> components;
    if (!ParseDistinguishedName(dn, components) || components.size() < rootComponents_.size()) {
        return kNoObject;
    }
    const std::size_t below = components.size() - rootComponents_.size();
    for (std::size_t i = 0; i < rootComponents_.size(); ++i) {
        const RelativeName& given = components[below + i];
        if (!EqualsNoCase(given.type, rootComponents_[i].type) ||
            !EqualsNoCase(given.value, rootComponents_[i].value)) {
            return kNoObject;
        }
    }
    ObjectId current = root_;
    for (std::size_t k = below; k > 0 && current != kNoObject; --k) {
        current = FindChild(current, components[k - 1].type, components[k - 1].value);
    }
    return current;
}

ObjectId DirectoryTree::FindChild(ObjectId parent, std::u16string_view rdnType,
                                  std::u16string_view name) const {
    const auto it = children_.find(KeyOf(parent, rdnType, name));
    return it == children_.end() ? kNoObject : it->second;
}

std::vector<ObjectId> DirectoryTree::FindByClassAndName(std::u16string_view objectClass,
                                                        std::u16string_view name) const {
    const auto it = byClassAndName_.find(ClassNameKey(objectClass, name));
    return it == byClassAndName_.end() ? std::vector<ObjectId>{} : it->second;
}

void DirectoryTree::Link(ObjectId object, ObjectId parent) {
    Node& node = nodes_[object];
    Node& owner = nodes_[parent];
    node.parent = parent;
    node.next = kNoObject;
    node.previous = owner.lastChild;
    if (owner.lastChild != kNoObject) {
        nodes_[owner.lastChild].next = object;
    } else {
        owner.firstChild = object;
    }
    owner.lastChild = object;
    children_.emplace(KeyOf(parent, node.rdnType, node.name), object);
}

void DirectoryTree::Unlink(ObjectId object) {
    Node& node = nodes_[object];
    Node& owner = nodes_[node.parent];
    children_.erase(KeyOf(node.parent, node.rdnType, node.name));
    if (node.previous != kNoObject) {
        nodes_[node.previous].next = node.next;
    } else {
        owner.firstChild = node.next;
    }
    if (node.next != kNoObject) {
        nodes_[node.next].previous = node.previous;
    } else {
        owner.lastChild = node.previous;
    }
    node.parent = node.previous = node.next = kNoObject;
}

void DirectoryTree::IndexClassName(ObjectId object) {
    std::vector<ObjectId>& ids =
        byClassAndName_[ClassNameKey(nodes_[object].objectClass, nodes_[object].name)];
    ids.insert(std::lower_bound(ids.begin(), ids.end(), object), object);
}

void DirectoryTree::UnindexClassName(ObjectId object) {
    const auto it =
        byClassAndName_.find(ClassNameKey(nodes_[object].objectClass, nodes_[object].name));
    if (it == byClassAndName_.end()) {
        return;
    }
    std::vector<ObjectId>& ids = it->second;
    ids.erase(std::remove(ids.begin(), ids.end(), object), ids.end());
    if (ids.empty()) {
        byClassAndName_.erase(it);
    }
}

platform::ErrorCode DirectoryTree::Create(ObjectId parent, std::u16string_view objectClass,
                                          std::u16string_view name, ObjectId* created,
                                          std::u16string_view rdnType) {
    if (created != nullptr) {
        *created = kNoObject;
    }
    if (!Exists(parent)) {
        return directory_error::kNoSuchObject;
    }
    if (objectClass.empty() || name.empty()) {
        return directory_error::kInvalidDnSyntax;
    }
    std::u16string type = rdnType.empty() ? DefaultRdnType(objectClass) : std::u16string(rdnType);
    if (FindChild(parent, type, name) != kNoObject) {
        return directory_error::kObjectExists;
    }
    Node node;
    node.objectClass = std::u16string(objectClass);
    node.name = std::u16string(name);
    node.rdnType = std::move(type);
    node.alive = true;
    nodes_.push_back(std::move(node));
    const auto id = static_cast<ObjectId>(nodes_.size() - 1);
    Link(id, parent);
    IndexClassName(id);
    ++live_;
    if (created != nullptr) {
        *created = id;
    }
    return platform::error::kSuccess;
}

ObjectId DirectoryTree::EnsureOrganizationalUnits(std::span<const std::u16string> path) {
    ObjectId current = root_;
    for (const std::u16string& unit : path) {
        ObjectId next = FindChild(current, u"OU", unit);
        if (next == kNoObject &&
            Create(current, directory_class::kOrganizationalUnit, unit, &next) != 0) {
            return kNoObject;
        }
        current = next;
    }
    return current;
}

platform::ErrorCode DirectoryTree::Delete(ObjectId object) {
    const Node* node = Get(object);
    if (node == nullptr) {
        return directory_error::kNoSuchObject;
    }
    if (object == root_) {
        return directory_error::kUnwillingToPerform;
    }
    if (node->firstChild != kNoObject) {
        return directory_error::kNotLeaf;
    }
    Unlink(object);
    UnindexClassName(object);
    Node& dead = nodes_[object];
    dead = Node{};
    if (object == computers_) {
        computers_ = kNoObject;
    }
    --live_;
    return platform::error::kSuccess;
}

platform::ErrorCode DirectoryTree::DeleteSubtree(ObjectId object) {
    if (!Exists(object)) {
        return directory_error::kNoSuchObject;
    }
    if (object == root_) {
        return directory_error::kUnwillingToPerform;
    }
    // Leaves first: descend to a leaf, delete it, climb back.
    ObjectId node = object;
    while (true) {
        while (FirstChild(node) != kNoObject) {
            node = FirstChild(node);
        }
        const ObjectId parent = Parent(node);
        Delete(node);
        if (node == object) {
            return platform::error::kSuccess;
        }
        node = parent;
    }
}

platform::ErrorCode DirectoryTree::Move(ObjectId object, ObjectId newParent) {
    const Node* node = Get(object);
    if (node == nullptr || !Exists(newParent)) {
        return directory_error::kNoSuchObject;
    }
    if (object == root_ || IsInSubtree(newParent, object)) {
        return directory_error::kUnwillingToPerform;
    }
    if (node->parent == newParent) {
        return platform::error::kSuccess;
    }
    if (FindChild(newParent, node->rdnType, node->name) != kNoObject) {
        return directory_error::kObjectExists;
    }
    Unlink(object);
    Link(object, newParent);
    return platform::error::kSuccess;
}

platform::ErrorCode DirectoryTree::Rename(ObjectId object, std::u16string_view newName) {
    const Node* node = Get(object);
    if (node == nullptr) {
        return directory_error::kNoSuchObject;
    }
    if (object == root_) {
        return directory_error::kUnwillingToPerform;
    }
    if (newName.empty()) {
        return directory_error::kInvalidDnSyntax;
    }
    const ObjectId existing = FindChild(node->parent, node->rdnType, newName);
    if (existing != kNoObject && existing != object) {
        return directory_error::kObjectExists;
    }
    const ObjectId parent = node->parent;
    Node& target = nodes_[object];
    children_.erase(KeyOf(parent, target.rdnType, target.name));
    UnindexClassName(object);
    target.name = std::u16string(newName);
    children_.emplace(KeyOf(parent, target.rdnType, target.name), object);
    IndexClassName(object);
    return platform::error::kSuccess;
}

void DirectoryTree::SetAttribute(ObjectId object, std::u16string_view name,
                                 std::u16string_view value) {
    if (!Exists(object) || name.empty()) {
        return;
    }
    for (auto& attribute : nodes_[object].attributes) {
        if (EqualsNoCase(attribute.first, name)) {
            attribute.second = std::u16string(value);
            return;
        }
    }
    nodes_[object].attributes.emplace_back(std::u16string(name), std::u16string(value));
}

const std::u16string* DirectoryTree::Attribute(ObjectId object, std::u16string_view name) const {
    const Node* node = Get(object);
    if (node == nullptr) {
        return nullptr;
    }
    for (const auto& attribute : node->attributes) {
        if (EqualsNoCase(attribute.first, name)) {
            return &attribute.second;
        }
    }
    return nullptr;
}

const std::vector<std::pair<std::u16string, std::u16string>>&
DirectoryTree::Attributes(ObjectId object) const {
    const Node* node = Get(object);
    return node ? node->attributes : kNoAttributes;
}

} // namespace corvane::sim
