#include "pack/package/autorun_file.h"

#include <algorithm>

#include "pack/common/pack_error.h"
#include "pack/text/text_encoding.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {
namespace {

// One value of the file: a single line of Windows-1252 text.
std::string AnsiLine(const std::string& what, const std::string& utf8) {
    if (utf8.empty()) throw PackError("the autorun " + what + " is empty");
    const bool control = std::any_of(utf8.begin(), utf8.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (control) {
        throw PackError("the autorun " + what + " \"" + utf8 +
                        "\" holds a line break or another control character");
    }
    EncodedText converted = EncodeText(utf8, kWindows1252);
    if (converted.unencodable) {
        throw PackError("the autorun " + what + " \"" + utf8 + "\" holds " +
                        CodePointName(*converted.unencodable) +
                        ", which autorun.inf (Windows-1252) cannot hold");
    }
    return std::move(converted.bytes);
}

}  // namespace

std::string AutorunInf(const std::string& programName, const AutorunTexts& texts) {
    const std::string program = AnsiLine("program name", programName);
    // Windows reads the rest of the "open" line after a space as the program's parameters.
    if (program.find(' ') != std::string::npos) {
        throw PackError("the program name \"" + programName +
                        "\" holds a space, which autorun.inf cannot open; choose a name "
                        "without one");
    }
    const std::string label = AnsiLine("label", texts.label);
    const std::string action = texts.action ? AnsiLine("action", *texts.action) : "Run " + label;
    return "[autorun]\r\nopen=" + program + "\r\nicon=" + program + "\r\nlabel=" + label +
           "\r\naction=" + action + "\r\n";
}

std::string DriveAutorunInf(const std::string& programName, const std::string& label) {
    return "[autorun]\r\nicon=" + AnsiLine("program name", programName) +
           "\r\nlabel=" + AnsiLine("label", label) + "\r\n";
}

}  // namespace ambrevo::pack
