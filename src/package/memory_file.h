#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "services/file_system.h"

namespace ambrevo {

// A ReadOnlyFile over bytes held in memory (the authoring tool, tests, benchmarks,
// fuzzing). Files opened on the same shared bytes copy nothing.
class MemoryFile : public ReadOnlyFile {
public:
    explicit MemoryFile(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    explicit MemoryFile(std::string bytes)
        : bytes_(std::make_shared<const std::string>(std::move(bytes))) {}
    explicit MemoryFile(const std::vector<unsigned char>& bytes)
        : MemoryFile(std::string(bytes.begin(), bytes.end())) {}

    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_->size()); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override;

private:
    std::shared_ptr<const std::string> bytes_;
};

}  // namespace ambrevo
