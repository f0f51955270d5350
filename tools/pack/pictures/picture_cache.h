#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "pack/pictures/png_codec.h"

namespace ambrevo::pack {

// Loads the PNG pictures of sources, each file once however often menus use it.
class PictureCache {
public:
    // The picture, or why it cannot be used: "not found" or "cannot be used: <reason>".
    using Result = std::variant<std::shared_ptr<const PngPicture>, std::string>;
    Result Load(const std::filesystem::path& path);
    // Every file asked for, found or not.
    std::vector<std::filesystem::path> Files() const;

private:
    std::map<std::filesystem::path, Result> loaded_;
};

}  // namespace ambrevo::pack
