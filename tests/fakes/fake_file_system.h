#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "services/file_finder.h"
#include "services/file_system.h"

namespace ambrevo::testing {

// Files and folders held in memory. Paths are Windows paths ("E:\docs\a.pdf") matched in
// any letter case; adding an entry adds its enclosing folders. Listings give "." and ".."
// first (except in a drive's root), then the entries in the order they were added.
// Records which paths were opened and which folders were listed.
class FakeFileSystem : public FileSystem, public FileFinder {
public:
    void AddFile(const std::string& path, std::string bytes, FileAttributes attributes = {});
    void AddFile(const std::string& path, const std::vector<unsigned char>& bytes) {
        AddFile(path, std::string(bytes.begin(), bytes.end()));
    }
    // path with or without its trailing backslash.
    void AddFolder(const std::string& path, FileAttributes attributes = {});
    // The folder's listing cannot be started (access denied, unreadable disc).
    void MakeUnreadable(const std::string& folder);
    // The file's byte at offset cannot be read, as on a scratched disc: every read that
    // covers it throws.
    void BreakFileAt(const std::string& path, std::int64_t offset);
    void Remove(const std::string& path);

    // FileSystem
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override;
    bool FileExists(const std::string& path) override;

    // FileFinder
    std::optional<FileAttributes> Attributes(const std::string& path) override;
    bool ListFolder(const std::string& pattern,
                    const std::function<bool(const FolderEntry&)>& visit) override;

    std::vector<std::string> opened;
    std::vector<std::string> listed;  // the patterns asked for, in order

private:
    struct Entry {
        std::string name;  // as added, without folder
        FileAttributes attributes;
        std::shared_ptr<const std::string> bytes;  // files only
        std::int64_t broken = -1;                  // see BreakFileAt
    };
    // Adds the entry at key (lower-case path, no trailing backslash) and its folders.
    Entry& Insert(const std::string& path, FileAttributes attributes);

    std::map<std::string, Entry> entries_;                      // by lower-case path
    std::map<std::string, std::vector<std::string>> children_;  // folder key -> entry keys
    std::set<std::string> unreadable_;
};

}  // namespace ambrevo::testing
