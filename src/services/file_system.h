#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace ambrevo {

// Bytes that lie in memory, kept there as long as owner lives.
struct BytesInMemory {
    std::shared_ptr<const void> owner;
    std::span<const unsigned char> bytes;
};

// A file opened for reading at any offset.
class ReadOnlyFile {
public:
    virtual ~ReadOnlyFile() = default;
    virtual std::int64_t Size() const = 0;
    // Copies up to count bytes from offset into buffer; returns how many were copied
    // (fewer at the end of the file, 0 for an offset outside it).
    virtual std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) = 0;
    // The whole file where it lies in memory already (the browser's package, the authoring
    // tool's builds): readers may then take parts of it without copying. Nothing for a file
    // that is read from a disc.
    virtual std::optional<BytesInMemory> InMemory() const { return std::nullopt; }
};

// The files beside the program.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens read-only with no sharing restriction. Throws AppError
    // "Cannot open file \"<path>\". <reason>" when the file cannot be opened.
    virtual std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) = 0;
    // True when the file exists, whatever its attributes.
    virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace ambrevo
