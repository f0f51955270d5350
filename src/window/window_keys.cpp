// The keyboard of the item controls and the mouse wheel: arrows and the wheel move the
// selection together with the focus; the key proxies' clicks, Enter and the digit keys
// launch items.

#include <cstdlib>

#include "window/item_names.h"
#include "window/menu_window.h"

namespace ambrevo {

void TfrmMenuCls::BindWheel() {
    form_.onMouseWheel = [this](ui::Form& sender, int notches) {
        bool handled = false;
        for (int i = 0; i < std::abs(notches); ++i) {
            if (notches < 0) {
                FormMouseWheelDown(sender, handled);
            } else {
                FormMouseWheelUp(sender, handled);
            }
        }
        return handled;
    };
}

// The key proxy takes the focus where it is visible, else the item's push button; their
// focus handlers select and highlight the item.
void TfrmMenuCls::FocusItem(int n) {
    if (!IsItem(n)) return;
    ItemControls& controls = Controls(n);
    if (controls.keyProxy->Visible()) {
        controls.keyProxy->SetFocus();
    } else if (controls.button->Visible()) {
        controls.button->SetFocus();
    }
}

// A selection that is no item of this menu (none yet, or one left from a larger menu)
// counts as none: forward goes to the first item, back to the last.
void TfrmMenuCls::StepSelection(int step) {
    if (itemCount_ == 0) return;
    if (!IsItem(selectedItem_)) {
        selectedItem_ = step > 0 ? 1 : itemCount_;
        return;
    }
    selectedItem_ = (selectedItem_ - 1 + step + itemCount_) % itemCount_ + 1;
}

void TfrmMenuCls::LaunchPressedItem(int n) {
    const int loads = menuLoads_;
    LaunchItem(n);
    app_.ProcessMessages();
    // An action that switched menus took the item with the old menu.
    if (menuLoads_ == loads) SetItemState(n, PictureSet::Highlighted, false);
}

void TfrmMenuCls::PressItem(int n) {
    if (!IsItem(n)) return;
    SetItemState(n, PictureSet::Pressed, false);
    LaunchPressedItem(n);
}

// Reached by the item's mnemonic, or by Space while the proxy has the focus. The item may
// go with its menu while messages run (a click dispatched meanwhile switched menus); then
// the key press is spent.
void TfrmMenuCls::btnShortcut_Click(ui::Control& sender) {
    const int n = ItemNumberOf(sender);
    const int loads = menuLoads_;
    SelectAndHighlight(n);
    app_.ProcessMessages();
    if (menuLoads_ != loads || !IsItem(n)) return;
    if (Item(n).kind != static_cast<std::int32_t>(ItemKind::ImgBtn)) {
        LaunchItem(n);
        return;
    }
    Controls(n).picture->SetTag(-1);
    SetItemState(n, PictureSet::Pressed, false);
    app_.ProcessMessages();
    if (menuLoads_ == loads) LaunchPressedItem(n);
}

void TfrmMenuCls::btnShortcutKeyDown(ui::Control&, int key) {
    switch (key) {
        case ui::kKeyLeft:
        case ui::kKeyUp:
            StepSelection(-1);
            break;
        case ui::kKeyRight:
        case ui::kKeyDown:
            StepSelection(1);
            break;
        default:
            return;  // Tab is the widgetset's: it moves the focus in creation order
    }
    FocusItem(selectedItem_);
}

void TfrmMenuCls::cmdButton_KeyDown(ui::Control& sender, int key) {
    btnShortcutKeyDown(sender, key);
}

// Enter launches the focused control's item. A digit 1 to 8 launches the item of that
// number, which takes the focus first; a digit that is an item's mnemonic never gets here.
void TfrmMenuCls::btnShortcutKeyPress(ui::Control& sender, char character) {
    if (character == '\r') {
        PressItem(ItemNumberOf(sender));
        return;
    }
    if (character < '1' || character > '8') return;
    const int n = character - '0';
    if (!IsItem(n)) return;
    const int loads = menuLoads_;
    FocusItem(n);
    app_.ProcessMessages();
    if (menuLoads_ == loads) LaunchItem(n);
}

void TfrmMenuCls::FormMouseWheelDown(ui::Form&, bool& handled) {
    if (itemCount_ == 0) return;
    StepSelection(1);
    FocusItem(selectedItem_);
    handled = true;
}

void TfrmMenuCls::FormMouseWheelUp(ui::Form&, bool& handled) {
    if (itemCount_ == 0) return;
    StepSelection(-1);
    FocusItem(selectedItem_);
    handled = true;
}

}  // namespace ambrevo
