#pragma once

#include <vector>

#include "menu/menu_model.h"

namespace ambrevo::pack {

// The menu's items, numbered from 1 in file order, from the back to the front as the player
// stacks them and routes the mouse (ui::StackingOrder): push buttons above the rest; within
// each group, a later item above an earlier one.
std::vector<int> StackingOrder(const MenuDefinition& menu);

}  // namespace ambrevo::pack
