#include "ui/inventory_csv.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Test names from the cases' own.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

using Rows = std::vector<std::vector<std::u16string>>;

Rows FieldsOf(const CsvTable& table) {
    Rows rows;
    for (const CsvRecord& record : table.records) {
        rows.push_back(record.fields);
    }
    return rows;
}

struct WellFormedCase {
    const char* name;
    std::u16string_view text;
    Rows rows;
    std::vector<std::uint32_t> lines;
};

class CsvWellFormed : public testing::TestWithParam<WellFormedCase> {};

TEST_P(CsvWellFormed, GivesEveryRecordWithItsLine) {
    const WellFormedCase& c = GetParam();
    const CsvTable table = ParseCsv(c.text);
    ASSERT_EQ(table.fault, CsvFault::None) << "line " << table.faultLine;
    EXPECT_EQ(FieldsOf(table), c.rows);
    std::vector<std::uint32_t> lines;
    for (const CsvRecord& record : table.records) {
        lines.push_back(record.line);
    }
    EXPECT_EQ(lines, c.lines);
}

const WellFormedCase kWellFormed[] = {
    {"CrLfAndFinalBreak", u"a,b\r\n1,2\r\n", {{u"a", u"b"}, {u"1", u"2"}}, {1, 2}},
    {"LfWithoutFinalBreak", u"a,b\n1,2", {{u"a", u"b"}, {u"1", u"2"}}, {1, 2}},
    {"EmptyFieldsKept", u"a,,b,\r\n", {{u"a", u"", u"b", u""}}, {1}},
    {"EmptyLinesSkipped", u"a\r\n\r\n\nb\r\n", {{u"a"}, {u"b"}}, {1, 4}},
    {"QuotedCommaAndQuote", u"\"x,y\",\"say \"\"hi\"\"\"\r\n", {{u"x,y", u"say \"hi\""}}, {1}},
    {"QuotedEmpty", u"\"\",a\r\n", {{u"", u"a"}}, {1}},
    // A line break inside quotes belongs to the field; the next record's
    // line counts it.
    {"QuotedLineBreak",
     u"\"one\r\ntwo\",x\r\nnext\r\n",
     {{u"one\r\ntwo", u"x"}, {u"next"}},
     {1, 3}},
    {"BlanksKept", u" a , b \r\n", {{u" a ", u" b "}}, {1}},
    {"NoText", u"", {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Csv, CsvWellFormed, testing::ValuesIn(kWellFormed),
                         CaseName<WellFormedCase>);

struct MalformedCase {
    const char* name;
    std::u16string_view text;
    CsvFault fault;
    std::uint32_t line;
};

class CsvMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(CsvMalformed, NamesTheFaultAndItsLineAndKeepsNoRecord) {
    const MalformedCase& c = GetParam();
    const CsvTable table = ParseCsv(c.text);
    EXPECT_EQ(table.fault, c.fault);
    EXPECT_EQ(table.faultLine, c.line);
    EXPECT_TRUE(table.records.empty());
}

const MalformedCase kMalformed[] = {
    {"QuoteInsideField", u"a,b\r\n1,x\"y\r\n", CsvFault::QuoteInUnquotedField, 2},
    {"TextAfterClosingQuote", u"a\r\n\"x\"y\r\n", CsvFault::TextAfterClosingQuote, 2},
    // Reported where the field opened, however far the text runs on.
    {"Unterminated", u"a\r\n\"x,\r\nb\r\nc\r\n", CsvFault::UnterminatedQuotedField, 2},
    {"FaultAfterQuotedBreak", u"\"a\r\nb\",c\"\r\n", CsvFault::QuoteInUnquotedField, 2},
};

INSTANTIATE_TEST_SUITE_P(Csv, CsvMalformed, testing::ValuesIn(kMalformed), CaseName<MalformedCase>);

} // namespace
} // namespace corvane
