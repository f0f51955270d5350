#include "pack/text/toml_problems.h"

#include <array>

#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

// The parser's messages by a part of their text, the most particular first.
struct KnownProblem {
    std::string_view part;
    std::string_view plain;
};

constexpr std::array<KnownProblem, 20> kKnownProblems = {{
    {"control characters other than TAB",
     "a text here holds a line break or control character; end the text with its quote on "
     "the same line, or write a line break as \\n inside \"...\""},
    {"parsing string: encountered end-of-file",
     "a text is not closed: end it with \" on the same line"},
    {"parsing literal string: encountered end-of-file",
     "a text is not closed: end it with ' on the same line"},
    {"unknown escape sequence",
     "a \"\\\" inside \"...\" starts an escape such as \\n; write \\\\ for a backslash, or put "
     "the text in single quotes: 'C:\\folder'"},
    {"could not determine value type",
     "this value is not understood: write a text in double quotes (\"My menu\"), a switch as "
     "true or false, a number in digits"},
    {"cannot redefine existing table",
     "this table is written twice; write its header once, with all its keys below it"},
    {"dotted key-value pair",
     "a key here is also written as a table (\"a = ...\" and \"a.b = ...\"); keep one of them"},
    {"cannot redefine existing", "this key is given twice in its table; keep one of them"},
    {"dangling comma", "a table in { } must not end with a comma before the }"},
    {"parsing inline table",
     "a table in { } must be on one line, its keys separated by commas: "
     "{ name = \"Tahoma\", size = 8 }"},
    {"parsing array",
     "a list is not written right: values in [ ] separated by commas, such as [10, 20]"},
    {"parsing table header", "a table header must be one name in brackets: [description]"},
    {"parsing boolean", "a switch is written true or false, in small letters, without quotes"},
    {"expected value, saw '#'",
     "the value after \"=\" is missing; a colour needs quotes: \"#FF0000\""},
    {"expected value", "the value after \"=\" is missing"},
    {"expected '='",
     "a key must be followed by \"=\" and its value, such as title = \"My menu\"; a key has no "
     "spaces"},
    {"expected a comment or whitespace",
     "something follows the value on this line: write one key = value per line, a text in "
     "one pair of quotes, a number without commas or spaces"},
    {"leading zeroes", "a number must not start with 0: write 8, not 08"},
    {"invalid utf-8", "the file is not UTF-8 text: save it as UTF-8 in the text editor"},
    {"expected keys, tables, whitespace or comments",
     "this line is none of key = value, a [table] header or a comment after #"},
}};

// The message on one line: its line breaks and the indentation after them become single
// spaces.
std::string OneLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

}  // namespace

std::string TomlProblem(std::string_view description) {
    const std::string line = OneLine(description);
    const std::string lowered = AsciiLower(line);
    for (const KnownProblem& known : kKnownProblems) {
        if (lowered.find(AsciiLower(known.part)) != std::string::npos) {
            return std::string(known.plain);
        }
    }
    return line;
}

}  // namespace ambrevo::pack
