#include "pack/writer/code_page_entry.h"

#include <algorithm>

#include "pack/writer/tagged_writer.h"
#include "support/menu_code_pages.h"

namespace ambrevo::pack {

std::optional<PackageEntryData> CodePageEntry(std::span<const MenuCodePage> menus) {
    const auto declares = [](const MenuCodePage& menu) { return menu.codePage != kSystemCodePage; };
    const auto count = std::count_if(menus.begin(), menus.end(), declares);
    if (count == 0) return std::nullopt;
    TaggedWriter out;
    out.WriteInteger(static_cast<std::int32_t>(count));
    for (const MenuCodePage& menu : menus) {
        if (!declares(menu)) continue;
        out.WriteString(menu.entryName);
        out.WriteLong(static_cast<std::int32_t>(menu.codePage));
    }
    return PackageEntryData{kCodePageEntryName, out.TakeBytes()};
}

}  // namespace ambrevo::pack
