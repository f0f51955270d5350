#include "ui/stacking_order.h"

#include "ui/form.h"

namespace ambrevo::ui {

std::vector<std::size_t> StackingOrder(std::span<const ControlKind> kinds) {
    std::vector<std::size_t> order;
    order.reserve(kinds.size());
    for (const bool buttons : {false, true}) {
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            if ((kinds[i] == ControlKind::Button) == buttons) order.push_back(i);
        }
    }
    return order;
}

std::vector<Control*> ControlsBackToFront(const Form& form) {
    const auto& controls = form.Controls();
    std::vector<ControlKind> kinds;
    kinds.reserve(controls.size());
    for (const auto& control : controls) kinds.push_back(control->Kind());
    std::vector<Control*> stacked;
    stacked.reserve(controls.size());
    for (const std::size_t i : StackingOrder(kinds)) stacked.push_back(controls[i].get());
    return stacked;
}

}  // namespace ambrevo::ui
