#include "pack/editor/toml_source_edit.h"

#include <algorithm>
#include <map>

#include "pack/common/pack_error.h"
#include "pack/text/toml_text.h"

namespace ambrevo::pack {
namespace {

bool IsBareKeyChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void NoElement(std::string_view array, int element) {
    throw PackError("no element " + std::to_string(element) + " of \"" + std::string(array) + "\"");
}

// A key's part as written: bare when it may be, else quoted.
std::string KeyText(const std::string& part) {
    const bool bare = !part.empty() && std::all_of(part.begin(), part.end(), IsBareKeyChar);
    return bare ? part : TomlString(part);
}

// A dotted key as written, from its parts.
std::string DottedKey(const std::vector<std::string>& parts) {
    std::string key;
    for (const std::string& part : parts) key += (key.empty() ? "" : ".") + KeyText(part);
    return key;
}

// A key's parts joined by ".", as a statement's name is compared.
std::string Joined(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : ".") + part;
    return joined;
}

// Reads the statements of a TOML text: where each begins and ends, its key or table name,
// and where a key's value lies. It follows strings, arrays and inline tables over lines;
// it leaves the values' meaning to the TOML parser.
class Scanner {
public:
    explicit Scanner(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    std::size_t Pos() const { return pos_; }
    char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }
    void SkipSpaces() {
        while (Peek() == ' ' || Peek() == '\t') ++pos_;
    }
    // The rest of a line: spaces, a comment, the line break.
    void LineEnd() {
        SkipSpaces();
        if (Peek() == '#') {
            while (!AtEnd() && Peek() != '\n') ++pos_;
        }
        if (Peek() == '\r') ++pos_;
        if (AtEnd()) return;
        if (Peek() != '\n') Fail("unexpected text after a value");
        ++pos_;
    }
    bool BlankLine() const {
        std::size_t at = pos_;
        while (at < text_.size() && (text_[at] == ' ' || text_[at] == '\t')) ++at;
        return at >= text_.size() || text_[at] == '\n' || text_[at] == '\r' || text_[at] == '#';
    }
    void SkipLine() {
        while (!AtEnd() && Peek() != '\n') ++pos_;
        if (!AtEnd()) ++pos_;
    }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++pos_;
    }

    // A dotted key's parts, unquoted.
    std::vector<std::string> Key() {
        std::vector<std::string> key;
        for (;;) {
            SkipSpaces();
            if (Peek() == '"' || Peek() == '\'') {
                key.push_back(QuotedKey());
            } else {
                const std::size_t begin = pos_;
                while (IsBareKeyChar(Peek())) ++pos_;
                if (pos_ == begin) Fail("expected a key");
                key.emplace_back(text_.substr(begin, pos_ - begin));
            }
            SkipSpaces();
            if (Peek() != '.') return key;
            ++pos_;
        }
    }

    // Moves past one value.
    void Value() {
        const char c = Peek();
        if (c == '"' || c == '\'') return String(c);
        if (c == '[') return Array();
        if (c == '{') return InlineTable();
        const std::size_t begin = pos_;
        while (!AtEnd() && std::string_view(" \t\r\n,]}#").find(Peek()) == std::string_view::npos) {
            ++pos_;
        }
        if (pos_ == begin) Fail("expected a value");
        // A date and time may be written with a space between them.
        const std::string_view scalar = text_.substr(begin, pos_ - begin);
        if (scalar.size() == 10 && scalar[4] == '-' && scalar[7] == '-' && Peek() == ' ' &&
            IsDigit(Peek(1))) {
            ++pos_;
            while (!AtEnd() &&
                   std::string_view(" \t\r\n,]}#").find(Peek()) == std::string_view::npos) {
                ++pos_;
            }
        }
    }

    // Where an array's last value ends, the comma after it, and its ']'.
    struct ArrayShape {
        std::size_t lastEnd = std::string_view::npos;  // npos: an empty array
        std::size_t comma = std::string_view::npos;    // npos: none after the last value
        std::size_t close = 0;
    };
    // Moves past the array that begins here, telling its shape.
    ArrayShape Shape() {
        ArrayShape shape;
        Expect('[');
        for (;;) {
            SkipBlank();
            if (Peek() == ']') break;
            Value();
            shape.lastEnd = pos_;
            shape.comma = std::string_view::npos;
            SkipBlank();
            if (Peek() == ',') {
                shape.comma = pos_++;
            } else if (Peek() != ']') {
                Fail("expected ',' or ']'");
            }
        }
        shape.close = pos_++;
        return shape;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        std::size_t line = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
        throw PackError("line " + std::to_string(line) + ": " + what);
    }

private:
    std::string QuotedKey() {
        const char quote = Peek();
        std::string key;
        ++pos_;
        while (Peek() != quote) {
            if (AtEnd() || Peek() == '\n') Fail("unterminated key");
            if (quote == '"' && Peek() == '\\') ++pos_;
            key += Peek();
            ++pos_;
        }
        ++pos_;
        return key;
    }

    void String(char quote) {
        const bool multiline = Peek(1) == quote && Peek(2) == quote;
        pos_ += multiline ? 3 : 1;
        for (;;) {
            if (AtEnd()) Fail("unterminated string");
            const char c = Peek();
            if (c == '\\' && quote == '"') {
                pos_ += 2;
            } else if (c == quote && (!multiline || (Peek(1) == quote && Peek(2) == quote))) {
                pos_ += multiline ? 3 : 1;
                // Up to two more quotes belong to the string's text.
                for (int extra = 0; multiline && extra < 2 && Peek() == quote; ++extra) ++pos_;
                return;
            } else if (c == '\n' && !multiline) {
                Fail("unterminated string");
            } else {
                ++pos_;
            }
        }
    }

    // Spaces, line breaks and comments between the values of an array.
    void SkipBlank() {
        for (;;) {
            SkipSpaces();
            if (Peek() == '#') {
                while (!AtEnd() && Peek() != '\n') ++pos_;
            } else if (Peek() == '\n' || Peek() == '\r') {
                ++pos_;
            } else {
                return;
            }
        }
    }

    void Array() {
        ++pos_;
        for (;;) {
            SkipBlank();
            if (Peek() == ']') break;
            Value();
            SkipBlank();
            if (Peek() == ',') {
                ++pos_;
            } else if (Peek() != ']') {
                Fail("expected ',' or ']'");
            }
        }
        ++pos_;
    }

    void InlineTable() {
        ++pos_;
        for (;;) {
            SkipBlank();
            if (Peek() == '}') break;
            Key();
            Expect('=');
            SkipSpaces();
            Value();
            SkipBlank();
            if (Peek() == ',') {
                ++pos_;
            } else if (Peek() != '}') {
                Fail("expected ',' or '}'");
            }
        }
        ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

// A key and its value, over one line or more.
struct TomlSourceEdit::Statement {
    std::string name;  // the key as written, its parts joined by "."
    std::size_t begin = 0;
    std::size_t end = 0;  // past its line break
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

// A table: its header (none for the root) and its keys.
struct TomlSourceEdit::Section {
    TomlTable table;
    std::string array;            // for an element's own header: the array's name
    std::size_t leadBegin = 0;    // past the statement of content before its header
    std::size_t headerBegin = 0;  // where its header's line begins
    std::size_t headerEnd = 0;    // past the header's line; 0 for the root
    std::size_t contentEnd = 0;   // past its last key (or its header)
    std::vector<Statement> keys;
};

struct TomlSourceEdit::Index {
    std::vector<Section> sections;  // the root first
    std::string lineBreak = "\n";

    const Section* Find(const TomlTable& table) const {
        for (const Section& section : sections) {
            if (section.table == table) return &section;
        }
        return nullptr;
    }
    // The sections of one array element: its own and its sub-tables, in order.
    std::pair<std::size_t, std::size_t> Element(std::string_view array, int element) const {
        const TomlElement wanted{std::string(array), element};
        for (std::size_t first = 0; first < sections.size(); ++first) {
            if (sections[first].table != TomlTable{wanted, {}}) continue;
            std::size_t last = first;
            while (last + 1 < sections.size() && sections[last + 1].table.element == wanted) {
                ++last;
            }
            return {first, last};
        }
        NoElement(array, element);
    }
    int Count(std::string_view array) const {
        int count = 0;
        for (const Section& section : sections) count += section.array == array;
        return count;
    }
};

TomlSourceEdit::TomlSourceEdit(std::string text) : text_(std::move(text)) { Scan(); }

TomlSourceEdit::Index TomlSourceEdit::Scan() const {
    Index index;
    if (text_.find("\r\n") != std::string::npos) index.lineBreak = "\r\n";
    index.sections.push_back({});
    std::map<std::string, int> elements;    // arrays of tables: elements seen so far
    std::vector<std::string> currentArray;  // the array whose element headers come last
    std::size_t lastContent = 0;
    Scanner scan(text_);
    while (!scan.AtEnd()) {
        const std::size_t begin = scan.Pos();
        if (scan.BlankLine()) {
            scan.SkipLine();
            continue;
        }
        scan.SkipSpaces();
        if (scan.Peek() == '[') {
            const bool array = scan.Peek(1) == '[';
            scan.Expect('[');
            if (array) scan.Expect('[');
            const std::vector<std::string> name = scan.Key();
            scan.Expect(']');
            if (array) scan.Expect(']');
            scan.LineEnd();
            Section section;
            section.leadBegin = lastContent;
            section.headerBegin = begin;
            section.headerEnd = section.contentEnd = scan.Pos();
            if (array) {
                section.array = Joined(name);
                section.table.element = TomlElement{section.array, elements[section.array]++};
                currentArray = name;
            } else if (!currentArray.empty() && name.size() > currentArray.size() &&
                       std::equal(currentArray.begin(), currentArray.end(), name.begin())) {
                const std::string array = Joined(currentArray);
                section.table.element = TomlElement{array, elements[array] - 1};
                section.table.keys.assign(name.begin() + currentArray.size(), name.end());
            } else {
                section.table.keys = name;
            }
            index.sections.push_back(std::move(section));
        } else {
            Statement statement;
            statement.begin = begin;
            statement.name = Joined(scan.Key());
            scan.Expect('=');
            scan.SkipSpaces();
            statement.valueBegin = scan.Pos();
            scan.Value();
            statement.valueEnd = scan.Pos();
            scan.LineEnd();
            statement.end = scan.Pos();
            index.sections.back().contentEnd = statement.end;
            index.sections.back().keys.push_back(std::move(statement));
        }
        lastContent = scan.Pos();
    }
    return index;
}

void TomlSourceEdit::Replace(std::size_t begin, std::size_t end, std::string_view with) {
    text_.replace(begin, end - begin, with);
}

void TomlSourceEdit::Set(const TomlTable& table, std::string_view key, std::string_view value) {
    const Index index = Scan();
    const std::string& br = index.lineBreak;
    const std::string line = KeyText(std::string(key)) + " = " + std::string(value) + br;
    const Section* section = index.Find(table);
    if (!section) {
        if (table.element) {
            // A sub-table of an array element: added at the element's end.
            const std::size_t last =
                index.Element(table.element->array, table.element->index).second;
            text_.insert(
                index.sections[last].contentEnd,
                "[" + table.element->array + "." + DottedKey(table.keys) + "]" + br + line);
            return;
        }
        // A table of its own: before the first array of tables, else at the end.
        const std::string added = br + "[" + DottedKey(table.keys) + "]" + br + line;
        for (const Section& other : index.sections) {
            if (other.array.empty()) continue;
            text_.insert(other.leadBegin, added);
            return;
        }
        if (!text_.empty() && text_.back() != '\n') text_ += br;
        text_ += added;
        return;
    }
    for (const Statement& statement : section->keys) {
        if (statement.name == key) {
            Replace(statement.valueBegin, statement.valueEnd, value);
            return;
        }
    }
    // Dotted keys under this one give way to the whole value, where the first of them was.
    const std::string prefix = std::string(key) + ".";
    std::size_t at = std::string::npos;
    for (auto statement = section->keys.rbegin(); statement != section->keys.rend(); ++statement) {
        if (!statement->name.starts_with(prefix)) continue;
        Replace(statement->begin, statement->end, "");
        at = statement->begin;
    }
    if (at != std::string::npos) {
        text_.insert(at, line);
        return;
    }
    if (section->keys.empty()) {
        text_.insert(section->headerEnd, line);
        return;
    }
    const Statement& last = section->keys.back();
    const std::size_t indent = text_.find_first_not_of(" \t", last.begin) - last.begin;
    text_.insert(last.end, text_.substr(last.begin, indent) + line);
}

void TomlSourceEdit::Append(const TomlTable& table, std::string_view key, std::string_view value) {
    const Index index = Scan();
    const Section* section = index.Find(table);
    const Statement* statement = nullptr;
    for (std::size_t k = 0; section && k < section->keys.size(); ++k) {
        if (section->keys[k].name == key) statement = &section->keys[k];
    }
    if (!statement) {
        Set(table, key, "[" + std::string(value) + "]");
        return;
    }
    if (text_[statement->valueBegin] != '[') {
        throw PackError("\"" + std::string(key) + "\" is not an array");
    }
    const Scanner::ArrayShape shape = Scanner(text_, statement->valueBegin).Shape();
    const std::string element(value);
    if (shape.lastEnd == std::string::npos) {
        Replace(shape.close, shape.close, element);
        return;
    }
    if (text_.find('\n', statement->valueBegin) > shape.close) {  // all on one line
        Replace(shape.lastEnd, shape.lastEnd, ", " + element);
        return;
    }
    // One value a line: the new one on a line of its own after the last, indented as it is
    // and ending as it does, the last one's comment staying on its line.
    const std::string& br = index.lineBreak;
    const std::size_t lineBegin = text_.rfind('\n', shape.lastEnd) + 1;
    const std::string indent =
        text_.substr(lineBegin, text_.find_first_not_of(" \t", lineBegin) - lineBegin);
    std::size_t lineEnd = text_.find('\n', shape.lastEnd);
    if (lineEnd > shape.close) {  // the ']' follows the last value on its line
        Replace(shape.lastEnd, shape.lastEnd, "," + br + indent + element);
        return;
    }
    if (lineEnd > 0 && text_[lineEnd - 1] == '\r') --lineEnd;
    const bool trailingComma = shape.comma != std::string::npos;
    Replace(lineEnd, lineEnd, br + indent + element + (trailingComma ? "," : ""));
    if (!trailingComma) Replace(shape.lastEnd, shape.lastEnd, ",");
}

void TomlSourceEdit::Remove(const TomlTable& table, std::string_view key) {
    const Index index = Scan();
    const Section* section = index.Find(table);
    if (!section) return;
    const std::string prefix = std::string(key) + ".";
    for (auto statement = section->keys.rbegin(); statement != section->keys.rend(); ++statement) {
        if (statement->name == key || statement->name.starts_with(prefix)) {
            Replace(statement->begin, statement->end, "");
        }
    }
}

int TomlSourceEdit::Count(std::string_view array) const { return Scan().Count(array); }

int TomlSourceEdit::Add(std::string_view array, const std::vector<TomlKeyValue>& keys) {
    const Index index = Scan();
    const std::string& br = index.lineBreak;
    std::string added = br + "[[" + std::string(array) + "]]" + br;
    for (const auto& [key, value] : keys) added += KeyText(key) + " = " + value + br;
    const int count = index.Count(array);
    if (count == 0) {
        if (!text_.empty() && text_.back() != '\n') text_ += br;
        text_ += added;
    } else {
        const auto [first, last] = index.Element(array, count - 1);
        text_.insert(index.sections[last].contentEnd, added);
    }
    return count;
}

void TomlSourceEdit::RemoveElement(std::string_view array, int element) {
    const Index index = Scan();
    const auto [first, last] = index.Element(array, element);
    Replace(index.sections[first].leadBegin, index.sections[last].contentEnd, "");
}

int TomlSourceEdit::DuplicateElement(std::string_view array, int element) {
    const Index index = Scan();
    const auto [first, last] = index.Element(array, element);
    const std::size_t end = index.sections[last].contentEnd;
    std::string copy =
        text_.substr(index.sections[first].headerBegin, end - index.sections[first].headerBegin);
    const bool ended = end > 0 && text_[end - 1] == '\n';
    if (!ended) copy += index.lineBreak;
    text_.insert(end, (ended ? "" : index.lineBreak) + index.lineBreak + copy);
    return element + 1;
}

void TomlSourceEdit::MoveElement(std::string_view array, int from, int to) {
    const Index before = Scan();
    const int count = before.Count(array);
    if (to < 0 || to >= count) NoElement(array, to);
    if (from == to) return;
    const auto [first, last] = before.Element(array, from);
    const std::size_t begin = before.sections[first].leadBegin;
    const std::size_t end = before.sections[last].contentEnd;
    const std::string block = text_.substr(begin, end - begin);
    Replace(begin, end, "");
    const Index after = Scan();
    if (to < count - 1) {
        text_.insert(after.sections[after.Element(array, to).first].leadBegin, block);
    } else {
        text_.insert(after.sections[after.Element(array, count - 2).second].contentEnd, block);
    }
}

}  // namespace ambrevo::pack
