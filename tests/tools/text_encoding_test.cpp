#include "pack/text_encoding.h"

#include <gtest/gtest.h>

#include "pack/toml_text.h"

namespace ambrevo::pack {
namespace {

TEST(TextEncodingTest, EveryByteSurvivesTheWayToUtf8AndBack) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    const AnsiConversion back = Utf8ToAnsi(AnsiToUtf8(all));
    EXPECT_FALSE(back.unconvertible);
    EXPECT_EQ(back.text, all);
}

TEST(TextEncodingTest, MapsWindows1252Characters) {
    EXPECT_EQ(AnsiToUtf8("\x80 \xB6 \xE9"), "\u20AC \u00B6 \u00E9");
    EXPECT_EQ(Utf8ToAnsi("Caf\u00E9 \u2014 \u20AC5").text,
              "Caf\xE9 \x97 \x80"
              "5");
}

TEST(TextEncodingTest, NamesTheFirstCharacterThatHasNoByte) {
    const AnsiConversion result = Utf8ToAnsi("ok \u4E2D \u0100");
    ASSERT_TRUE(result.unconvertible);
    EXPECT_EQ(*result.unconvertible, 0x4E2Du);
    EXPECT_EQ(Utf8ToAnsi("\xC3").unconvertible, kInvalidUtf8);
}

TEST(TextEncodingTest, TomlStringsEscapeWhatTomlCannotHoldLiterally) {
    EXPECT_EQ(TomlString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(TomlString("1\r\n2\t3"), R"("1\r\n2\t3")");
    EXPECT_EQ(TomlString(std::string("\x01\x7F\x81", 3)), R"("\u0001\u007F\u0081")");
    EXPECT_EQ(TomlString("\xB6\xE9"), "\"\u00B6\u00E9\"");
}

}  // namespace
}  // namespace ambrevo::pack
