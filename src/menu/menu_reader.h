#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "menu/menu_text.h"
#include "menu/picture_table.h"
#include "package/item_name_table.h"
#include "package/tagged_reader.h"
#include "services/debug_output.h"
#include "services/dialogs.h"

namespace ambrevo {

// Shown (information kind) when a menu body fails the header check.
extern const char* const kMenuVersionMessage;

// Reads the raw header (magic, format kind, version, spare bytes, item count, picture
// count) at the stream position. formatKind must be 1 and the
// version 6 or more; otherwise shows kMenuVersionMessage (information kind, titled
// messageCaption), sets the LoadError and gives nothing. Nothing after formatKind is
// read when it is not 1, and nothing after the version when that is below 6.
std::optional<MenuHeader> ReadMenuHeader(TaggedReader& reader, Dialogs& dialogs,
                                         const std::string& messageCaption);

// The items of a body as read, before anything is made of them. Reading stops at the
// first error; the item it stopped in keeps the fields read before it.
struct ItemsRead {
    std::vector<MenuItem> items;   // those the window has room for, at most kMaxItems
    std::size_t fieldsOfLast = 0;  // fields read of the last of them
    std::exception_ptr error;      // what stopped the reading
};

// Gives the items of a menu (its lower-case entry name) the names the package holds for
// them, through text as the body's texts; a name of an item the menu lacks is left out.
void NameItems(const ItemNameTable& names, std::string_view entryName, const MenuText& text,
               std::vector<MenuItem>& items);

// Reads itemCount item blocks of a body of this version at the stream position; those
// beyond kMaxItems are read to stay in step and dropped. Texts go through text.
ItemsRead ReadItems(TaggedReader& reader, int itemCount, int version, const MenuText& text = {});

// Reads pictureCount picture records (none when 0 or less) of a body of this version
// into the table, each preceded by the debug line "Getting Image " + n (n from 1). A
// later record for a slot replaces the earlier picture; records outside the table, with
// a wrong tag or external (frame -1) store nothing. Throws AppError for a damaged or
// short compressed picture (see PictureDecoder::ReadPicture).
void ReadPictures(TaggedReader& reader, DebugOutput& debug, int pictureCount, int version,
                  PictureTable& table);

// Reads a whole menu body at the stream position with the same field readers the menu
// load uses: the header, the window-level fields, the items (those above 100 are read
// and dropped), the pictures, then CountFrames. True when def now holds the menu (a wrong
// tag on the way only sets the LoadError, as in the menu load). A failed header check
// gives false, and an AppError from a damaged picture unwinds; def is then untouched.
bool ReadMenu(TaggedReader& reader, Dialogs& dialogs, DebugOutput& debug,
              const std::string& messageCaption, MenuDefinition& def);

}  // namespace ambrevo
