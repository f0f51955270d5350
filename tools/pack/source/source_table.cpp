#include "pack/source/source_table.h"

#include <limits>
#include <stdexcept>

#include "pack/pictures/filled_picture.h"
#include "pack/text/close_names.h"
#include "pack/source/source_defaults.h"
#include "pack/text/text_encoding.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kTextExpected = "a text in double quotes: \"...\"";
constexpr std::string_view kColourExpected = "a colour \"#RRGGBB\" such as \"#FF0000\" for red";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::optional<ColorRef> ParseHexColor(std::string_view text) {
    const std::optional<std::uint32_t> rgb = RgbOfHexText(text);
    if (!rgb) return std::nullopt;
    // 0xRRGGBB to COLORREF 0x00BBGGRR.
    return ((*rgb >> 16) & 0xFF) | (*rgb & 0xFF00) | ((*rgb & 0xFF) << 16);
}

std::int64_t LineOf(const toml::node& node) {
    return static_cast<std::int64_t>(node.source().begin.line);
}

std::string Version7Needed(std::string_view key) {
    return std::string(key) +
           " needs version 7; this menu is version 6: set version = 7, or remove it";
}

SourceTable::SourceTable(const toml::table& table, const SourceFile& file, std::string prefix)
    : table_(table), file_(file), prefix_(std::move(prefix)) {}

SourceTable SourceTable::Item(const toml::table& table, int number) const {
    SourceTable item(table, file_.ForItem(number));
    item.scope_ = "item.";
    item.SetCodePage(codePage_);
    return item;
}

std::int64_t SourceTable::Line(std::string_view key) const {
    const toml::node* node = table_.get(key);
    return node != nullptr ? LineOf(*node) : TableLine();
}

std::int64_t SourceTable::TableLine() const { return LineOf(table_); }

void SourceTable::Report(std::string_view key, std::string message) const {
    file_.Report(Line(key), std::move(message));
}

const toml::node* SourceTable::Take(std::string_view key) {
    known_.emplace(key);
    if (file_.keysAsked != nullptr) file_.keysAsked->insert(Path(key));
    return table_.get(key);
}

void SourceTable::ReportType(std::string_view key, std::string_view expected) const {
    Report(key, Named(key) + " must be " + std::string(expected));
}

std::optional<std::string> SourceTable::TextOf(const toml::node& node,
                                               std::string_view what) const {
    const auto* text = node.as_string();
    if (text == nullptr) {
        file_.Report(LineOf(node), std::string(what) + " must be " + std::string(kTextExpected));
        return std::nullopt;
    }
    EncodedText converted = EncodeText(text->get(), codePage_);
    if (converted.unencodable) {
        file_.Report(LineOf(node),
                     std::string(what) + " holds " + CodePointName(*converted.unencodable) +
                         ", which menu text (" + CodePageName(codePage_) + ") cannot hold");
        return std::nullopt;
    }
    return std::move(converted.bytes);
}

bool SourceTable::Text(std::string_view key, std::string& out) {
    const toml::node* node = Take(key);
    if (node == nullptr) return false;
    std::optional<std::string> text = TextOf(*node, Named(key));
    if (!text) return false;
    out = std::move(*text);
    return true;
}

std::optional<std::int32_t> SourceTable::IntegerOf(const toml::node& node) const {
    const auto* number = node.as_integer();
    if (number == nullptr || number->get() < kInt32Min || number->get() > kInt32Max) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number->get());
}

bool SourceTable::Integer(std::string_view key, std::int32_t& out, std::int64_t lowest,
                          std::int64_t highest) {
    const toml::node* node = Take(key);
    if (node == nullptr) return false;
    const auto* number = node->as_integer();
    if (number == nullptr || number->get() < lowest || number->get() > highest) {
        const std::string range = lowest == kInt32Min && highest == kInt32Max
                                      ? "a whole number"
                                      : "a whole number from " + std::to_string(lowest) + " to " +
                                            std::to_string(highest);
        std::string given;
        if (number != nullptr) given = ", not " + std::to_string(number->get());
        if (node->is_string()) given = ", written without quotes";
        ReportType(key, range + given);
        return false;
    }
    out = static_cast<std::int32_t>(number->get());
    return true;
}

bool SourceTable::Integer(std::string_view key, std::int32_t& out) {
    const MenuKey* known = FindMenuKey(Path(key));
    if (known == nullptr || known->type != KeyType::Number) {
        throw std::logic_error("no whole-number key " + Path(key) + " in the key catalogue");
    }
    return Integer(key, out, known->lowest, known->highest);
}

bool SourceTable::Flag(std::string_view key, bool& out) {
    const toml::node* node = Take(key);
    if (node == nullptr) return false;
    const auto* flag = node->as_boolean();
    if (flag == nullptr) {
        ReportType(key, "true or false, written without quotes");
        return false;
    }
    out = flag->get();
    return true;
}

bool SourceTable::Color(std::string_view key, ColorRef& out) {
    const toml::node* node = Take(key);
    if (node == nullptr) return false;
    const auto* text = node->as_string();
    const std::optional<ColorRef> color =
        text != nullptr ? ParseHexColor(text->get()) : std::nullopt;
    if (!color) {
        ReportType(key, std::string(kColourExpected) +
                            (text != nullptr ? ", not " + Quoted(text->get()) : ""));
        return false;
    }
    out = *color;
    return true;
}

bool SourceTable::WholeColor(std::string_view key, ColorRef& out) {
    const toml::node* node = table_.get(key);
    const auto* number = node != nullptr ? node->as_integer() : nullptr;
    if (number == nullptr) return Color(key, out);
    known_.emplace(key);
    if (number->get() < 0 || number->get() > 0xFFFFFFFFLL) {
        ReportType(key, std::string(kColourExpected) + ", or a whole number from 0 to 4294967295");
        return false;
    }
    out = static_cast<ColorRef>(number->get());
    return true;
}

std::optional<std::vector<std::int32_t>> SourceTable::Integers(std::string_view key,
                                                               std::size_t count,
                                                               std::int64_t lowest,
                                                               std::string_view expected) {
    const toml::node* node = Take(key);
    if (node == nullptr) return std::nullopt;
    const auto* list = node->as_array();
    std::vector<std::int32_t> values;
    for (std::size_t i = 0; list != nullptr && list->size() == count && i < count; ++i) {
        const std::optional<std::int32_t> value = IntegerOf(*list->get(i));
        if (!value || *value < lowest) break;
        values.push_back(*value);
    }
    if (values.size() != count) {
        ReportType(key, expected);
        return std::nullopt;
    }
    return values;
}

bool SourceTable::Position(std::string_view key, Point& out) {
    const auto values = Integers(key, 2, kInt32Min, "[x, y]: two whole numbers in square brackets");
    if (!values) return false;
    out = {(*values)[0], (*values)[1]};
    return true;
}

bool SourceTable::Size(std::string_view key, std::int32_t& width, std::int32_t& height) {
    const auto values =
        Integers(key, 2, 0, "[width, height]: two whole numbers, not negative, in square brackets");
    if (!values) return false;
    width = (*values)[0];
    height = (*values)[1];
    return true;
}

bool SourceTable::Rectangle(std::string_view key, Bounds& out) {
    constexpr std::string_view kExpected =
        "[x, y, width, height]: four whole numbers in square brackets, width and height not "
        "negative";
    const auto values = Integers(key, 4, kInt32Min, kExpected);
    if (!values) return false;
    if ((*values)[2] < 0 || (*values)[3] < 0) {
        ReportType(key, kExpected);
        return false;
    }
    out = {(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
    return true;
}

bool SourceTable::Choice(std::string_view key, const NameTable& names, std::int32_t& out,
                         std::int64_t lowest, std::int64_t highest) {
    const toml::node* node = Take(key);
    if (node == nullptr) return false;
    if (const auto* number = node->as_integer()) {
        if (number->get() >= lowest && number->get() <= highest) {
            out = static_cast<std::int32_t>(number->get());
            return true;
        }
    } else if (const auto* text = node->as_string()) {
        if (const std::optional<std::int32_t> value = names.Find(text->get())) {
            out = *value;
            return true;
        }
    }
    std::string given;
    if (const auto* text = node->as_string()) given = ", not " + Quoted(text->get());
    if (const auto* number = node->as_integer()) given = ", not " + std::to_string(number->get());
    ReportType(key, "one of " + names.List() + " (or its number " + std::to_string(lowest) + ".." +
                        std::to_string(highest) + ")" + given);
    return false;
}

bool SourceTable::Font(std::string_view key, FontSpec& out, ColorRef* color) {
    std::optional<SourceTable> font = Table(key);
    if (!font) return false;
    FontSpec read = out;
    font->Text("name", read.name);
    font->Integer("size", read.size, kMinFontPoints, kMaxFontPoints);
    font->Flag("bold", read.style.bold);
    font->Flag("italic", read.style.italic);
    font->Flag("underline", read.style.underline);
    if (color != nullptr) font->WholeColor("color", *color);
    font->ReportUnknownKeys();
    out = read;
    return true;
}

const toml::array* SourceTable::Array(std::string_view key) {
    const toml::node* node = Take(key);
    if (node == nullptr) return nullptr;
    if (node->as_array() == nullptr) ReportType(key, "a list in square brackets: [\"a\", \"b\"]");
    return node->as_array();
}

std::optional<SourceTable> SourceTable::Table(std::string_view key) {
    const toml::node* node = Take(key);
    if (node == nullptr) return std::nullopt;
    if (node->as_table() == nullptr) {
        ReportType(key, "a table: [" + Qualified(key) +
                            "] on a line of its own with its keys below, or { key = value, ... }");
        return std::nullopt;
    }
    SourceTable nested(*node->as_table(), file_, Qualified(key) + ".");
    nested.scope_ = scope_;
    nested.SetCodePage(codePage_);
    return nested;
}

void SourceTable::ReportUnknownKeys() const {
    const std::vector<std::string> known(known_.begin(), known_.end());
    for (auto&& [key, node] : table_) {
        if (known_.count(key.str()) > 0) continue;
        std::string message = "unknown key " + Quoted(Qualified(key.str()));
        const std::string above = scope_ + std::string(key.str());
        if (!prefix_.empty() && FindMenuKey(above) != nullptr) {
            // A key written after a table's header belongs to that table.
            const std::string table = scope_ + prefix_.substr(0, prefix_.size() - 1);
            message += ": " + KeyInMessage(above, key.str()) + " belongs above [" + table +
                       "]; write it before that line";
        } else if (const std::optional<std::string> meant = ClosestName(key.str(), known)) {
            message += "; did you mean " + Named(*meant) + "?";
        } else {
            message += ": no setting has this name here; check its spelling, or remove it";
        }
        file_.Report(static_cast<std::int64_t>(key.source().begin.line), std::move(message));
    }
}

}  // namespace ambrevo::pack
