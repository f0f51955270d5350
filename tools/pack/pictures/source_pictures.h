#pragma once

#include <toml++/toml.h>

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "pack/common/diagnostics.h"
#include "pack/pictures/density_variants.h"
#include "pack/pictures/picture_cache.h"

namespace ambrevo::pack {

// The pictures named by one menu source, relative to the folder of its file.
class SourcePictures {
public:
    SourcePictures(std::filesystem::path folder, PictureCache& cache, const SourceFile& file)
        : folder_(std::move(folder)), cache_(cache), file_(file) {}

    // The picture a text node names; null (reported at the node's line, to `file`, or the
    // source's own when null) when the node is no text or the file is missing or unreadable.
    // variants, when given, receives the picture's variants for high density that fit it.
    std::shared_ptr<const PngPicture> Load(const toml::node& node, std::string_view key,
                                           const SourceFile* file = nullptr,
                                           std::vector<PictureVariant>* variants = nullptr);

private:
    std::filesystem::path folder_;
    PictureCache& cache_;
    SourceFile file_;
};

}  // namespace ambrevo::pack
