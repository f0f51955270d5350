#pragma once

#include <optional>
#include <string>

namespace ambrevo {

// The texts of a program file's version resource, in its first listed language.
struct FileVersionInfo {
    std::string productName;
    std::string productVersion;
    std::string fileVersion;
    std::string fileDescription;
};

// Reads the version resource of program files.
class VersionInfoReader {
public:
    virtual ~VersionInfoReader() = default;
    // Nothing when the file has no readable version resource.
    virtual std::optional<FileVersionInfo> Read(const std::string& path) = 0;
};

}  // namespace ambrevo
