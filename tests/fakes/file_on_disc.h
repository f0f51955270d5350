#pragma once

#include <cstdint>
#include <string>

#include "package/memory_file.h"

namespace ambrevo::testing {

// Bytes read as a file on a disc is: a copy at a time, never taken in place.
class FileOnDisc : public ReadOnlyFile {
public:
    explicit FileOnDisc(const std::string& bytes) : file_(bytes) {}
    std::int64_t Size() const override { return file_.Size(); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override {
        return file_.ReadAt(offset, buffer, count);
    }

private:
    MemoryFile file_;
};

}  // namespace ambrevo::testing
