#pragma once

#include <toml++/toml.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "pack/common/diagnostics.h"
#include "pack/source/menu_keys.h"
#include "pack/text/source_names.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {

// Reads the keys of one TOML table of a source into model values. Every reader takes the
// key when it is present, marks it as known, converts it and stores it in `out`; a value of
// the wrong type or out of range is reported at its line and leaves `out` unchanged.
// Keys that no reader asked for are reported by ReportUnknownKeys.
class SourceTable {
public:
    // prefix names the table in messages ("font." gives "font.size").
    SourceTable(const toml::table& table, const SourceFile& file, std::string prefix = "");
    // The table of item `number` (from 1) of the same file, its texts in the same code
    // page; what it reports concerns the item.
    SourceTable Item(const toml::table& table, int number) const;

    // The code page texts are converted to (text_encoding.h); kSystemCodePage, the
    // default, writes Windows-1252. Tables taken from this one keep it.
    void SetCodePage(std::uint32_t codePage) { codePage_ = codePage; }
    std::uint32_t CodePage() const { return codePage_; }

    bool Has(std::string_view key) const { return table_.contains(key); }
    // Line of the key's value, or of the table when the key is absent.
    std::int64_t Line(std::string_view key) const;
    std::int64_t TableLine() const;
    const SourceFile& File() const { return file_; }
    // The key as messages name it.
    std::string Qualified(std::string_view key) const { return prefix_ + std::string(key); }
    // The key's path in the key catalogue (menu_keys.h): "item.pictures.normal".
    std::string Path(std::string_view key) const { return scope_ + Qualified(key); }
    // The key as messages name it for authors: its plain label and the key.
    std::string Named(std::string_view key) const {
        return KeyInMessage(Path(key), Qualified(key));
    }
    void Report(std::string_view key, std::string message) const;

    // UTF-8 in the file, bytes of the code page in the menu.
    bool Text(std::string_view key, std::string& out);
    bool Integer(std::string_view key, std::int32_t& out, std::int64_t lowest,
                 std::int64_t highest);
    // A whole number within the key catalogue's range for the key.
    bool Integer(std::string_view key, std::int32_t& out);
    bool Flag(std::string_view key, bool& out);
    bool Color(std::string_view key, ColorRef& out);       // "#RRGGBB"
    bool WholeColor(std::string_view key, ColorRef& out);  // "#RRGGBB" or a 32-bit integer
    bool Position(std::string_view key, Point& out);       // [x, y]
    bool Size(std::string_view key, std::int32_t& width, std::int32_t& height);  // [w, h]
    bool Rectangle(std::string_view key, Bounds& out);  // [x, y, width, height]
    // A name of the table, or an integer lowest..highest.
    bool Choice(std::string_view key, const NameTable& names, std::int32_t& out,
                std::int64_t lowest, std::int64_t highest);
    bool Choice(std::string_view key, const NameTable& names, std::int32_t& out) {
        return Choice(key, names, out, names.Lowest(), names.Highest());
    }
    // A font table {name, size, bold, italic, underline}, and color when color is given.
    bool Font(std::string_view key, FontSpec& out, ColorRef* color = nullptr);

    // The key's value of any type, marked as known; null when absent.
    const toml::node* Value(std::string_view key) { return Take(key); }
    // The key's array or table (marked as known), reported when it is another type.
    const toml::array* Array(std::string_view key);
    std::optional<SourceTable> Table(std::string_view key);
    // A text converted to the code page, reported when it cannot be; for array elements.
    std::optional<std::string> TextOf(const toml::node& node, std::string_view what) const;

    void ReportUnknownKeys() const;

private:
    const toml::node* Take(std::string_view key);
    void ReportType(std::string_view key, std::string_view expected) const;
    std::optional<std::int32_t> IntegerOf(const toml::node& node) const;
    // The key's list of `count` integers, each at least `lowest`; reported as `expected`.
    std::optional<std::vector<std::int32_t>> Integers(std::string_view key, std::size_t count,
                                                      std::int64_t lowest,
                                                      std::string_view expected);

    const toml::table& table_;
    SourceFile file_;
    std::string prefix_;
    std::string scope_;  // "item." in an item's tables
    std::uint32_t codePage_ = kSystemCodePage;
    std::set<std::string, std::less<>> known_;
};

// "#RRGGBB" as a COLORREF (0x00BBGGRR); nullopt for any other text.
std::optional<ColorRef> ParseHexColor(std::string_view text);

// Line of a node in its file (0 when unknown).
std::int64_t LineOf(const toml::node& node);

// The message for a key (as SourceTable::Named gives it) that a version 6 menu cannot hold.
std::string Version7Needed(std::string_view key);

}  // namespace ambrevo::pack
