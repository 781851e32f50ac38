// Intel HEX records built from the bytes a run hands out.

#include "IntelHex.h"
#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

std::string hexOfBytes(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& bytes) {
    IntelHexWriter writer;
    for (const auto& [address, byte] : bytes)
        writer.emitHexByte(address, byte);
    return writer.finish();
}

std::string hexOfProgram(std::vector<std::string> lines) {
    return hexOfBytes(Assembled(std::move(lines)).code());
}

std::vector<std::pair<std::uint32_t, std::uint8_t>> run(std::uint32_t from, std::size_t count) {
    std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes.emplace_back(from + i, static_cast<std::uint8_t>(i));
    return bytes;
}

TEST(IntelHex, WorkedExample) {
    EXPECT_EQ(hexOfBytes({{0x100, 0x0E}, {0x101, 0x41}, {0x102, 0xFF}}),
              ":030100000E41FFAE\r\n:00000001FF\r\n");
}

TEST(IntelHex, NoBytesGiveOnlyTheEndRecord) {
    EXPECT_EQ(hexOfProgram({"X\tEQU 5", "; nothing", "\tTITLE t"}), ":00000001FF\r\n");
}

TEST(IntelHex, SixteenBytesARecord) {
    EXPECT_EQ(hexOfBytes(run(0, 16)), ":10000000000102030405060708090A0B0C0D0E0F78\r\n:00000001FF\r\n");
    EXPECT_EQ(hexOfBytes(run(0, 17)),
              ":10000000000102030405060708090A0B0C0D0E0F78\r\n:0100100010DF\r\n:00000001FF\r\n");
}

TEST(IntelHex, RecordsRunAcrossLinesButNotAcrossGaps) {
    EXPECT_EQ(hexOfProgram({"\tDB 1,2", "\tDB 3", "\tORG 8", "\tDB 4"}),
              ":03000000010203F7\r\n:0100080004F3\r\n:00000001FF\r\n");
}

TEST(IntelHex, OrgBackwardsRepeatsAddressesInSourceOrder) {
    EXPECT_EQ(hexOfProgram({"\tORG 1", "\tDB 1", "\tORG 0", "\tDB 2,3"}),
              ":0100010001FD\r\n:020000000203F9\r\n:00000001FF\r\n");
}

TEST(IntelHex, AddressesAreFourDigitsOfTheLow16Bits) {
    EXPECT_EQ(hexOfBytes({{0x8000, 0xAA}}), ":01800000AAD5\r\n:00000001FF\r\n");
    EXPECT_EQ(hexOfBytes({{0xFFF0, 0x01}}), ":01FFF000010F\r\n:00000001FF\r\n");
    EXPECT_EQ(hexOfBytes({{0x11170, 0x01}}), ":01117000017D\r\n:00000001FF\r\n");
}

TEST(IntelHex, WriterStartsAfreshAfterFinish) {
    IntelHexWriter writer;
    writer.emitHexByte(0, 1);
    writer.finish();
    writer.emitHexByte(1, 2);
    EXPECT_EQ(writer.finish(), ":0100010002FC\r\n:00000001FF\r\n");
}

TEST(HexPath, ReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(hexPathFor("/src/prog.asm"), "/src/prog.hex");
    EXPECT_EQ(hexPathFor("/src/prog"), "/src/prog.hex");
    EXPECT_EQ(hexPathFor("/rel1.2/prog"), "/rel1.2/prog.hex");
    EXPECT_EQ(hexPathFor("/src/a.b.asm"), "/src/a.b.hex");
    EXPECT_EQ(hexPathFor("prog.asm"), "prog.hex");
    EXPECT_EQ(hexPathFor("/src/.asm"), "/src/.hex");
}

} // namespace
