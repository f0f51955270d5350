#include "pack/start/disc_templates.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <system_error>

#include "pack/start/carried_file.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/filled_picture.h"
#include "pack/pictures/png_codec.h"

namespace ambrevo::pack {

// Written by cmake/embed_folder.cmake from resources/templates.
extern const CarriedFile kCarriedTemplates[];
extern const std::size_t kCarriedTemplatesCount;

namespace {

// Each template's own keys, in this file of its folder; the template does not write it.
constexpr std::string_view kManifest = "template.toml";

std::span<const CarriedFile> CarriedTemplateFiles() {
    return {kCarriedTemplates, kCarriedTemplatesCount};
}

std::string_view TextOf(const CarriedFile& file) {
    return {reinterpret_cast<const char*>(file.bytes), file.size};
}

// The template's files, each with its path inside the template's folder.
std::vector<std::pair<std::string, const CarriedFile*>> FilesOf(std::string_view name) {
    const std::string prefix = std::string(name) + "/";
    std::vector<std::pair<std::string, const CarriedFile*>> files;
    for (const CarriedFile& file : CarriedTemplateFiles()) {
        const std::string_view path = file.path;
        if (path.starts_with(prefix)) files.emplace_back(path.substr(prefix.size()), &file);
    }
    return files;
}

toml::table Manifest(std::string_view name) {
    for (const auto& [path, file] : FilesOf(name)) {
        if (path == kManifest) return toml::parse(TextOf(*file));
    }
    throw PackError("there is no template \"" + std::string(name) + "\"");
}

// The manifest's backgrounds as picture files: {file, size = [w, h], fill = [top, bottom]}.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> DrawnBackgrounds(
    const toml::table& manifest) {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> drawn;
    const toml::array* backgrounds = manifest["background"].as_array();
    if (!backgrounds) return drawn;
    for (const toml::node& node : *backgrounds) {
        const toml::node_view background(node);
        const auto width = background["size"][0].value<std::int32_t>();
        const auto height = background["size"][1].value<std::int32_t>();
        const auto top = RgbOfHexText(background["fill"][0].value_or(std::string()));
        const auto bottom = RgbOfHexText(background["fill"][1].value_or(std::string()));
        const auto file = background["file"].value<std::string>();
        if (!file || !width || !height || !top || !bottom || *width < 1 || *height < 1) {
            throw PackError("a template's background needs a file, a size and two colours");
        }
        drawn.emplace_back(*file, EncodePng(FilledPicture(*width, *height, *top, *bottom)));
    }
    return drawn;
}

// What a new disc's folder must be: absent, or a folder that holds nothing.
void CheckNewDiscFolder(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found) return;
    if (status.type() != std::filesystem::file_type::directory) {
        throw PackError(QuotedPath(folder) + " is not a folder: name a new folder for the disc");
    }
    if (!std::filesystem::is_empty(folder, error) || error) {
        throw PackError(QuotedPath(folder) +
                        " is not empty: name a new folder for the disc, or an empty one");
    }
}

// Takes away, in reverse order, the files and folders a failed new disc made.
class MadeFiles {
public:
    ~MadeFiles() {
        std::error_code ignored;
        for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
            std::filesystem::remove(*made, ignored);
        }
    }
    // Makes the folder and those above it that are missing, noting each one made.
    void Folder(const std::filesystem::path& folder) {
        if (folder.empty() || std::filesystem::exists(folder)) return;
        Folder(folder.parent_path());
        std::error_code error;
        std::filesystem::create_directory(folder, error);
        if (error) {
            throw PackError("cannot make the folder " + QuotedPath(folder) + ": " +
                            error.message());
        }
        made_.push_back(folder);
    }
    void File(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
        Folder(file.parent_path());
        WriteFileBytes(file, bytes, {.beforeReplacing = {}, .createOnly = true});
        made_.push_back(file);
    }
    void Keep() { made_.clear(); }

private:
    std::vector<std::filesystem::path> made_;
};

}  // namespace

std::vector<DiscTemplate> DiscTemplates() {
    std::vector<DiscTemplate> templates;
    for (const CarriedFile& file : CarriedTemplateFiles()) {
        const std::string_view path = file.path;
        const std::size_t slash = path.find('/');
        if (slash == std::string_view::npos || path.substr(slash + 1) != kManifest) continue;
        const toml::table manifest = toml::parse(TextOf(file));
        templates.push_back({std::string(path.substr(0, slash)),
                             manifest["title"].value_or(std::string()),
                             manifest["description"].value_or(std::string())});
    }
    std::sort(templates.begin(), templates.end(),
              [](const DiscTemplate& a, const DiscTemplate& b) { return a.name < b.name; });
    return templates;
}

void MakeDiscFromTemplate(const std::filesystem::path& folder, std::string_view name) {
    const toml::table manifest = Manifest(name);
    CheckNewDiscFolder(folder);
    MadeFiles made;
    made.Folder(folder);
    for (const auto& [path, file] : FilesOf(name)) {
        if (path == kManifest) continue;
        made.File(folder / PathFromUtf8(path), {file->bytes, file->size});
    }
    for (const auto& [path, png] : DrawnBackgrounds(manifest)) {
        made.File(folder / PathFromUtf8(path), png);
    }
    made.Keep();
}

}  // namespace ambrevo::pack
