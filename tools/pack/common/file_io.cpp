#include "pack/common/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "pack/common/file_replace.h"
#include "pack/common/pack_error.h"

namespace ambrevo::pack {
namespace {

constexpr std::size_t kPiece = 256 * 1024;  // what a read or a copy holds at once

std::string ReadFailure(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return "no such file";
    if (std::filesystem::is_directory(path, error)) return "it is a folder";
    return errno != 0 ? std::strerror(errno) : "read error";
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    ReadFilePieces(path, [&](std::span<const std::uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    });
    return bytes;
}

void ReadFilePieces(const std::filesystem::path& path,
                    const std::function<void(std::span<const std::uint8_t>)>& piece) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    if (!file || std::filesystem::is_directory(path, error)) {
        throw PackError("cannot read " + QuotedPath(path) + ": " + ReadFailure(path));
    }
    std::vector<char> buffer(kPiece);
    while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
           file.gcount() > 0) {
        piece(std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()),
                        static_cast<std::size_t>(file.gcount())));
    }
    if (file.bad()) throw PackError("cannot read " + QuotedPath(path) + ": " + ReadFailure(path));
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::random_device random;
    std::uint64_t bits = (std::uint64_t{random()} << 32) | random();
    std::string suffix;
    for (int digit = 0; digit < 16; ++digit, bits >>= 4) suffix += kDigits[bits & 15];
    return target.parent_path() /
           PathFromUtf8("." + PathToUtf8(target.filename()) + ".part-" + suffix);
}

FileWriter::FileWriter(std::filesystem::path path) : path_(std::move(path)) {
    Guarded([&] {
        if (const std::optional<std::string> refusal = ReplaceRefusal(path_)) {
            throw ReplaceFault(*refusal);
        }
        temporary_ = std::make_unique<TemporaryFile>(path_);
    });
}

FileWriter::~FileWriter() = default;

template <typename Step>
void FileWriter::Guarded(const Step& step) {
    try {
        step();
    } catch (const ReplaceFault& fault) {
        temporary_.reset();  // a failed file is never put in place
        throw PackError("cannot write " + QuotedPath(path_) + ": " + fault.what());
    }
}

void FileWriter::CheckWithin(std::uint64_t offset, std::size_t size) const {
    if (!temporary_) {
        throw PackError("cannot write " + QuotedPath(path_) + ": it is no longer open");
    }
    if (offset > size_ || size > size_ - offset) {
        throw PackError("cannot write " + QuotedPath(path_) + ": " + std::to_string(size) +
                        " bytes at " + std::to_string(offset) + " lie past the " +
                        std::to_string(size_) + " written");
    }
}

void FileWriter::Write(std::span<const std::uint8_t> bytes) {
    CheckWithin(size_, 0);
    Guarded([&] { temporary_->WriteAt(size_, bytes); });
    size_ += bytes.size();
}

void FileWriter::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    CheckWithin(offset, into.size());
    Guarded([&] { temporary_->ReadAt(offset, into); });
}

void FileWriter::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    CheckWithin(offset, bytes.size());
    Guarded([&] { temporary_->WriteAt(offset, bytes); });
}

void FileWriter::Commit(const WriteChecks& checks) {
    CheckWithin(size_, 0);
    Guarded([&] {
        temporary_->Finish();
        if (checks.beforeReplacing) checks.beforeReplacing();
        temporary_->PutInPlace(checks.createOnly);
    });
    temporary_.reset();
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    const WriteChecks& checks) {
    FileWriter file(path);
    file.Write(bytes);
    file.Commit(checks);
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text,
                   const WriteChecks& checks) {
    WriteFileBytes(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   checks);
}

std::uint64_t CopyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to) {
    FileWriter file(to);
    ReadFilePieces(from, [&](std::span<const std::uint8_t> piece) { file.Write(piece); });
    file.Commit();
    return file.Size();
}

FileStamp StampOf(const std::filesystem::path& file) {
    std::error_code error;
    FileStamp stamp;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error) {
        stamp.time = std::filesystem::last_write_time(file, error);
        stamp.exists = !error;
        stamp.size = stamp.exists ? size : 0;
    }
    return stamp;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

void MakeFolderFor(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    if (folder.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw PackError("cannot make the folder \"" + PathToUtf8(folder) +
                        "\": " + error.message());
    }
}

std::string QuotedPath(const std::filesystem::path& path) { return "\"" + PathToUtf8(path) + "\""; }

RemovedFolder::~RemovedFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace ambrevo::pack
