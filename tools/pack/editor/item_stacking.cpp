#include "pack/editor/item_stacking.h"

namespace ambrevo::pack {

std::vector<int> StackingOrder(const MenuDefinition& menu) {
    std::vector<int> order;
    for (const bool buttons : {false, true}) {
        for (std::size_t i = 0; i < menu.items.size(); ++i) {
            const bool button = menu.items[i].kind == static_cast<std::int32_t>(ItemKind::WinBtn);
            if (button == buttons) order.push_back(static_cast<int>(i) + 1);
        }
    }
    return order;
}

}  // namespace ambrevo::pack
