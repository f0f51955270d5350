#include "package/memory_file.h"

#include <algorithm>
#include <cstring>

namespace ambrevo {

MemoryFile::MemoryFile(std::shared_ptr<const std::string> bytes)
    : memory_{bytes,
              std::span(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size())} {}

std::size_t MemoryFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) {
    if (offset < 0 || offset >= Size()) return 0;
    const auto start = static_cast<std::size_t>(offset);
    const std::size_t available = std::min(count, memory_.bytes.size() - start);
    std::memcpy(buffer, memory_.bytes.data() + start, available);
    return available;
}

}  // namespace ambrevo
