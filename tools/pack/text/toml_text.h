#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "pack/text/source_names.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {

// A TOML basic string of a UTF-8 text, with the characters TOML cannot hold literally
// (and the C1 controls) escaped.
std::string TomlString(std::string_view utf8);

// Writes a TOML document key by key, in the order given. Text and Font take menu texts in
// the code page (kSystemCodePage: Windows-1252) and write the UTF-8 text that builds the
// same bytes; they throw PackError for bytes that have none (text_encoding.h: DecodeText).
class TomlText {
public:
    explicit TomlText(std::uint32_t codePage = kSystemCodePage) : codePage_(codePage) {}

    void Table(std::string_view name);       // [name]
    void ArrayTable(std::string_view name);  // [[name]]
    void Text(std::string_view key, std::string_view bytes);
    void Utf8Text(std::string_view key, std::string_view utf8);  // a file name, say
    void Integer(std::string_view key, std::int64_t value);
    void Flag(std::string_view key, bool value);
    void Color(std::string_view key, ColorRef color);  // "#RRGGBB"
    void Pair(std::string_view key, std::int32_t first, std::int32_t second);
    void Bounds(std::string_view key, const ambrevo::Bounds& bounds);
    // {name, size, bold, italic, underline}, plus color when given.
    void Font(std::string_view key, const FontSpec& font, const ColorRef* color = nullptr);
    void Utf8List(std::string_view key, const std::vector<std::string>& utf8Texts);
    // A setting with readable names: the name when the value has one, else the number.
    void Named(std::string_view key, const NameTable& names, std::int32_t value);

    const std::string& Str() const { return text_; }

private:
    void Line(std::string_view key, std::string_view value);
    std::string String(std::string_view bytes) const;
    std::uint32_t codePage_;
    std::string text_;
};

// "#RRGGBB" of a COLORREF 0x00BBGGRR.
std::string ColorText(ColorRef color);

}  // namespace ambrevo::pack
