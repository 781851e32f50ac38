// Source files as bytes and as text: the one decoder that the editor and the
// command line share, its line breaks and encodings, and that both ways of
// reading a file give the assembler the same lines.

#include "SourceText.h"
#include "Assembled.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string text;
    SourceEncoding encoding;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, GivesTheTextAndItsEncodingAndWritesTheBytesBack) {
    const DecodeCase& c = GetParam();
    const DecodedSource decoded = decodeSource(c.bytes);
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(decoded.encoding, c.encoding);
    // Written back in its encoding, it reads as the same text again.
    const DecodedSource again = decodeSource(encodeSource(decoded.text, decoded.encoding));
    EXPECT_EQ(again.text, c.text);
    EXPECT_EQ(again.encoding, c.encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Decoding,
    ::testing::Values(
        DecodeCase{"Empty", "", u"", SourceEncoding::Utf8},
        DecodeCase{"Ascii", "\tRET\n", u"\tRET\n", SourceEncoding::Utf8},
        DecodeCase{"EveryLineBreak", "a\r\nb\rc\nd\r", u"a\nb\nc\nd\n", SourceEncoding::Utf8},
        DecodeCase{"Utf8", "\tDB \"\xC3\xA9\xE2\x82\xAC\"", u"\tDB \"\u00E9\u20AC\"", SourceEncoding::Utf8},
        DecodeCase{"BeyondTheBasicPlane", "\xF0\x9F\x98\x80", u"\U0001F600", SourceEncoding::Utf8},
        DecodeCase{"ByteOrderMark", "\xEF\xBB\xBFX\n", u"X\n", SourceEncoding::Utf8WithBom},
        DecodeCase{"Latin1", "\tDB \"\xE9\"\r\n", u"\tDB \"\u00E9\"\n", SourceEncoding::Latin1},
        DecodeCase{"OverlongIsLatin1", "\xC0\xAF", u"\u00C0\u00AF", SourceEncoding::Latin1},
        DecodeCase{"SurrogateIsLatin1", "\xED\xA0\x80", u"\u00ED\u00A0\u0080", SourceEncoding::Latin1},
        DecodeCase{"MarkBeforeLatin1", "\xEF\xBB\xBF\xE9", u"\u00EF\u00BB\u00BF\u00E9",
                   SourceEncoding::Latin1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Encoding, KeepsTheLineEndsTheFileHad) {
    const struct {
        std::string bytes;
        LineEnd lineEnd;
    } cases[] = {{"a\nb\n", LineEnd::lf},
                 {"a\r\nb\r\n", LineEnd::crLf},
                 {"a\rb\r", LineEnd::cr},
                 {"one line", LineEnd::crLf},
                 {"a\nb\r\n", LineEnd::lf}};
    for (const auto& c : cases) {
        const DecodedSource decoded = decodeSource(c.bytes);
        EXPECT_EQ(decoded.lineEnd, c.lineEnd) << c.bytes;
        if (c.bytes != "a\nb\r\n") { // mixed ends are written as the first line's
            EXPECT_EQ(encodeSource(decoded.text, decoded.encoding, decoded.lineEnd), c.bytes);
        }
    }
    EXPECT_EQ(encodeSource(u"a\nb\n", SourceEncoding::Utf8, LineEnd::lf), "a\nb\n");
}

TEST(Decoding, TellsASourceFromABinaryFile) {
    const std::string manyControls = "\tRET\n" + std::string(10, '\x01');
    const std::pair<std::string, bool> cases[] = {
        {"\tRET\r\n\f\tHLT\n", true},
        {"\tDB \"\xE9\"\n", true},
        {"", true},
        {std::string("\tRET\0", 5), false},
        {manyControls, false},
        {"\x1B[1m\tRET\n" + std::string(90, ' '), true},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(looksLikeText(bytes), text) << bytes;
}

TEST(Encoding, WritesCrLfAndRefusesWhatLatin1CannotHold) {
    EXPECT_EQ(encodeSource(u"a\nb", SourceEncoding::Utf8), "a\r\nb");
    EXPECT_EQ(encodeSource(u"\u00E9", SourceEncoding::Utf8WithBom), "\xEF\xBB\xBF\xC3\xA9");
    EXPECT_EQ(encodeSource(u"\u00E9", SourceEncoding::Latin1), "\xE9");
    try {
        encodeSource(u"ok\n\tDB \"\u20AC\"", SourceEncoding::Latin1);
        FAIL() << "no exception";
    } catch (const UnencodableText& e) {
        EXPECT_STREQ(e.what(),
                     "the character \"\xE2\x82\xAC\" in line 2, column 6 has no Latin-1 code, the encoding "
                     "the file was read in");
    }
}

std::vector<SourceLine> linesOf(const TextArea& text) {
    std::vector<SourceLine> lines(text.lineCount());
    for (std::size_t i = 0; i < lines.size(); ++i)
        text.readLine(i, lines[i]);
    return lines;
}

bool sameLines(const std::vector<SourceLine>& a, const std::vector<SourceLine>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SourceLine& x, const SourceLine& y) {
        return x.text == y.text && std::equal(x.wide.begin(), x.wide.end(), y.wide.begin(), y.wide.end(),
                                              [](const WideCharacter& v, const WideCharacter& w) {
                                                  return v.column == w.column && v.unit == w.unit;
                                              });
    });
}

class BothReaders : public ::testing::TestWithParam<std::string> {};

// The command line reads a file a line at a time; the editor decodes it whole
// and reads its document. The assembler must see the same lines either way.
TEST_P(BothReaders, GiveTheAssemblerTheSameLinesAndAddresses) {
    const SourceFileText file(GetParam());
    const SourceText document(decodeSource(GetParam()).text);
    ASSERT_EQ(file.lineCount(), document.lineCount());
    EXPECT_TRUE(sameLines(linesOf(file), linesOf(document)));
    for (std::size_t i = 0; i < file.lineCount(); ++i)
        EXPECT_EQ(file.line(i), document.line(i));

    TBrenvikEngine fromFile(file), fromDocument(document);
    const Assembly& a = fromFile.run();
    const Assembly& b = fromDocument.run();
    for (std::size_t i = 0; i < a.lines.size(); ++i)
        EXPECT_EQ(a.lines[i].value, b.lines[i].value) << "line " << i + 1;
    EXPECT_EQ(a.bytesAssembled, b.bytesAssembled);
}

INSTANTIATE_TEST_SUITE_P(Files, BothReaders,
                         ::testing::Values("", "\n", "\tRET", "\tRET\r\n\tRLC\r\n", "a\rb\r\nc\nd\r",
                                           "\tDB \"\xF0\x9F\x98\x80\"\n\tRET\n",
                                           "\xEF\xBB\xBF\tDB \"\xC3\xA9\"\n",
                                           "\tDB \"\xE9\"\r\n\tRET ; \xA4\r\n",
                                           "X\tDB \"\xE2\x82\xAC\xF0\x9F\x98\x80\",1\nY\tJMP X\n"));

TEST(SourceFileText, AWideCharacterTakesAColumnForEachUtf16Unit) {
    const SourceFileText file("\tDB \"\xF0\x9F\x98\x80\"\n\tRET\n");
    TBrenvikEngine engine(file);
    const Assembly& assembly = engine.run();
    EXPECT_EQ(assembly.lines[0].code.size(), 2u);
    EXPECT_EQ(assembly.lines[1].value, 2u);
}

} // namespace
