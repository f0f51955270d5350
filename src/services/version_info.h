#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ambrevo {

// The first two parts of a file version, as the fixed part of a version resource holds it.
struct FixedFileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    bool operator==(const FixedFileVersion&) const = default;
};

// A program file's version resource. The texts come from the first language its translation
// table lists; they are empty when the value is absent or the resource has no translation
// table.
struct FileVersionInfo {
    std::string productName;
    std::string productVersion;
    std::string fileVersion;
    std::string fileDescription;
    std::optional<FixedFileVersion> fixedVersion;  // nothing when the fixed part is missing
};

// Reads the version resource of program files.
class VersionInfoReader {
public:
    virtual ~VersionInfoReader() = default;
    // Nothing when the file has no readable version resource.
    virtual std::optional<FileVersionInfo> Read(const std::string& path) = 0;
};

}  // namespace ambrevo
