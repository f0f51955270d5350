#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ambrevo {

// What a directory entry is.
struct FileAttributes {
    bool directory = false;
    bool hidden = false;
    bool system = false;
    bool reparsePoint = false;  // a junction or symbolic link
};

// One entry of a folder listing: its name without folder.
struct FolderEntry {
    std::string name;
    FileAttributes attributes;
};

// Looks at folders and their entries, for the search of moved targets and the files
// beside the program.
class FileFinder {
public:
    virtual ~FileFinder() = default;
    // The attributes of the entry at path (file or folder); nothing when there is none.
    virtual std::optional<FileAttributes> Attributes(const std::string& path) = 0;
    // Calls visit for every entry matching pattern (a folder followed by a name pattern
    // with "*" and "?", as in "E:\docs\*.*"; "*.*" matches every name), "." and ".."
    // included, hidden and system entries included, in the order the file system gives
    // them, until visit returns false. False when the listing cannot be started.
    virtual bool ListFolder(const std::string& pattern,
                            const std::function<bool(const FolderEntry&)>& visit) = 0;
};

// A plain file: not a folder, not hidden, not system.
inline bool IsPlainFile(const std::optional<FileAttributes>& attributes) {
    return attributes && !attributes->directory && !attributes->hidden && !attributes->system;
}

}  // namespace ambrevo
