// Which menu files are taken for UTF-8 or UTF-16, and what the decoding step
// makes of them, here with ISO 8859-1 standing in for the system's code page.
// Detection reads exactly sized blocks, so ASan catches a read past the file.
#include "catalogue/menu_encoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/latin1_decoding.h"

namespace {

EncodingFound Detect(const std::string& bytes) {
    std::vector<char> exact(bytes.begin(), bytes.end());
    return DetectEncoding(exact.data(), exact.size());
}

struct Decoded {
    bool done;
    TextEncoding encoding;
    std::string text;   // the decoded bytes, NULs included
    std::string lost;   // "^" under each byte marked lost, else " "
    std::string pad;    // the three bytes after the text
};

Decoded Decode(const std::string& bytes, size_t limit = 1 << 20) {
    size_t size = bytes.size();
    MenuDecoding decoding;
    char* text = DecodeWithLatin1(bytes.data(), size, decoding, limit);
    Decoded decoded = {text != nullptr, decoding.found.encoding, "", "", ""};
    if (text) {
        decoded.text.assign(text, size);
        for (size_t k = 0; k < size; ++k) decoded.lost += HasLostCharacter(decoding.lost, k, 1) ? '^' : ' ';
        decoded.pad.assign(text + size, 3);
    }
    delete[] text;
    return decoded;
}

TEST(DetectEncoding, MarksAndMultiByteSequences) {
    EXPECT_EQ(Detect(std::string("\xFF\xFE*\0", 4)).encoding, kUtf16Le);
    EXPECT_EQ(Detect(std::string("\xFE\xFF\0*", 4)).encoding, kUtf16Be);
    EXPECT_EQ(Detect("\xEF\xBB\xBF*p*x*n*plain*e*").encoding, kUtf8);
    EXPECT_EQ(Detect("\xEF\xBB\xBF").mark, 3u);
    // "Grüße" as today's Notepad saves it, after a first ASCII line.
    const std::string text = "Menue\r\n*p*x*n*Gr\xC3\xBC\xC3\x9F" "e*e*";
    EncodingFound found = Detect(text);
    EXPECT_EQ(found.encoding, kUtf8);
    EXPECT_EQ(found.mark, 0u);
    EXPECT_EQ(found.evidence, text.find('\xC3'));
    // A German ANSI text, even beside one good sequence, or with none at all.
    EXPECT_EQ(Detect("*p*C:\\B\xFCro.exe*n*F\xFCr Gr\xF6\xDF" "e*e*").encoding, kAnsi);
    EXPECT_EQ(Detect("Gr\xC3\xBC\xC3\x9F" "e und f\xFCr").encoding, kAnsi);
    EXPECT_EQ(Detect(std::string(100, 'a') + "\xC4rger").encoding, kAnsi);
    EXPECT_EQ(Detect("*p*C:\\x*n*y*e*").encoding, kAnsi);
    EXPECT_EQ(Detect("").encoding, kAnsi);
}

// Each limit of RFC 3629, from both sides, inside a text and at its end.
TEST(DetectEncoding, Utf8IsStrictAtEveryLimit) {
    const struct {
        const char* bytes;
        bool utf8;
    } cases[] = {
        {"\xC2\x80", true},          {"\xDF\xBF", true},          {"\xC0\x80", false},
        {"\xC1\xBF", false},         {"\xE0\xA0\x80", true},      {"\xE0\x9F\xBF", false},
        {"\xED\x9F\xBF", true},      {"\xED\xA0\x80", false},     {"\xEF\xBF\xBF", true},
        {"\xF0\x90\x80\x80", true},  {"\xF0\x8F\xBF\xBF", false}, {"\xF4\x8F\xBF\xBF", true},
        {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false}, {"\xF7\xBF\xBF\xBF", false},
        {"\xFF", false},             {"\x80", false},             {"\xC3", false},
        {"\xE2\x82", false},         {"\xF0\x9F\x98", false},     {"\xE2\x28\xA1", false},
        {"\xF0\x9F\x98\x28", false},
    };
    for (const auto& c : cases) {
        for (const std::string& text : {std::string("ab") + c.bytes, std::string(40, 'a') + c.bytes + "z"}) {
            EXPECT_EQ(Detect(text).encoding, c.utf8 ? kUtf8 : kAnsi) << ::testing::PrintToString(text);
        }
    }
}

TEST(DecodeMenuText, AnsiStaysAsReadOtherwiseTheMarkGoesAndLinesStay) {
    Decoded ansi = Decode("F\xFCr\r\n*p*a*n*\xE4*e*");
    EXPECT_EQ(ansi.text, "F\xFCr\r\n*p*a*n*\xE4*e*");
    EXPECT_EQ(ansi.encoding, kAnsi);
    const std::string expected = "F\xFCr\r\n*p*a*n*\xE4*e*";
    EXPECT_EQ(Decode("\xEF\xBB\xBF" "F\xC3\xBCr\r\n*p*a*n*\xC3\xA4*e*").text, expected);
    EXPECT_EQ(Decode("F\xC3\xBCr\r\n*p*a*n*\xC3\xA4*e*").text, expected);
    EXPECT_EQ(Decode(std::string("\xFF\xFE" "F\0\xFC\0r\0\r\0\n\0", 12)).text, "F\xFCr\r\n");
    EXPECT_EQ(Decode(std::string("\xFE\xFF\0F\0\xFC\0r", 8)).text, "F\xFCr");
    // An odd last byte is dropped; a NUL character ends the text, not the decoding.
    Decoded cut = Decode(std::string("\xFF\xFE" "a\0\0\0b\0\x63", 9));
    EXPECT_EQ(cut.text, std::string("a\0b", 3));
    EXPECT_EQ(cut.pad, std::string(3, '\0'));
}

TEST(DecodeMenuText, CharactersWithoutAnAnsiFormAndInvalidUtf8BecomeMarkedQuestionMarks) {
    // U+03A9, U+0142, U+1F600 (two units), then a "?" of the author's own.
    Decoded foreign = Decode("\xCE\xA9 \xC5\x82 \xF0\x9F\x98\x80 ?");
    EXPECT_EQ(foreign.text, "? ? ?? ?");
    EXPECT_EQ(foreign.lost, "^ ^ ^^  ");
    EXPECT_EQ(foreign.pad, std::string(3, '\0'));
    // After a mark, each invalid piece becomes one U+FFFD, and decoding goes on.
    Decoded invalid = Decode("\xEF\xBB\xBF" "a\xC0\x80" "b\xE2\x82" "c\xED\xA0\x80" "d\xF4\x90\x80\x80\xC3");
    EXPECT_TRUE(invalid.done);
    EXPECT_EQ(invalid.text, "a??b?c???d?????");
    EXPECT_EQ(invalid.lost, " ^^ ^ ^^^ ^^^^^");
}

TEST(DecodeMenuText, ATextBeyondTheLimitIsFreedNotCut) {
    const std::string text = "\xEF\xBB\xBF" + std::string(100, 'x');
    EXPECT_TRUE(Decode(text, 100).done);
    Decoded over = Decode(text, 99);
    EXPECT_FALSE(over.done);
    EXPECT_EQ(over.text, "");
}

}  // namespace
