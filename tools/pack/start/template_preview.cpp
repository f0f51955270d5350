#include "pack/start/template_preview.h"

#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/disc/checked_sources.h"
#include "pack/editor/edit_routes.h"
#include "pack/pictures/carried_fonts.h"
#include "pack/pictures/png_codec.h"
#include "pack/preview/menu_preview.h"
#include "pack/start/disc_templates.h"

namespace ambrevo::pack {

std::string TemplatePreviewPng(std::string_view name) {
    // The template is made as `new` makes it and read as `preview` reads it, so the picture
    // is the menu the author gets.
    const RemovedFolder scratch(std::filesystem::temp_directory_path() /
                                ("ambrevo-template-" + NewEditToken()));
    MakeDiscFromTemplate(scratch.Path(), name);
    std::ostringstream problems;
    const std::optional<PackageSource> package =
        ReadCheckedSources({scratch.Path() / "package.toml"}, problems, false, SourceUse::Preview);
    if (!package || package->menus.empty()) {
        throw PackError("the template \"" + std::string(name) +
                        "\" cannot be drawn: " + problems.str());
    }
    const MenuSource& menu = package->menus.front();
    const MenuPreview preview =
        RenderMenuPreview(menu.menu, menu.menu.initialItem, &CarriedTextPainter(), menu.codePage);
    const std::vector<std::uint8_t> png = EncodePng(preview.picture, preview.alpha);
    return {png.begin(), png.end()};
}

}  // namespace ambrevo::pack
