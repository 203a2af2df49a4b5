#include "platform/sim/directory/ldap_filter.h"

#include "platform/ascii_text.h"
#include "platform/sim/text.h"

namespace corvane::sim {

struct LdapFilter::Node {
    enum class Kind { And, Or, Not, Equal, Present };
    Kind kind = Kind::And;
    std::u16string attribute;
    std::u16string value;
    std::vector<std::shared_ptr<const Node>> children;
};

namespace {

using Node = LdapFilter::Node;

bool IsAttributeChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u';';
}

class Parser {
public:
    explicit Parser(std::u16string_view text) : text_(text) {}

    std::shared_ptr<const Node> ParseAll() {
        auto node = ParseFilter(0);
        if (!node || pos_ != text_.size()) {
            return nullptr;
        }
        return node;
    }

private:
    // Deeply nested input is refused rather than allowed to exhaust the
    // stack.
    static constexpr int kMaxDepth = 64;

    bool Eat(char16_t c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::shared_ptr<const Node> ParseFilter(int depth) {
        if (depth > kMaxDepth || !Eat(u'(')) {
            return nullptr;
        }
        auto node = std::make_shared<Node>();
        if (Eat(u'&') || Eat(u'|')) {
            node->kind = text_[pos_ - 1] == u'&' ? Node::Kind::And : Node::Kind::Or;
            while (pos_ < text_.size() && text_[pos_] == u'(') {
                auto child = ParseFilter(depth + 1);
                if (!child) {
                    return nullptr;
                }
                node->children.push_back(std::move(child));
            }
        } else if (Eat(u'!')) {
            node->kind = Node::Kind::Not;
            auto child = ParseFilter(depth + 1);
            if (!child) {
                return nullptr;
            }
            node->children.push_back(std::move(child));
        } else if (!ParseItem(*node)) {
            return nullptr;
        }
        if (!Eat(u')')) {
            return nullptr;
        }
        return node;
    }

    bool ParseItem(Node& node) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsAttributeChar(text_[pos_])) {
            ++pos_;
        }
        node.attribute.assign(text_.substr(start, pos_ - start));
        if (node.attribute.empty() || pos_ >= text_.size()) {
            return false;
        }
        node.kind = Node::Kind::Equal;
        if (!Eat(u'=')) {
            return false; // ordering, approximate and extensible matches are not offered
        }
        if (text_.substr(pos_, 2) == u"*)") {
            node.kind = Node::Kind::Present;
            ++pos_;
            return true;
        }
        // The value runs to the closing parenthesis. An unescaped star would
        // make it a substring match, which the program never asks for.
        std::string bytes; // pending escaped bytes, UTF-8
        auto flush = [&] {
            if (!bytes.empty()) {
                node.value += Utf8ToUtf16(bytes);
                bytes.clear();
            }
        };
        while (pos_ < text_.size() && text_[pos_] != u')') {
            const char16_t c = text_[pos_];
            if (c == u'\\') {
                const int high = pos_ + 1 < text_.size() ? HexDigitValue(text_[pos_ + 1]) : -1;
                const int low = pos_ + 2 < text_.size() ? HexDigitValue(text_[pos_ + 2]) : -1;
                if (high < 0 || low < 0) {
                    return false;
                }
                bytes.push_back(static_cast<char>(high * 16 + low));
                pos_ += 3;
                continue;
            }
            flush();
            if (c == u'(' || c == u'\0' || c == u'*') {
                return false;
            }
            node.value.push_back(c);
            ++pos_;
        }
        flush();
        return true;
    }

    std::u16string_view text_;
    std::size_t pos_ = 0;
};

bool Evaluate(const Node& node, const LdapFilter::AttributeValues& values) {
    switch (node.kind) {
    case Node::Kind::And:
        for (const auto& child : node.children) {
            if (!Evaluate(*child, values)) {
                return false;
            }
        }
        return true;
    case Node::Kind::Or:
        for (const auto& child : node.children) {
            if (Evaluate(*child, values)) {
                return true;
            }
        }
        return false;
    case Node::Kind::Not:
        return !Evaluate(*node.children.front(), values);
    default:
        break;
    }
    const std::vector<std::u16string> held = values(node.attribute);
    for (const std::u16string& candidate : held) {
        switch (node.kind) {
        case Node::Kind::Present:
            return true;
        case Node::Kind::Equal:
            if (EqualsNoCase(candidate, node.value)) {
                return true;
            }
            break;
        default:
            break;
        }
    }
    return false;
}

} // namespace

std::optional<LdapFilter> LdapFilter::Parse(std::u16string_view text) {
    Parser parser(text);
    auto root = parser.ParseAll();
    if (!root) {
        return std::nullopt;
    }
    return LdapFilter(std::move(root));
}

bool LdapFilter::Matches(const AttributeValues& values) const {
    return Evaluate(*root_, values);
}

std::optional<std::u16string> LdapFilter::RequiredValue(std::u16string_view attribute) const {
    auto required = [&](const Node& node) -> std::optional<std::u16string> {
        if (node.kind == Node::Kind::Equal && EqualsIgnoringAsciiCase(node.attribute, attribute)) {
            return node.value;
        }
        return std::nullopt;
    };
    if (auto value = required(*root_)) {
        return value;
    }
    if (root_->kind == Node::Kind::And) {
        for (const auto& child : root_->children) {
            if (auto value = required(*child)) {
                return value;
            }
        }
    }
    return std::nullopt;
}

} // namespace corvane::sim
