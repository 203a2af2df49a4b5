// LDAP search filters in their text form (RFC 4515), as far as the program
// and the directory contract use them: and, or, not, equality and presence,
// values with "\XX" escapes (UTF-8 bytes). Substring, ordering, approximate
// and extensible matches are refused like text that is no filter. Attribute
// values compare without regard to case, as the directory's string
// attributes do.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

class LdapFilter {
public:
    // The values an object holds for an attribute (empty: it has none).
    using AttributeValues = std::function<std::vector<std::u16string>(std::u16string_view)>;

    // Nothing for text that is not a filter: unbalanced parentheses, an
    // unescaped '(' or ')' in a value, a bad escape, text behind the filter.
    static std::optional<LdapFilter> Parse(std::u16string_view text);

    bool Matches(const AttributeValues& values) const;

    // For a filter that requires attribute = value at its top (alone or as a
    // term of an "and"), the unescaped value; lets the directory use an
    // index instead of walking the tree.
    std::optional<std::u16string> RequiredValue(std::u16string_view attribute) const;

    struct Node;

private:
    explicit LdapFilter(std::shared_ptr<const Node> root) : root_(std::move(root)) {}
    std::shared_ptr<const Node> root_;
};

} // namespace corvane::sim
