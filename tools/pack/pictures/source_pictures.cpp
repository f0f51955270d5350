#include "pack/pictures/source_pictures.h"

#include <string>

#include "pack/common/file_io.h"

namespace ambrevo::pack {

std::shared_ptr<const PngPicture> SourcePictures::Load(const toml::node& node, std::string_view key,
                                                       const SourceFile* file,
                                                       std::vector<PictureVariant>* variants) {
    const SourceFile& where = file != nullptr ? *file : file_;
    const auto line = static_cast<std::int64_t>(node.source().begin.line);
    const auto* name = node.as_string();
    if (name == nullptr || name->get().empty()) {
        where.Report(line, "\"" + std::string(key) + "\" must name a PNG file");
        return nullptr;
    }
    const std::filesystem::path path = folder_ / PathFromUtf8(name->get());
    const PictureCache::Result result = cache_.Load(path);
    if (const auto* reason = std::get_if<std::string>(&result)) {
        where.Report(line, "picture \"" + name->get() + "\" " + *reason);
        return nullptr;
    }
    auto picture = std::get<std::shared_ptr<const PngPicture>>(result);
    std::vector<PictureVariant> fitting =
        FittingVariants(where, line, name->get(), path, *picture->bitmap, cache_);
    if (variants != nullptr) *variants = std::move(fitting);
    return picture;
}

}  // namespace ambrevo::pack
