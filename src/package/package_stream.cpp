#include "package/package_stream.h"

#include <algorithm>
#include <cstring>

namespace ambrevo {

namespace {
// Small reads (tags, numbers, short texts) are served from a window of the file;
// large reads (picture blocks) go straight to the caller's buffer.
constexpr std::size_t kBufferSize = 64 * 1024;
}  // namespace

PackageStream::PackageStream(std::unique_ptr<ReadOnlyFile> file)
    : file_(std::move(file)),
      memory_(file_->InMemory()),
      size_(memory_ ? static_cast<std::int64_t>(memory_->bytes.size())
                    : std::max<std::int64_t>(file_->Size(), 0)) {}

bool PackageStream::Seek(std::int64_t position) {
    if (position < 0 || position > size_) return false;
    position_ = position;
    return true;
}

bool PackageStream::Skip(std::int64_t count) {
    if (count < 0) return false;
    if (count > Remaining()) {
        position_ = size_;
        return false;
    }
    position_ += count;
    return true;
}

bool PackageStream::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<unsigned char*>(buffer);
    const auto wanted = static_cast<std::int64_t>(count);
    const std::int64_t available = std::min(wanted, Remaining());
    std::size_t copied = 0;

    const std::int64_t bufferEnd = bufferStart_ + static_cast<std::int64_t>(buffer_.size());
    if (available > 0 && memory_) {  // no window to fill: the bytes are at hand
        std::memcpy(out, memory_->bytes.data() + position_, static_cast<std::size_t>(available));
        copied = static_cast<std::size_t>(available);
    } else if (available > 0 && position_ >= bufferStart_ && position_ + available <= bufferEnd) {
        std::memcpy(out, buffer_.data() + (position_ - bufferStart_),
                    static_cast<std::size_t>(available));
        copied = static_cast<std::size_t>(available);
    } else if (available >= static_cast<std::int64_t>(kBufferSize)) {
        copied = file_->ReadAt(position_, out, static_cast<std::size_t>(available));
    } else if (available > 0) {
        buffer_.resize(
            static_cast<std::size_t>(std::min<std::int64_t>(kBufferSize, size_ - position_)));
        bufferStart_ = position_;
        buffer_.resize(file_->ReadAt(position_, buffer_.data(), buffer_.size()));
        copied = std::min(buffer_.size(), static_cast<std::size_t>(available));
        std::memcpy(out, buffer_.data(), copied);
    }

    position_ += static_cast<std::int64_t>(copied);
    if (copied < count) {
        std::memset(out + copied, 0, count - copied);
        position_ = size_;
        return false;
    }
    return true;
}

std::optional<BytesInMemory> PackageStream::TakeInMemory(std::size_t count) {
    if (!memory_ || count > static_cast<std::uint64_t>(Remaining())) return std::nullopt;
    BytesInMemory part{memory_->owner,
                       memory_->bytes.subspan(static_cast<std::size_t>(position_), count)};
    position_ += static_cast<std::int64_t>(count);
    return part;
}

}  // namespace ambrevo
