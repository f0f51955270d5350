#include "pack/common/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

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

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".part";
    errno = 0;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (file) {
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            file.close();
        }
        if (!file) {
            const std::string reason = errno != 0 ? std::strerror(errno) : "write error";
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw PackError("cannot write " + QuotedPath(path) + ": " + reason);
        }
    }
    // A file written again keeps its permissions: an author's source stays as they set it.
    std::error_code error;
    const std::filesystem::file_status earlier = std::filesystem::status(path, error);
    if (!error && std::filesystem::exists(earlier)) {
        std::filesystem::permissions(temporary, earlier.permissions(), error);
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw PackError("cannot write " + QuotedPath(path) + ": " + error.message());
    }
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
    WriteFileBytes(path,
                   std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
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

std::string QuotedPath(const std::filesystem::path& path) {
    return "\"" + PathToUtf8(path) + "\"";
}

}  // namespace ambrevo::pack
