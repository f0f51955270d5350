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
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    if (!file || std::filesystem::is_directory(path, error)) {
        throw PackError("cannot read " + QuotedPath(path) + ": " + ReadFailure(path));
    }
    std::vector<std::uint8_t> bytes;
    char buffer[64 * 1024];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + file.gcount());
    }
    if (file.bad()) throw PackError("cannot read " + QuotedPath(path) + ": " + ReadFailure(path));
    return bytes;
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

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    const WriteChecks& checks) {
    try {
        if (const std::optional<std::string> refusal = ReplaceRefusal(path)) {
            throw ReplaceFault(*refusal);
        }
        TemporaryFile temporary(path);
        temporary.Write(bytes);
        if (checks.beforeReplacing) checks.beforeReplacing();
        temporary.PutInPlace(checks.createOnly);
    } catch (const ReplaceFault& fault) {
        throw PackError("cannot write " + QuotedPath(path) + ": " + fault.what());
    }
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text,
                   const WriteChecks& checks) {
    WriteFileBytes(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   checks);
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
