#include "pack/writer/name_and_language_entries.h"

#include "pack/writer/tagged_writer.h"

namespace ambrevo::pack {

std::optional<PackageEntryData> ItemNameEntry(std::span<const ItemName> names) {
    if (names.empty()) return std::nullopt;
    TaggedWriter out;
    out.WriteInteger(static_cast<std::int32_t>(names.size()));
    for (const ItemName& name : names) {
        out.WriteString(name.entryName);
        out.WriteInteger(name.item);
        out.WriteString(name.name);
    }
    return PackageEntryData{kItemNameEntryName, out.TakeBytes()};
}

void CollectItemNames(const std::string& entryName, const MenuDefinition& menu,
                      std::vector<ItemName>& names) {
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const MenuItem& item = menu.items[i];
        if (item.name.empty()) continue;
        names.push_back({entryName, static_cast<std::int32_t>(i + 1), item.name});
    }
}

std::optional<PackageEntryData> LanguageEntry(std::span<const LanguageMenu> languages) {
    if (languages.empty()) return std::nullopt;
    TaggedWriter out;
    out.WriteInteger(static_cast<std::int32_t>(languages.size()));
    for (const LanguageMenu& language : languages) {
        out.WriteString(language.code);
        out.WriteString(language.entryName);
    }
    return PackageEntryData{kLanguageEntryName, out.TakeBytes()};
}

}  // namespace ambrevo::pack
