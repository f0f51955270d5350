#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ambrevo::pack {

// Paths are UTF-8 in sources, on the command line and in messages.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);
// The path in double quotes, as messages name files.
std::string QuotedPath(const std::filesystem::path& path);

// The whole file. Throws PackError "cannot read \"<path>\": <reason>".
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// What a write checks at its last moment.
struct WriteChecks {
    // Called once the new bytes are on the disk, right before they take the file's place;
    // whatever it throws leaves the file as it was and passes on.
    std::function<void()> beforeReplacing;
    // The file must not exist: it is created, and never replaces one made meanwhile.
    bool createOnly = false;
};

// Writes the whole file safely: the bytes go to a new temporary file of a fresh name in
// the same folder (never through a link), are flushed to the disk, get the permissions of
// the file they replace and are renamed over it. A failure leaves any earlier file as it
// was and no temporary file. A link, a folder or a read-only file is refused, not
// replaced. Throws PackError "cannot write \"<path>\": <reason>".
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    const WriteChecks& checks = {});
void WriteTextFile(const std::filesystem::path& path, std::string_view text,
                   const WriteChecks& checks = {});

// What a look at a file sees: whether it exists, its size and modification time.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};

    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::filesystem::path& file);

// Whether both paths lead to one existing file.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Makes the folder that file is to be written into, and the folders above it, when missing.
// Throws PackError when it cannot.
void MakeFolderFor(const std::filesystem::path& file);

// A folder removed, with everything in it, when this goes: one the tool fills for a while.
// Nothing is removed where the folder was moved away meanwhile.
class RemovedFolder {
public:
    explicit RemovedFolder(std::filesystem::path path) : path_(std::move(path)) {}
    ~RemovedFolder();
    RemovedFolder(const RemovedFolder&) = delete;
    RemovedFolder& operator=(const RemovedFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace ambrevo::pack
