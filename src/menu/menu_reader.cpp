#include "menu/menu_reader.h"

#include <algorithm>
#include <string>

#include "menu/menu_fields.h"
#include "menu/menu_rules.h"
#include "menu/picture_load.h"
#include "support/messages.h"

namespace ambrevo {

namespace {
constexpr int kMinimumVersion = 6;
}  // namespace

const char* const kMenuVersionMessage =
    "This is not an Ambrevo Version 6 or above file. If you have created the menu in a "
    "previous version of Ambrevo, you can use the Menu Conversion Wizard available from "
    "Quorel Software's site to convert the file to Version 6 format.";

std::optional<MenuHeader> ReadMenuHeader(TaggedReader& reader, Dialogs& dialogs,
                                         const std::string& messageCaption) {
    MenuHeader header;
    reader.RawBytes(header.magic.data(), header.magic.size());  // not compared
    header.formatKind = reader.RawByte();
    if (header.formatKind == 1) header.version = reader.RawByte();
    if (header.formatKind != 1 || header.version < kMinimumVersion) {
        ShowMessage(dialogs, kMenuVersionMessage, MessageKind::Information, messageCaption);
        reader.Errors().Set();
        return std::nullopt;
    }
    reader.RawBytes(header.spare.data(), header.spare.size());
    header.itemCount = reader.RawByte();
    header.pictureCount = reader.RawInt16();
    return header;
}

void NameItems(const ItemNameTable& names, std::string_view entryName, const MenuText& text,
               std::vector<MenuItem>& items) {
    for (const ItemName* name : names.Of(entryName)) {
        const auto index = static_cast<std::size_t>(name->item - 1);
        if (index < items.size()) items[index].name = text(name->name);
    }
}

ItemsRead ReadItems(TaggedReader& reader, int itemCount, int version, const MenuText& text) {
    ItemsRead read;
    read.items.reserve(static_cast<std::size_t>(std::clamp(itemCount, 0, kMaxItems)));
    try {
        for (int n = 1; n <= itemCount; ++n) {
            MenuItem excess;  // outside the model: read to stay in step, then dropped
            const bool kept = n <= kMaxItems;
            MenuItem& item = kept ? read.items.emplace_back() : excess;
            if (kept) read.fieldsOfLast = 0;
            for (const ItemField field : ItemFields(version)) {
                ReadItemField(field, reader, item, text);
                if (kept) ++read.fieldsOfLast;
            }
        }
    } catch (...) {
        read.error = std::current_exception();
    }
    return read;
}

void ReadPictures(TaggedReader& reader, DebugOutput& debug, int pictureCount, int version,
                  PictureTable& table) {
    PictureLoad(reader, debug, pictureCount, version, table).Finish();
}

bool ReadMenu(TaggedReader& reader, Dialogs& dialogs, DebugOutput& debug,
              const std::string& messageCaption, MenuDefinition& def) {
    const std::optional<MenuHeader> header = ReadMenuHeader(reader, dialogs, messageCaption);
    if (!header) return false;

    MenuDefinition menu;
    menu.header = *header;
    const int version = header->version;
    for (const WindowField field : WindowFields(version)) {
        ReadWindowField(field, reader, debug, menu);
    }
    ItemsRead items = ReadItems(reader, header->itemCount, version);
    if (items.error) std::rethrow_exception(items.error);
    menu.items = std::move(items.items);
    ReadPictures(reader, debug, header->pictureCount, version, menu.pictures);
    CountFrames(menu);
    def = std::move(menu);
    return true;
}

}  // namespace ambrevo
