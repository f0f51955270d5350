#include "package_builder.h"

#include <string>

#include "menu_body_writer.h"
#include "pack_error.h"
#include "text_encoding.h"

namespace ambrevo::pack {

std::vector<std::uint8_t> BuildPackage(const PackageSource& source,
                                       std::span<const std::uint8_t> player,
                                       std::ostream* progress) {
    std::vector<PackageEntryData> entries;
    entries.reserve(source.menus.size());
    for (const MenuSource& menu : source.menus) {
        try {
            entries.push_back({menu.entryName, WriteMenuBody(menu.menu, menu.version)});
        } catch (const PackError& failure) {
            throw PackError(menu.fileName + ": " + failure.what());
        }
        if (progress != nullptr) {
            *progress << AnsiToUtf8(menu.entryName) << ": version " << menu.version << ", "
                      << menu.menu.items.size() << " items, "
                      << CountStoredPictures(menu.menu.pictures) << " pictures, "
                      << entries.back().data.size() << " bytes\n";
        }
    }
    return WritePackage(player, entries, source.header);
}

}  // namespace ambrevo::pack
