#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "services/file_system.h"

namespace ambrevo {

// A ReadOnlyFile over bytes held in memory (the browser's disc, the authoring tool, tests,
// benchmarks, fuzzing). Files opened on the same shared bytes copy nothing, and readers
// may take parts of them in place.
class MemoryFile : public ReadOnlyFile {
public:
    explicit MemoryFile(BytesInMemory bytes) : memory_(std::move(bytes)) {}
    explicit MemoryFile(std::shared_ptr<const std::string> bytes);
    explicit MemoryFile(std::string bytes)
        : MemoryFile(std::make_shared<const std::string>(std::move(bytes))) {}
    explicit MemoryFile(const std::vector<unsigned char>& bytes)
        : MemoryFile(std::string(bytes.begin(), bytes.end())) {}

    std::int64_t Size() const override { return static_cast<std::int64_t>(memory_.bytes.size()); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override;
    std::optional<BytesInMemory> InMemory() const override { return memory_; }

private:
    BytesInMemory memory_;
};

}  // namespace ambrevo
