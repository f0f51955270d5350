#pragma once

#include "services/file_finder.h"
#include "services/file_system.h"

namespace ambrevo::win32 {

// Files through the ANSI kernel calls: opened read-only and shared for reading, writing and
// deleting, so that other programs may use the file meanwhile. Paths longer than the
// system's 260 characters fail as the ANSI calls fail them.
class Win32FileSystem : public FileSystem, public FileFinder {
public:
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override;
    // True for an existing file with any attributes; a folder is not a file.
    bool FileExists(const std::string& path) override;

    std::optional<FileAttributes> Attributes(const std::string& path) override;
    bool ListFolder(const std::string& pattern,
                    const std::function<bool(const FolderEntry&)>& visit) override;
};

}  // namespace ambrevo::win32
