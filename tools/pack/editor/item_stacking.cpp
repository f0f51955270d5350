#include "pack/editor/item_stacking.h"

#include "ui/stacking_order.h"

namespace ambrevo::pack {

std::vector<int> StackingOrder(const MenuDefinition& menu) {
    // Each item as the control the player shows for it, in file order: the player's own
    // rule then stacks them.
    std::vector<ui::ControlKind> kinds;
    for (const MenuItem& item : menu.items) {
        switch (static_cast<ItemKind>(item.kind)) {
            case ItemKind::WinBtn:
                kinds.push_back(ui::ControlKind::Button);
                break;
            case ItemKind::LblBtn:
                kinds.push_back(ui::ControlKind::Label);
                break;
            default:
                kinds.push_back(ui::ControlKind::Picture);
                break;
        }
    }
    std::vector<int> order;
    for (const std::size_t index : ui::StackingOrder(kinds)) {
        order.push_back(static_cast<int>(index) + 1);
    }
    return order;
}

}  // namespace ambrevo::pack
