#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack::testing {

// A fresh temporary folder for source files and pictures, removed with its contents.
class SourceFolder {
public:
    SourceFolder();
    ~SourceFolder();
    SourceFolder(const SourceFolder&) = delete;
    SourceFolder& operator=(const SourceFolder&) = delete;

    std::filesystem::path Path(std::string_view name) const;
    std::filesystem::path Write(std::string_view name, std::string_view text) const;
    // A PNG of 0xAARRGGBB pixels, row by row.
    std::filesystem::path WritePng(std::string_view name, int width, int height,
                                   const std::vector<std::uint32_t>& argb) const;
    // A PNG of one opaque colour 0x00RRGGBB.
    std::filesystem::path WritePng(std::string_view name, int width, int height,
                                   std::uint32_t rgb) const;

private:
    std::filesystem::path root_;
};

}  // namespace ambrevo::pack::testing
