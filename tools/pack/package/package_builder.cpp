#include "pack/package/package_builder.h"

#include <string>

#include "pack/common/pack_error.h"
#include "pack/writer/code_page_entry.h"
#include "pack/writer/density_entry.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/name_and_language_entries.h"
#include "pack/text/text_encoding.h"

namespace ambrevo::pack {

std::vector<std::uint8_t> BuildPackage(const PackageSource& source,
                                       std::span<const std::uint8_t> player, std::ostream* progress,
                                       PictureStreamCache* streams) {
    std::vector<PackageEntryData> entries;
    std::vector<MenuCodePage> codePages;
    std::vector<MenuDensityPictures> densities;
    entries.reserve(source.menus.size() + 1);
    for (const MenuSource& menu : source.menus) {
        try {
            entries.push_back({menu.entryName, WriteMenuBody(menu.menu, menu.version, streams)});
        } catch (const PackError& failure) {
            throw PackError(menu.fileName + ": " + failure.what());
        }
        codePages.push_back({menu.entryName, menu.codePage});
        densities.push_back({menu.entryName, menu.version, menu.densityPictures});
        if (progress != nullptr) {
            *progress << DisplayText(menu.entryName, menu.codePage) << ": version " << menu.version
                      << ", ";
            if (menu.codePage != 0) *progress << "code page " << menu.codePage << ", ";
            *progress << menu.menu.items.size() << " items, "
                      << CountStoredPictures(menu.menu.pictures) << " pictures, "
                      << entries.back().data.size() << " bytes\n";
        }
    }
    // After the menus: the player shows the first entry first, and older players, which
    // never look the tables up, find every menu where they would without them.
    std::vector<ItemName> names;
    for (const MenuSource& menu : source.menus) CollectItemNames(menu.entryName, menu.menu, names);
    std::vector<LanguageMenu> languages;
    for (const LanguageSource& language : source.languages) {
        languages.push_back({language.code, language.entryName});
    }
    std::optional<PackageEntryData> densityTable;
    try {
        densityTable = DensityEntry(densities, streams);
    } catch (const PackError& failure) {
        throw PackError(std::string("a picture for high density: ") + failure.what());
    }
    for (std::optional<PackageEntryData> table :
         {CodePageEntry(codePages), ItemNameEntry(names), LanguageEntry(languages),
          std::move(densityTable)}) {
        if (table) entries.push_back(std::move(*table));
    }
    if (entries.size() > static_cast<std::size_t>(kMaxPackageEntries)) {
        throw PackError("a package holds at most " + std::to_string(kMaxPackageEntries) +
                        " entries: " + std::to_string(source.menus.size()) +
                        " menus and the tables of their code pages, item names, "
                        "languages and pictures for high density are " +
                        std::to_string(entries.size()));
    }
    return WritePackage(player, entries, source.header);
}

}  // namespace ambrevo::pack
