#pragma once

#include <string>
#include <vector>

#include "menu/menu_model.h"

namespace ambrevo::pack {

// One text of a menu body, named as its source key ("title", "item 2 caption").
struct MenuTextField {
    std::string key;
    const std::string* text;
};

// Every text that a body of this version stores, all in the menu's code page, in body
// order: the window's texts, then each item's; with each item's texts its name for screen
// readers, which the package stores beside the body in the same code page.
std::vector<MenuTextField> MenuTexts(const MenuDefinition& menu, int version);

// True when none of them has a byte of 0x80 or above.
bool MenuTextsAreAscii(const MenuDefinition& menu, int version);

}  // namespace ambrevo::pack
