#include "package/memory_file.h"

#include <algorithm>
#include <cstring>

namespace ambrevo {

std::size_t MemoryFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) {
    if (offset < 0 || offset >= Size()) return 0;
    const auto start = static_cast<std::size_t>(offset);
    const std::size_t available = std::min(count, bytes_->size() - start);
    std::memcpy(buffer, bytes_->data() + start, available);
    return available;
}

}  // namespace ambrevo
