#pragma once

#include "platform/file_system.h"

namespace ambrevo::win32 {

// Files through the ANSI kernel calls: opened read-only and shared for reading, writing and
// deleting, so that other programs may use the file meanwhile.
class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override;
    // True for an existing file with any attributes; a folder is not a file.
    bool FileExists(const std::string& path) override;
};

}  // namespace ambrevo::win32
