#include "support/text_format.h"

#include <algorithm>
#include <limits>

namespace corvane {

std::int64_t FormatArg::asSigned() const {
    switch (kind_) {
    case Kind::Signed:
        return signed_;
    case Kind::Unsigned:
    case Kind::Pointer:
        return static_cast<std::int64_t>(unsigned_);
    default:
        return 0;
    }
}

std::uint64_t FormatArg::asUnsigned() const {
    switch (kind_) {
    case Kind::Signed:
        return static_cast<std::uint64_t>(signed_);
    case Kind::Unsigned:
    case Kind::Pointer:
        return unsigned_;
    default:
        return 0;
    }
}

namespace {

// Widths and precisions beyond this are clamped: no format can make the
// formatter allocate without bound.
constexpr int kMaxWidth = 4096;

struct Spec {
    bool leftAlign = false;
    bool zeroPad = false;
    bool alternate = false;
    bool plusSign = false;
    bool spaceSign = false;
    int width = 0;
    int precision = -1;
};

class ArgCursor {
public:
    explicit ArgCursor(std::span<const FormatArg> args) : args_(args) {}
    const FormatArg* Next() { return next_ < args_.size() ? &args_[next_++] : nullptr; }

private:
    std::span<const FormatArg> args_;
    std::size_t next_ = 0;
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void Pad(std::u16string& out, int count, char16_t fill) {
    if (count > 0) {
        out.append(static_cast<std::size_t>(count), fill);
    }
}

// Emits body with sign/prefix, honouring width, '-' and '0'.
void EmitNumber(std::u16string& out, const Spec& spec, std::u16string_view prefix,
                std::u16string_view digits) {
    const int length = static_cast<int>(prefix.size() + digits.size());
    const int padding = spec.width - length;
    if (spec.leftAlign) {
        out.append(prefix);
        out.append(digits);
        Pad(out, padding, u' ');
    } else if (spec.zeroPad && spec.precision < 0) {
        out.append(prefix);
        Pad(out, padding, u'0');
        out.append(digits);
    } else {
        Pad(out, padding, u' ');
        out.append(prefix);
        out.append(digits);
    }
}

void EmitText(std::u16string& out, const Spec& spec, std::u16string_view text) {
    if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < text.size()) {
        text = text.substr(0, static_cast<std::size_t>(spec.precision));
    }
    const int padding = spec.width - static_cast<int>(text.size());
    if (!spec.leftAlign) {
        Pad(out, padding, spec.zeroPad ? u'0' : u' ');
    }
    out.append(text);
    if (spec.leftAlign) {
        Pad(out, padding, u' ');
    }
}

std::u16string Digits(std::uint64_t value, unsigned base, bool upper) {
    const char16_t* set = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string reversed;
    do {
        reversed.push_back(set[value % base]);
        value /= base;
    } while (value != 0);
    return std::u16string(reversed.rbegin(), reversed.rend());
}

std::u16string Widen(std::string_view narrow) {
    std::u16string wide;
    wide.reserve(narrow.size());
    for (char c : narrow) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

// Text of a string argument for %s or %S; either kind of string is accepted.
std::u16string StringOf(const FormatArg* arg) {
    if (arg == nullptr) {
        return {};
    }
    if (arg->isNull()) {
        return u"(null)";
    }
    switch (arg->kind()) {
    case FormatArg::Kind::Wide:
        return std::u16string(arg->wide());
    case FormatArg::Kind::Narrow:
        return Widen(arg->narrow());
    default:
        return {};
    }
}

bool IsNumber(const FormatArg* arg) {
    return arg != nullptr && arg->kind() != FormatArg::Kind::Wide &&
           arg->kind() != FormatArg::Kind::Narrow;
}

void EmitInteger(std::u16string& out, Spec spec, char16_t conversion, const FormatArg* arg) {
    const bool isSigned = conversion == u'd' || conversion == u'i';
    std::uint64_t magnitude = 0;
    bool negative = false;
    if (IsNumber(arg)) {
        if (isSigned) {
            const std::int64_t value = arg->asSigned();
            negative = value < 0;
            magnitude = negative ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(value)
                                 : static_cast<std::uint64_t>(value);
        } else {
            magnitude = arg->asUnsigned();
            // An argument that came in as a signed 32-bit value prints as the
            // 32-bit pattern, as printf shows an int passed to %x.
            if (arg->kind() == FormatArg::Kind::Signed && arg->asSigned() < 0 &&
                arg->asSigned() >= std::numeric_limits<std::int32_t>::min()) {
                magnitude &= 0xFFFFFFFFu;
            }
        }
    }
    unsigned base = 10;
    if (conversion == u'x' || conversion == u'X') {
        base = 16;
    } else if (conversion == u'o') {
        base = 8;
    }
    std::u16string digits = Digits(magnitude, base, conversion == u'X');
    if (spec.precision >= 0) {
        if (spec.precision == 0 && magnitude == 0) {
            digits.clear();
        }
        if (static_cast<int>(digits.size()) < spec.precision) {
            digits.insert(0, static_cast<std::size_t>(spec.precision) - digits.size(), u'0');
        }
    }
    std::u16string prefix;
    if (isSigned) {
        if (negative) {
            prefix = u"-";
        } else if (spec.plusSign) {
            prefix = u"+";
        } else if (spec.spaceSign) {
            prefix = u" ";
        }
    } else if (spec.alternate) {
        if (base == 16 && magnitude != 0) {
            prefix = conversion == u'X' ? u"0X" : u"0x";
        } else if (base == 8 && (digits.empty() || digits[0] != u'0')) {
            // '#' makes the first octal digit a 0, even where a zero
            // precision left no digit of the value 0.
            prefix = u"0";
        }
    }
    EmitNumber(out, spec, prefix, digits);
}

} // namespace

std::u16string FormatTextArgs(std::u16string_view format, std::span<const FormatArg> args) {
    std::u16string out;
    out.reserve(format.size() + 16 * args.size());
    ArgCursor cursor(args);
    std::size_t i = 0;
    while (i < format.size()) {
        const char16_t c = format[i];
        if (c != u'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t start = i++;
        Spec spec;
        // Flags.
        for (; i < format.size(); ++i) {
            const char16_t f = format[i];
            if (f == u'-') {
                spec.leftAlign = true;
            } else if (f == u'0') {
                spec.zeroPad = true;
            } else if (f == u'#') {
                spec.alternate = true;
            } else if (f == u'+') {
                spec.plusSign = true;
            } else if (f == u' ') {
                spec.spaceSign = true;
            } else {
                break;
            }
        }
        auto readNumber = [&](int& target) {
            if (i < format.size() && format[i] == u'*') {
                const FormatArg* arg = cursor.Next();
                const std::int64_t value = IsNumber(arg) ? arg->asSigned() : 0;
                // Clamped on both sides before narrowing: a 64-bit argument
                // must not wrap into a huge int.
                target = static_cast<int>(std::clamp<std::int64_t>(value, -kMaxWidth, kMaxWidth));
                ++i;
                return;
            }
            int value = 0;
            while (i < format.size() && IsDigit(format[i])) {
                value = std::min(value * 10 + (format[i] - u'0'), kMaxWidth);
                ++i;
            }
            target = value;
        };
        readNumber(spec.width);
        if (spec.width < 0) { // a negative '*' width means left alignment
            spec.leftAlign = true;
            spec.width = -spec.width;
        }
        if (i < format.size() && format[i] == u'.') {
            ++i;
            readNumber(spec.precision);
            if (spec.precision < 0) {
                spec.precision = -1;
            }
        }
        // Length modifiers carry no meaning here: every argument has its full width.
        while (i < format.size()) {
            const char16_t m = format[i];
            if (m == u'h' || m == u'l' || m == u'L' || m == u'z' || m == u'j' || m == u't' ||
                m == u'w') {
                ++i;
            } else if (m == u'I') {
                ++i;
                if (format.substr(i, 2) == u"64" || format.substr(i, 2) == u"32") {
                    i += 2;
                }
            } else {
                break;
            }
        }
        if (i >= format.size()) {
            out.append(format.substr(start)); // an unfinished conversion stays as written
            break;
        }
        const char16_t conversion = format[i++];
        switch (conversion) {
        case u'%':
            out.push_back(u'%');
            break;
        case u'd':
        case u'i':
        case u'u':
        case u'o':
        case u'x':
        case u'X':
            EmitInteger(out, spec, conversion, cursor.Next());
            break;
        case u'p': {
            // Pointers print as 16 upper-case hexadecimal digits, as the
            // Windows C library shows them in a 64-bit process.
            const FormatArg* arg = cursor.Next();
            std::u16string digits = Digits(IsNumber(arg) ? arg->asUnsigned() : 0, 16, true);
            digits.insert(0, 16 - std::min<std::size_t>(16, digits.size()), u'0');
            Spec plain;
            plain.width = spec.width;
            plain.leftAlign = spec.leftAlign;
            EmitNumber(out, plain, u"", digits);
            break;
        }
        case u'c':
        case u'C': {
            const FormatArg* arg = cursor.Next();
            std::u16string text;
            if (IsNumber(arg)) {
                const std::uint64_t value = arg->asUnsigned();
                text.push_back(conversion == u'c' ? static_cast<char16_t>(value & 0xFFFFu)
                                                  : static_cast<char16_t>(value & 0xFFu));
            }
            spec.precision = -1;
            EmitText(out, spec, text);
            break;
        }
        case u's':
        case u'S':
            EmitText(out, spec, StringOf(cursor.Next()));
            break;
        default:
            out.append(format.substr(start, i - start));
            break;
        }
    }
    return out;
}

} // namespace corvane
