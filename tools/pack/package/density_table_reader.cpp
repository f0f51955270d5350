#include "pack/package/density_table_reader.h"

#include <string>

#include "menu/picture_reader.h"
#include "pack/common/pack_error.h"
#include "support/app_error.h"

namespace ambrevo::pack {
namespace {

const char* DamageText(DensityDamage damage) {
    switch (damage) {
        case DensityDamage::None:
            break;
        case DensityDamage::MenuCount:
            return "the menu count is damaged";
        case DensityDamage::MenuEntry:
            return "the entry of a menu is damaged";
        case DensityDamage::PictureCount:
            return "the picture count is damaged";
        case DensityDamage::Scale:
            return "a picture's scale is damaged";
        case DensityDamage::Order:
            return "the pictures are out of order";
        case DensityDamage::Record:
            break;
    }
    return "a picture record is damaged or outside the picture table";
}

DensityPicture DecodePicture(TaggedReader& reader, int version, const DensityRecord& found) {
    PictureRecord record;
    try {
        if (!reader.Stream().Seek(found.position)) reader.Errors().Set();
        record = ReadPicture(reader, version);
    } catch (const AppError& failure) {
        throw PackError(std::string("a picture is damaged (") + failure.what() + ")");
    }
    if (reader.Errors().IsSet() || record.picture == nullptr || record.picture->Empty()) {
        throw PackError(DamageText(DensityDamage::Record));
    }
    return {found.percent, record.slot.record, record.slot.set, record.slot.frame,
            std::move(record.picture)};
}

}  // namespace

std::vector<MenuDensityPictures> ReadDensityTable(TaggedReader& reader, std::int64_t offset) {
    const DensityTable table = DensityTable::Read(reader.Stream(), offset);
    if (table.Damage() != DensityDamage::None) throw PackError(DamageText(table.Damage()));
    std::vector<MenuDensityPictures> menus;
    for (const DensityMenu& found : table.Menus()) {
        MenuDensityPictures& menu = menus.emplace_back();
        menu.entryName = found.entryName;
        menu.version = found.version;
        for (const DensityRecord& record : found.records) {
            menu.pictures.push_back(DecodePicture(reader, found.version, record));
        }
    }
    return menus;
}

}  // namespace ambrevo::pack
