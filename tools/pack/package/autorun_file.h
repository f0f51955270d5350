#pragma once

#include <optional>
#include <string>

namespace ambrevo::pack {

// What the autorun.inf beside a disc's program says, as UTF-8 texts.
struct AutorunTexts {
    std::string label;                  // the disc's name in Windows
    std::optional<std::string> action;  // AutoPlay's text for running the program
};

// The autorun.inf (Windows-1252, CRLF lines) that opens programName, shows its icon, and
// names the disc with the label; the action defaults to "Run <label>". Throws PackError
// when a text is empty, holds a line break or another control character, or holds a
// character that Windows-1252 lacks, and when the program name holds a space.
std::string AutorunInf(const std::string& programName, const AutorunTexts& texts);

// The autorun.inf of a USB stick, where Windows runs nothing: only the drive's icon (the
// program's, whose name may hold spaces) and its label. Throws as AutorunInf does.
std::string DriveAutorunInf(const std::string& programName, const std::string& label);

}  // namespace ambrevo::pack
