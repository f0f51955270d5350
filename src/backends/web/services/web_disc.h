#pragma once

#include <memory>
#include <string>
#include <vector>

#include "services/file_finder.h"
#include "services/file_system.h"

namespace ambrevo::web {

// Bytes the page wrote into memory it took from the player's malloc, owned from here on
// and freed when the last file over them goes.
BytesInMemory AdoptHostBytes(unsigned char* bytes, std::size_t size);

// The disc as the browser player sees it: drive D: holds the program file (the package the
// page fetched) and the files the page's files.json lists, which are fetched on demand.
class WebDisc : public FileSystem, public FileFinder {
public:
    static constexpr char kProgramPath[] = "D:\\setup.exe";

    // program: the package's bytes; files: UTF-8 paths relative to the disc, with "/" or
    // "\" between folders.
    WebDisc(BytesInMemory program, const std::vector<std::string>& files);

    // The listed file a path names, as files.json spells it, whatever the case of its
    // letters (as Windows finds it); nothing when the disc has no such file.
    std::optional<std::string> ListedName(const std::string& path) const;

    // FileSystem
    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    // FileFinder
    std::optional<FileAttributes> Attributes(const std::string& path) override;
    bool ListFolder(const std::string& pattern,
                    const std::function<bool(const FolderEntry&)>& visit) override;

private:
    struct Entry {
        std::string key;   // relative, letters in upper case, "/" between folders
        std::string name;  // relative, as listed, "/" between folders
    };
    // The key of a path on D:, "" for the root; nothing when path is not on the disc.
    static std::optional<std::string> KeyOf(const std::string& path);
    const Entry* Find(const std::string& path) const;
    bool IsFolder(const std::string& key) const;

    BytesInMemory program_;
    std::vector<Entry> files_;
};

}  // namespace ambrevo::web
