#include "pack/writer/density_entry.h"

#include <algorithm>
#include <tuple>

#include "pack/writer/menu_body_writer.h"
#include "pack/writer/tagged_writer.h"

namespace ambrevo::pack {

std::optional<PackageEntryData> DensityEntry(std::span<const MenuDensityPictures> menus,
                                             PictureStreamCache* streams) {
    const auto holds = [](const MenuDensityPictures& menu) { return !menu.pictures.empty(); };
    const auto count = std::count_if(menus.begin(), menus.end(), holds);
    if (count == 0) return std::nullopt;
    TaggedWriter out;
    out.WriteInteger(static_cast<std::int32_t>(count));
    for (const MenuDensityPictures& menu : menus) {
        if (!holds(menu)) continue;
        std::vector<const DensityPicture*> ordered;
        for (const DensityPicture& picture : menu.pictures) ordered.push_back(&picture);
        std::sort(
            ordered.begin(), ordered.end(),
            [](const DensityPicture* a, const DensityPicture* b) { return a->Key() < b->Key(); });
        out.WriteString(menu.entryName);
        out.WriteInteger(menu.version);
        out.WriteInteger(static_cast<std::int32_t>(ordered.size()));
        for (const DensityPicture* picture : ordered) {
            out.WriteInteger(picture->percent);
            WritePictureRecord(out, menu.version, picture->record, picture->set, picture->frame,
                               *picture->bitmap, streams);
        }
    }
    return PackageEntryData{kDensityEntryName, out.TakeBytes()};
}

}  // namespace ambrevo::pack
