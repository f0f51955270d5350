#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/json_string.h"
#include "support/utf8.h"
#include "support/windows_1252.h"

namespace ambrevo {
namespace {

std::vector<std::uint32_t> CodePoints(std::string_view text) {
    std::vector<std::uint32_t> points;
    for (std::size_t i = 0; i < text.size();) points.push_back(NextCodePoint(text, i));
    return points;
}

TEST(TextTest, Utf8ReadsCharactersAndRefusesWhatIsNoCharacter) {
    const std::uint32_t bad = kInvalidUtf8;
    const struct {
        const char* text;
        std::vector<std::uint32_t> points;
    } cases[] = {
        {"a\u00e9\u0416\u30e1\U0001F600", {'a', 0xE9, 0x416, 0x30E1, 0x1F600}},
        {"\xC3", {bad}},              // cut short
        {"\xC3(", {bad, '('}},        // a continuation missing: "(" is read again
        {"\xC0\xAF", {bad}},          // "/" written long
        {"\xE0\x80\xAF", {bad}},      // the same in three bytes
        {"\xED\xA0\x80", {bad}},      // a surrogate
        {"\xF4\x90\x80\x80", {bad}},  // past U+10FFFF
        {"\x80\xFF", {bad, bad}},     // no lead byte
    };
    for (const auto& c : cases) EXPECT_EQ(CodePoints(c.text), c.points) << c.text;
}

TEST(TextTest, Utf16RoundTripsAndMendsLoneSurrogates) {
    const std::string text = "Démo Straße \u041a\u0430\u0444\u0435 \U0001F600";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Démo Straße \u041a\u0430\u0444\u0435 \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                          u"b\xDC00"),
              "a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("x\xFFy"), u"x\uFFFDy");
}

TEST(TextTest, Windows1252HasACharacterForEveryByteAndABackForEach) {
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        EXPECT_EQ(Windows1252Byte(Windows1252CodePoint(c)), c) << byte;
        everyByte += c;
    }
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(everyByte)), everyByte);
    EXPECT_EQ(Windows1252ToUtf8("\x80 \xB6 \xE9 \x81"), "\u20AC \u00B6 \u00E9 \u0081");
    EXPECT_EQ(Windows1252Byte(0x0416), std::nullopt);
    EXPECT_EQ(Utf8ToWindows1252("\u0416x\xFFy"), "?x?y");
}

TEST(TextTest, JsonStringEscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonString("D:\\Read \"me\".txt"), "\"D:\\\\Read \\\"me\\\".txt\"");
    EXPECT_EQ(JsonString("a\nb\x01"), "\"a\\u000ab\\u0001\"");
    EXPECT_EQ(JsonString("Кафе"), "\"Кафе\"");
    EXPECT_EQ(JsonString(""), "\"\"");
}

}  // namespace
}  // namespace ambrevo
