#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "source_names.h"

namespace ambrevo::pack {

// A TOML basic string of an 8-bit menu text, in UTF-8 with the characters TOML cannot
// hold literally escaped.
std::string TomlString(std::string_view ansi);

// Writes a TOML document key by key, in the order given.
class TomlText {
public:
    void Table(std::string_view name);       // [name]
    void ArrayTable(std::string_view name);  // [[name]]
    void Text(std::string_view key, std::string_view ansi);
    void Integer(std::string_view key, std::int64_t value);
    void Flag(std::string_view key, bool value);
    void Color(std::string_view key, ColorRef color);  // "#RRGGBB"
    void Pair(std::string_view key, std::int32_t first, std::int32_t second);
    void Bounds(std::string_view key, const ambrevo::Bounds& bounds);
    // {name, size, bold, italic, underline}, plus color when given.
    void Font(std::string_view key, const FontSpec& font, const ColorRef* color = nullptr);
    void TextList(std::string_view key, const std::vector<std::string>& ansiTexts);
    // A setting with readable names: the name when the value has one, else the number.
    void Named(std::string_view key, const NameTable& names, std::int32_t value);

    const std::string& Str() const { return text_; }

private:
    void Line(std::string_view key, std::string_view value);
    std::string text_;
};

// "#RRGGBB" of a COLORREF 0x00BBGGRR.
std::string ColorText(ColorRef color);

}  // namespace ambrevo::pack
