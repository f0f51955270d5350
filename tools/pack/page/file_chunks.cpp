#include "pack/page/file_chunks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"

namespace ambrevo::pack {
namespace {

std::string Reason(std::string_view fallback) {
    return errno != 0 ? std::strerror(errno) : std::string(fallback);
}

}  // namespace

FileChunks::FileChunks(const std::filesystem::path& file) {
    errno = 0;
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        throw PackError("cannot read \"" + PathToUtf8(file) + "\": it is a folder");
    }
    stream_.open(file, std::ios::binary);
    size_ = std::filesystem::file_size(file, error);
    if (!stream_ || error) {
        throw PackError("cannot read \"" + PathToUtf8(file) +
                        "\": " + (error ? error.message() : Reason("read error")));
    }
}

std::string_view FileChunks::Read(std::uintmax_t offset, std::size_t length) {
    if (offset >= size_) return {};
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uintmax_t>({length, kChunkSize, size_ - offset}));
    buffer_.resize(count);
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(offset));
    stream_.read(buffer_.data(), static_cast<std::streamsize>(count));
    return std::string_view(buffer_.data(), static_cast<std::size_t>(stream_.gcount()));
}

void CopyInChunks(const std::filesystem::path& from, const std::filesystem::path& to) {
    FileChunks chunks(from);
    errno = 0;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    std::uintmax_t offset = 0;
    while (out && offset < chunks.Size()) {
        errno = 0;
        const std::string_view piece = chunks.Read(offset, FileChunks::kChunkSize);
        if (piece.empty()) {
            throw PackError("cannot read \"" + PathToUtf8(from) +
                            "\": " + Reason("it grew shorter while it was copied"));
        }
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        offset += piece.size();
    }
    out.close();
    if (!out) throw PackError("cannot write \"" + PathToUtf8(to) + "\": " + Reason("write error"));
}

}  // namespace ambrevo::pack
