#include "pack/text/text_encoding.h"

#include <gtest/gtest.h>

#include "pack/common/pack_error.h"
#include "pack/text/toml_text.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {
namespace {

// Every code page a menu can declare, kSystemCodePage (Windows-1252) among them.
constexpr std::uint32_t kMenuCodePages[] = {0,    874,  932,  936,  949,  950,  1250, 1251,
                                            1252, 1253, 1254, 1255, 1256, 1257, 1258, 65001};

TEST(TextEncodingTest, EveryByteSurvivesWindows1252BothWays) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    for (const std::uint32_t codePage : {kSystemCodePage, kWindows1252}) {
        const std::optional<std::string> text = DecodeText(all, codePage);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, DisplayText(all, codePage));
        const EncodedText back = EncodeText(*text, codePage);
        EXPECT_FALSE(back.unencodable);
        EXPECT_EQ(back.bytes, all);
    }
}

TEST(TextEncodingTest, AsciiIsTheSameInEveryCodePage) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
    for (const std::uint32_t codePage : kMenuCodePages) {
        SCOPED_TRACE(codePage);
        EXPECT_EQ(EncodeText(ascii, codePage).bytes, ascii);
        EXPECT_EQ(DecodeText(ascii, codePage), ascii);
    }
}

// Texts each code page holds, and their bytes there. The characters of code page 1258
// are ones Windows' table holds as they are (no composed Vietnamese letters).
TEST(TextEncodingTest, EncodesTextsInTheirCodePageAndReadsThemBack) {
    const struct {
        std::uint32_t codePage;
        std::string text;
        std::string bytes;
    } cases[] = {
        {0, "Caf\u00E9 \u2014 \u20AC5",
         "Caf\xE9 \x97 \x80"
         "5"},
        {1252, "\u00B6 \u0160", "\xB6 \x8A"},
        {874, "\u0E40\u0E21\u0E19\u0E39", "\xE0\xC1\xB9\xD9"},                  // เมนู
        {932, "\u30E1\u30CB\u30E5\u30FC", "\x83\x81\x83\x6A\x83\x85\x81\x5B"},  // メニュー
        // The second byte of "ソ" is "\": the backslash after it is a separate byte.
        {932, "%\u30BD\u30D5\u30C8\\setup.exe", "%\x83\x5C\x83\x74\x83\x67\\setup.exe"},
        {936, "\u83DC\u5355", "\xB2\xCB\xB5\xA5"},                                   // 菜单
        {949, "\uBA54\uB274", "\xB8\xDE\xB4\xBA"},                                   // 메뉴
        {950, "\u7E41\u9AD4", "\xC1\x63\xC5\xE9"},                                   // 繁體
        {1250, "\u0141\u00F3d\u017A", "\xA3\xF3\x64\x9F"},                           // Łódź
        {1251, "\u041F\u0440\u0438\u0432\u0435\u0442", "\xCF\xF0\xE8\xE2\xE5\xF2"},  // Привет
        {1253, "\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1",
         "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1"},  // Καλημέρα
        {1254, "T\u00FCrk\u00E7e \u011F",
         "T\xFCrk\xE7"
         "e \xF0"},
        {1255, "\u05EA\u05E4\u05E8\u05D9\u05D8", "\xFA\xF4\xF8\xE9\xE8"},  // תפריט
        {1256, "\u0642\u0627\u0626\u0645\u0629", "\xDE\xC7\xC6\xE3\xC9"},  // قائمة
        {1257, "\u0104\u017Euolas", "\xC0\xFEuolas"},
        {1258, "\u0110\u00E0 \u01B0\u01A1", "\xD0\xE0 \xFD\xF5"},  // Đà ươ
        {65001, "\u041F\u0440\u0438 \U0001F600", "\u041F\u0440\u0438 \U0001F600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + c.text);
        const EncodedText encoded = EncodeText(c.text, c.codePage);
        EXPECT_FALSE(encoded.unencodable);
        EXPECT_EQ(encoded.bytes, c.bytes);
        EXPECT_EQ(DecodeText(c.bytes, c.codePage), c.text);
        EXPECT_EQ(DisplayText(c.bytes, c.codePage), c.text);
    }
}

// A letter and a combining mark that code page 1258 holds apart: the bytes build again,
// however the converter reads them back (glibc composes them into one character).
TEST(TextEncodingTest, CombiningMarksOfCodePage1258BuildTheSameBytes) {
    const std::string decomposed = "Ti\u00EA\u0301ng";
    const EncodedText encoded = EncodeText(decomposed, 1258);
    ASSERT_FALSE(encoded.unencodable);
    EXPECT_EQ(encoded.bytes, "Ti\xEA\xECng");
    const std::optional<std::string> text = DecodeText(encoded.bytes, 1258);
    ASSERT_TRUE(text);
    EXPECT_EQ(EncodeText(*text, 1258).bytes, encoded.bytes);
}

// The first character without bytes of its own is named; best-fit replacements (CP932's
// yen sign as "\", "Ā" as "A") count as none.
TEST(TextEncodingTest, NamesTheFirstCharacterTheCodePageCannotHold) {
    const struct {
        std::uint32_t codePage;
        std::string text;
        std::uint32_t refused;
    } cases[] = {
        {0, "ok \u4E2D \u0100", 0x4E2D},  {1252, "\u0100", 0x0100},
        {1252, "\xC3", kInvalidUtf8},     {1251, "Caf\u00E9", 0x00E9},
        {1253, "\u039A \u041F", 0x041F},  {1250, "\u0100", 0x0100},
        {932, "\u00A5100", 0x00A5},       {932, "\u30E1 \uD55C", 0xD55C},
        {936, "\uBA54", 0xBA54},          {949, "\u0E40", 0x0E40},
        {950, "\u7E41\u00E9", 0x00E9},    {874, "\u00E9", 0x00E9},
        {1258, "\u1EBF", 0x1EBF},  // ế: refused by Windows, decomposed by glibc; see below
        {65001, "ok \xC3", kInvalidUtf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + c.text);
        const EncodedText encoded = EncodeText(c.text, c.codePage);
        if (c.codePage == 1258 && !encoded.unencodable) {
            // glibc writes it as "ê" and a combining acute, which read back as "ế".
            EXPECT_EQ(encoded.bytes, "\xEA\xEC");
            continue;
        }
        ASSERT_TRUE(encoded.unencodable);
        EXPECT_EQ(*encoded.unencodable, c.refused);
    }
}

TEST(TextEncodingTest, BytesThatAreNoTextAreRefusedAndShownReplaced) {
    const struct {
        std::uint32_t codePage;
        std::string bytes;
        std::string shown;
    } cases[] = {
        {932, "a\x83", "a\uFFFD"},  // a first byte without its second
        {936, "\x81", "\uFFFD"},
        {65001, "ok \xC3(", "ok \uFFFD("},
        {65001, "\xED\xA0\x80", "\uFFFD"},  // a surrogate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        EXPECT_EQ(DecodeText(c.bytes, c.codePage), std::nullopt);
        EXPECT_EQ(DisplayText(c.bytes, c.codePage), c.shown);
    }
    // A code page no menu can have is shown as Windows-1252.
    EXPECT_EQ(DisplayText("\x80\xE9", 437), "\u20AC\u00E9");
}

TEST(TextEncodingTest, KnowsTheCodePagesAMenuCanDeclare) {
    for (const std::uint32_t codePage : kMenuCodePages) {
        EXPECT_TRUE(IsMenuCodePage(codePage)) << codePage;
    }
    for (const std::uint32_t codePage :
         {1u, 437u, 850u, 873u, 1200u, 1249u, 1259u, 20127u, 50220u, 65000u, 65002u}) {
        EXPECT_FALSE(IsMenuCodePage(codePage)) << codePage;
        EXPECT_THROW(EncodeText("a", codePage), PackError) << codePage;
        EXPECT_THROW(DecodeText("a", codePage), PackError) << codePage;
    }
    EXPECT_EQ(CodePageName(0), "Windows-1252");
    EXPECT_EQ(CodePageName(1252), "Windows-1252");
    EXPECT_EQ(CodePageName(932), "code page 932");
    EXPECT_EQ(CodePageName(65001), "UTF-8");
}

TEST(TextEncodingTest, TomlStringsEscapeWhatTomlCannotHoldLiterally) {
    EXPECT_EQ(TomlString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(TomlString("1\r\n2\t3"), R"("1\r\n2\t3")");
    EXPECT_EQ(TomlString("\x01\x7F\u0081"), R"("\u0001\u007F\u0081")");
    EXPECT_EQ(TomlString("\u00B6\u00E9 \u30E1"), "\"\u00B6\u00E9 \u30E1\"");
}

TEST(TextEncodingTest, TomlTextWritesMenuTextsOfItsCodePage) {
    TomlText toml(1251);
    toml.Text("title", "\xCF\xF0\xE8\xE2\xE5\xF2");
    toml.Utf8Text("background", "\u043C/bg.png");
    EXPECT_EQ(toml.Str(),
              "title = \"\u041F\u0440\u0438\u0432\u0435\u0442\"\n"
              "background = \"\u043C/bg.png\"\n");
    TomlText japanese(932);
    EXPECT_THROW(japanese.Text("title", "\x83"), PackError);
}

}  // namespace
}  // namespace ambrevo::pack
