#include "pack/text/toml_text.h"

#include <cstdio>

#include "pack/common/pack_error.h"
#include "pack/text/text_encoding.h"

namespace ambrevo::pack {
namespace {

std::string Escape(std::uint32_t codePoint) {
    switch (codePoint) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\b':
            return "\\b";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\f':
            return "\\f";
        case '\r':
            return "\\r";
        default:
            break;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(codePoint));
    return buffer;
}

bool NeedsEscape(std::uint32_t codePoint) {
    return codePoint == '"' || codePoint == '\\' || codePoint < 0x20 || codePoint == 0x7F ||
           (codePoint >= 0x80 && codePoint < 0xA0);
}

}  // namespace

std::string TomlString(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint32_t codePoint = NextCodePoint(utf8, i);
        if (codePoint == kInvalidUtf8) codePoint = 0xFFFD;
        if (NeedsEscape(codePoint)) {
            out += Escape(codePoint);
        } else {
            AppendUtf8(out, codePoint);
        }
    }
    return out + "\"";
}

std::string ColorText(ColorRef color) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", static_cast<unsigned>(color & 0xFF),
                  static_cast<unsigned>((color >> 8) & 0xFF),
                  static_cast<unsigned>((color >> 16) & 0xFF));
    return buffer;
}

void TomlText::Line(std::string_view key, std::string_view value) {
    text_.append(key).append(" = ").append(value).append("\n");
}

void TomlText::Table(std::string_view name) { text_.append("\n[").append(name).append("]\n"); }

void TomlText::ArrayTable(std::string_view name) {
    text_.append("\n[[").append(name).append("]]\n");
}

std::string TomlText::String(std::string_view bytes) const {
    const std::optional<std::string> text = DecodeText(bytes, codePage_);
    if (!text) {
        throw PackError("bytes that are no text of " + CodePageName(codePage_) + " for \"" +
                        DisplayText(bytes, codePage_) + "\"");
    }
    return TomlString(*text);
}

void TomlText::Text(std::string_view key, std::string_view bytes) { Line(key, String(bytes)); }

void TomlText::Utf8Text(std::string_view key, std::string_view utf8) {
    Line(key, TomlString(utf8));
}

void TomlText::Integer(std::string_view key, std::int64_t value) {
    Line(key, std::to_string(value));
}

void TomlText::Flag(std::string_view key, bool value) { Line(key, value ? "true" : "false"); }

void TomlText::Color(std::string_view key, ColorRef color) {
    Line(key, "\"" + ColorText(color) + "\"");
}

void TomlText::Pair(std::string_view key, std::int32_t first, std::int32_t second) {
    Line(key, "[" + std::to_string(first) + ", " + std::to_string(second) + "]");
}

void TomlText::Bounds(std::string_view key, const ambrevo::Bounds& bounds) {
    Line(key, "[" + std::to_string(bounds.left) + ", " + std::to_string(bounds.top) + ", " +
                  std::to_string(bounds.width) + ", " + std::to_string(bounds.height) + "]");
}

void TomlText::Font(std::string_view key, const FontSpec& font, const ColorRef* color) {
    auto flag = [](bool value) { return value ? "true" : "false"; };
    std::string value = "{ name = " + String(font.name) + ", size = " + std::to_string(font.size) +
                        ", bold = " + flag(font.style.bold) +
                        ", italic = " + flag(font.style.italic) +
                        ", underline = " + flag(font.style.underline);
    if (color != nullptr) {
        value += ", color = ";
        value += *color <= 0xFFFFFF ? "\"" + ColorText(*color) + "\"" : std::to_string(*color);
    }
    Line(key, value + " }");
}

void TomlText::Utf8List(std::string_view key, const std::vector<std::string>& utf8Texts) {
    std::string value = "[";
    for (std::size_t i = 0; i < utf8Texts.size(); ++i) {
        if (i > 0) value += ", ";
        value += TomlString(utf8Texts[i]);
    }
    Line(key, value + "]");
}

void TomlText::Named(std::string_view key, const NameTable& names, std::int32_t value) {
    const std::optional<std::string_view> name = names.NameOf(value);
    Line(key, name ? TomlString(*name) : std::to_string(value));
}

}  // namespace ambrevo::pack
