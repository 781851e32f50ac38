// The octal rows of the code column.

#include "CodeFormat.h"
#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatNumber, PadsButNeverCuts) {
    EXPECT_EQ(formatNumber(8, 6, true), "000010");
    EXPECT_EQ(formatNumber(255, 3, true), "377");
    EXPECT_EQ(formatNumber(0, 1, true), "0");
    EXPECT_EQ(formatNumber(0x10000, 6, true), "200000");
    EXPECT_EQ(formatNumber(0xFFFFFFFF, 6, true), "37777777777");
    EXPECT_EQ(formatNumber(255, 3, false), "???");
}

struct RowCase {
    const char* name;
    std::vector<std::string> lines;
    std::size_t line;
    std::size_t maxBytes;
    std::size_t firstByte;
    std::string address;
    std::string bytes;
};

void PrintTo(const RowCase& c, std::ostream* os) {
    *os << c.name;
}

class Row : public ::testing::TestWithParam<RowCase> {};

TEST_P(Row, ShowsAddressAndByteGroups) {
    const RowCase& c = GetParam();
    const Assembled a(c.lines);
    const CodeRow row = codeRow(a.record(c.line), c.maxBytes, c.firstByte);
    EXPECT_EQ(row.address, c.address);
    EXPECT_EQ(row.bytes, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Row,
    ::testing::Values(RowCase{"Instruction", {"\tORG 8", "\tLAI 255"}, 1, 999, 0, "000010", "006 377 "},
                      RowCase{"InsideBss", {"\tBSS", "\tJMP 0"}, 1, 999, 0, "000000", "??? ??? ??? "},
                      RowCase{"Equ", {"X\tEQU 64"}, 0, 999, 0, "= 100", ""},
                      RowCase{"EquZero", {"X\tEQU 0"}, 0, 999, 0, "= 0", ""},
                      RowCase{"EquUndefined", {"X\tEQU NOWHERE"}, 0, 999, 0, "= 200000", ""},
                      RowCase{"EquInError", {"X\tEQU 1/0"}, 0, 999, 0, "= 200001", ""},
                      RowCase{"OrgShowsOnlyItsAddress", {"\tORG 100B"}, 0, 999, 0, "000100", ""},
                      RowCase{"AddressBeyond16Bits", {"\tORG 65536", "\tRET"}, 1, 999, 0, "200000", "007 "},
                      RowCase{"Title", {"\tTITLE x"}, 0, 999, 0, "", ""},
                      RowCase{"LabelOnly", {"HERE"}, 0, 999, 0, "", ""},
                      RowCase{
                          "FirstRowOfLongDb", {"\tDB 1,2,3,4,5,6,7,8"}, 0, 3, 0, "000000", "001 002 003 "},
                      RowCase{"ContinuationRow", {"\tDB 1,2,3,4,5,6,7,8"}, 0, 3, 6, "", "007 010 "},
                      RowCase{"OpcodeCountsAsAGroup", {"\tJMP 1"}, 0, 2, 0, "000000", "104 001 "},
                      RowCase{"OpcodeEvenWithoutRoom", {"\tJMP 1"}, 0, 0, 0, "000000", "104 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Row, ReportsTheNextByteToShow) {
    const Assembled a({"\tDB 1,2,3,4,5,6,7,8", "\tJMP 1"});
    EXPECT_EQ(codeRow(a.record(0), 3, 0).nextByte, 3u);
    EXPECT_EQ(codeRow(a.record(0), 3, 6).nextByte, 8u);
    EXPECT_EQ(codeRow(a.record(1), 3, 0).nextByte, 2u);
    EXPECT_EQ(codeRow(a.record(1), 2, 0).nextByte, 1u);
}

} // namespace
