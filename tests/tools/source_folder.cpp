#include "source_folder.h"

#include <stb/stb_image_write.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "pack/common/file_io.h"

namespace ambrevo::pack::testing {
namespace {

void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    out->insert(out->end(), static_cast<std::uint8_t*>(data),
                static_cast<std::uint8_t*>(data) + size);
}

}  // namespace

SourceFolder::SourceFolder() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("ambrevo-pack-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root_);
}

SourceFolder::~SourceFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path SourceFolder::Path(std::string_view name) const {
    return root_ / PathFromUtf8(name);
}

std::filesystem::path SourceFolder::Write(std::string_view name, std::string_view text) const {
    const std::filesystem::path path = Path(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    return path;
}

std::filesystem::path SourceFolder::WritePng(std::string_view name, int width, int height,
                                             const std::vector<std::uint32_t>& argb) const {
    std::vector<std::uint8_t> rgba;
    for (std::uint32_t pixel : argb) {
        rgba.push_back(static_cast<std::uint8_t>(pixel >> 16));
        rgba.push_back(static_cast<std::uint8_t>(pixel >> 8));
        rgba.push_back(static_cast<std::uint8_t>(pixel));
        rgba.push_back(static_cast<std::uint8_t>(pixel >> 24));
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(Append, &png, width, height, 4, rgba.data(), width * 4) == 0) {
        throw std::runtime_error("cannot encode a test PNG");
    }
    const std::filesystem::path path = Path(name);
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path, png);
    return path;
}

std::filesystem::path SourceFolder::WritePng(std::string_view name, int width, int height,
                                             std::uint32_t rgb) const {
    return WritePng(
        name, width, height,
        std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), 0xFF000000u | rgb));
}

}  // namespace ambrevo::pack::testing
