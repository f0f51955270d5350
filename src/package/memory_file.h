#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace ambrevo {

// A ReadOnlyFile over bytes held in memory (the authoring tool, tests, benchmarks, fuzzing).
class MemoryFile : public ReadOnlyFile {
public:
    explicit MemoryFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
    explicit MemoryFile(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}

    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override;

private:
    std::vector<unsigned char> bytes_;
};

}  // namespace ambrevo
