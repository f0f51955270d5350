#include "pack/package/density_table_reader.h"

#include "menu/menu_model.h"
#include "menu/picture_reader.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/density_variants.h"
#include "pack/writer/menu_body_writer.h"
#include "support/app_error.h"

namespace ambrevo::pack {
namespace {

constexpr int kMaxMenus = 255;  // no package holds more entries

std::int32_t CheckedCount(TaggedReader& reader, std::int32_t most, const char* what) {
    const std::int32_t count = reader.ReadInteger();
    if (reader.Errors().IsSet() || count < 0 || count > most) {
        throw PackError(std::string("the ") + what + " count is damaged");
    }
    return count;
}

DensityPicture ReadOnePicture(TaggedReader& reader, int version) {
    DensityPicture picture;
    picture.percent = reader.ReadInteger();
    if (reader.Errors().IsSet() || DensityOfPercent(picture.percent) == nullptr) {
        throw PackError("a picture's scale is damaged");
    }
    PictureRecord record;
    try {
        record = ReadPicture(reader, version);
    } catch (const AppError& failure) {
        throw PackError(std::string("a picture is damaged (") + failure.what() + ")");
    }
    if (reader.Errors().IsSet() || record.picture == nullptr || record.picture->Empty()) {
        throw PackError("a picture record is damaged or outside the picture table");
    }
    picture.record = record.slot.record;
    picture.set = record.slot.set;
    picture.frame = record.slot.frame;
    picture.bitmap = std::move(record.picture);
    return picture;
}

}  // namespace

std::vector<MenuDensityPictures> ReadDensityTable(TaggedReader& reader) {
    std::vector<MenuDensityPictures> menus(
        static_cast<std::size_t>(CheckedCount(reader, kMaxMenus, "menu")));
    for (MenuDensityPictures& menu : menus) {
        menu.entryName = reader.ReadString();
        menu.version = reader.ReadInteger();
        if (reader.Errors().IsSet() ||
            (menu.version != kRawPicturesVersion && menu.version != kLatestMenuVersion)) {
            throw PackError("the entry of a menu is damaged");
        }
        const std::int32_t count = CheckedCount(reader, kMaxPictureRecords, "picture");
        for (std::int32_t i = 0; i < count; ++i) {
            menu.pictures.push_back(ReadOnePicture(reader, menu.version));
        }
    }
    return menus;
}

}  // namespace ambrevo::pack
