#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "pack/common/diagnostics.h"
#include "pack/source/menu_source_reader.h"

namespace ambrevo::pack {

// Warnings for what the menu format allows but an author almost surely did not mean.

// Why a shape's run list is likely a slip: it cuts no pixel away, or every pixel.
std::optional<std::string> ShapeSlip(std::string_view runs);

// Item `number` (from 1) of the menu, read from the table at `line`: a picture item
// without a normal picture, an item wholly or partly outside the background.
void WarnAboutItem(const MenuDefinition& menu, int number, std::int64_t line,
                   const SourceFile& file);

// Why a highlighted or pressed picture (`set`, as the source names it) is likely a slip
// next to the item's normal picture: they differ in size.
std::optional<std::string> SetSizeSlip(std::string_view set, const Bitmap& picture,
                                       const Bitmap& normal);

// A menu that shows nothing: no background and no items.
void WarnAboutEmptyMenu(const MenuDefinition& menu, const SourceFile& file);

// Menus after the first that no other menu switches to and that are not the first menu of
// a language (firstMenus: their entry names).
void WarnAboutUnreachableMenus(const std::vector<MenuSource>& menus,
                               const std::vector<std::string>& firstMenus,
                               Diagnostics& diagnostics);

// The warning for a picture whose transparent pixels took the plain colour (0x00RRGGBB).
// subject names the picture as the message begins: `picture "a.png"`.
std::string UncoveredPictureWarning(std::string_view subject, bool menuHasBackground,
                                    std::uint32_t color);

}  // namespace ambrevo::pack
