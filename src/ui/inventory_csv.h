// Comma-separated text as RFC 4180 describes it: records end at a line
// break (CR LF, or LF alone), fields are separated by commas, and a field in
// double quotes may hold commas, line breaks and doubled quotes. Nothing is
// guessed: any other shape is a fault, reported with its line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct CsvRecord {
    std::uint32_t line = 0; // the line on which the record starts, from 1
    std::vector<std::u16string> fields;
};

enum class CsvFault {
    None,
    QuoteInUnquotedField,   // a '"' inside a field that does not start with one
    TextAfterClosingQuote,  // a closing quote not followed by ',' or the line's end
    UnterminatedQuotedField // the text ends inside quotes
};

struct CsvTable {
    CsvFault fault = CsvFault::None;
    std::uint32_t faultLine = 0; // the line of the fault, from 1
    std::vector<CsvRecord> records;
};

// Every record of `text`. Empty lines hold no record; a final line break
// ends the last record rather than starting another. On a fault the records
// read so far are dropped.
CsvTable ParseCsv(std::u16string_view text);

// A short English description of a fault, for the log.
const char16_t* CsvFaultText(CsvFault fault);

} // namespace corvane
