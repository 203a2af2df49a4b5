#include "ui/inventory_csv.h"

namespace corvane {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// Steps over one line break (CR LF, LF, or a lone CR) at `at`.
std::size_t SkipLineBreak(std::u16string_view text, std::size_t at) {
    if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') {
        return at + 2;
    }
    return at + 1;
}

class CsvReader {
public:
    explicit CsvReader(std::u16string_view text) : text_(text) {}

    CsvTable Read() {
        while (at_ < text_.size()) {
            if (IsLineBreak(text_[at_])) {
                at_ = SkipLineBreak(text_, at_);
                ++line_;
                continue;
            }
            if (!ReadRecord()) {
                table_.records.clear();
                return std::move(table_);
            }
        }
        return std::move(table_);
    }

private:
    bool Fail(CsvFault fault, std::uint32_t line) {
        table_.fault = fault;
        table_.faultLine = line;
        return false;
    }

    // One record from its first character to the line break that ends it.
    bool ReadRecord() {
        CsvRecord record;
        record.line = line_;
        for (;;) {
            std::u16string field;
            if (!ReadField(field)) {
                return false;
            }
            record.fields.push_back(std::move(field));
            if (at_ >= text_.size()) {
                break;
            }
            if (text_[at_] == kComma) {
                ++at_;
                continue;
            }
            // A line break ends the record.
            at_ = SkipLineBreak(text_, at_);
            ++line_;
            break;
        }
        table_.records.push_back(std::move(record));
        return true;
    }

    // One field, leaving `at_` on the comma or line break after it (or the
    // end of the text).
    bool ReadField(std::u16string& field) {
        if (at_ < text_.size() && text_[at_] == kQuote) {
            return ReadQuotedField(field);
        }
        while (at_ < text_.size() && text_[at_] != kComma && !IsLineBreak(text_[at_])) {
            if (text_[at_] == kQuote) {
                return Fail(CsvFault::QuoteInUnquotedField, line_);
            }
            field.push_back(text_[at_]);
            ++at_;
        }
        return true;
    }

    bool ReadQuotedField(std::u16string& field) {
        const std::uint32_t opened = line_;
        ++at_; // the opening quote
        for (;;) {
            if (at_ >= text_.size()) {
                return Fail(CsvFault::UnterminatedQuotedField, opened);
            }
            const char16_t c = text_[at_];
            if (c == kQuote) {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == kQuote) {
                    field.push_back(kQuote);
                    at_ += 2;
                    continue;
                }
                ++at_; // the closing quote
                if (at_ < text_.size() && text_[at_] != kComma && !IsLineBreak(text_[at_])) {
                    return Fail(CsvFault::TextAfterClosingQuote, line_);
                }
                return true;
            }
            if (IsLineBreak(c)) {
                // Kept as written: the field holds the line break itself.
                const std::size_t next = SkipLineBreak(text_, at_);
                field.append(text_.substr(at_, next - at_));
                at_ = next;
                ++line_;
                continue;
            }
            field.push_back(c);
            ++at_;
        }
    }

    std::u16string_view text_;
    std::size_t at_ = 0;
    std::uint32_t line_ = 1;
    CsvTable table_;
};

} // namespace

CsvTable ParseCsv(std::u16string_view text) {
    return CsvReader(text).Read();
}

const char16_t* CsvFaultText(CsvFault fault) {
    switch (fault) {
    case CsvFault::QuoteInUnquotedField:
        return u"a quote inside an unquoted field";
    case CsvFault::TextAfterClosingQuote:
        return u"text after a closing quote";
    case CsvFault::UnterminatedQuotedField:
        return u"a quoted field that never ends";
    case CsvFault::None:
        break;
    }
    return u"no fault";
}

} // namespace corvane
