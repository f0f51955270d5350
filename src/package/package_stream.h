#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "services/file_system.h"

namespace ambrevo {

// The read-only, positioned byte stream from which every package value is read.
// Reads are buffered; a read past the end delivers what there is and reports it.
class PackageStream {
public:
    explicit PackageStream(std::unique_ptr<ReadOnlyFile> file);

    std::int64_t Size() const { return size_; }
    std::int64_t Position() const { return position_; }
    std::int64_t Remaining() const { return size_ - position_; }

    // Moves to position; false (and no move) when it lies outside 0..Size().
    bool Seek(std::int64_t position);

    // Reads exactly count bytes. When the stream ends first, copies what there is,
    // zero-fills the rest of buffer, stays at the end and returns false.
    bool Read(void* buffer, std::size_t count);

    // Skips count bytes; false (stopping at the end) when fewer remain.
    bool Skip(std::int64_t count);
    // The next count bytes in place, moving past them, where the file lies in memory;
    // nothing (and no move) for a file that is read, or when fewer than count remain.
    std::optional<BytesInMemory> TakeInMemory(std::size_t count);

private:
    std::unique_ptr<ReadOnlyFile> file_;
    std::optional<BytesInMemory> memory_;  // the whole file, where it lies in memory
    std::int64_t size_;
    std::int64_t position_ = 0;
    std::vector<unsigned char> buffer_;
    std::int64_t bufferStart_ = 0;  // file offset of buffer_[0]
};

}  // namespace ambrevo
