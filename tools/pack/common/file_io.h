#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
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
// The file a piece at a time, in order, each given to `piece` while the next is read;
// whatever `piece` throws passes on. Throws PackError as ReadFileBytes does.
void ReadFilePieces(const std::filesystem::path& path,
                    const std::function<void(std::span<const std::uint8_t>)>& piece);

// What a write checks at its last moment.
struct WriteChecks {
    // Called once the new bytes are on the disk, right before they take the file's place;
    // whatever it throws leaves the file as it was and passes on.
    std::function<void()> beforeReplacing;
    // The file must not exist: it is created, and never replaces one made meanwhile.
    bool createOnly = false;
};

class TemporaryFile;

// A file written safely a piece at a time: the pieces go to a new temporary file of a
// fresh name in the same folder (never through a link); Commit flushes it to the disk,
// gives it the permissions of the file it replaces and renames it over that. A writer
// dropped without Commit, or a failure, leaves any earlier file as it was and no temporary
// file. A link, a folder or a read-only file is refused, not replaced. Every failure
// throws PackError "cannot write \"<path>\": <reason>".
class FileWriter {
public:
    explicit FileWriter(std::filesystem::path path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Adds the bytes at the end.
    void Write(std::span<const std::uint8_t> bytes);
    std::uint64_t Size() const { return size_; }
    // Reads back or writes over bytes already written; reaching past Size() is refused.
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into);
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Puts the file in place; nothing may be written after.
    void Commit(const WriteChecks& checks = {});

private:
    template <typename Step>
    void Guarded(const Step& step);
    void CheckWithin(std::uint64_t offset, std::size_t size) const;

    std::filesystem::path path_;
    std::unique_ptr<TemporaryFile> temporary_;
    std::uint64_t size_ = 0;
};

// Writes the whole file safely, as a FileWriter of one piece.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    const WriteChecks& checks = {});
void WriteTextFile(const std::filesystem::path& path, std::string_view text,
                   const WriteChecks& checks = {});
// Copies a file safely, a piece at a time; gives its size.
std::uint64_t CopyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to);

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
