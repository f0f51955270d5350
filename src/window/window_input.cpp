// Mouse and focus events of the window's parts and items.

#include "window/busy_flag.h"
#include "window/item_names.h"
#include "window/menu_window.h"

namespace ambrevo {

void TfrmMenuCls::SelectAndHighlight(int n) {
    selectedItem_ = n;
    HighlightItem(n);
}

// Moving over the background removes the highlight and shows the default description.
void TfrmMenuCls::MenBckMouseMove(ui::Control&, const ui::MouseEvent&) {
    if (backgroundMoveBusy_) return;
    const BusyFlag busy(backgroundMoveBusy_);
    try {
        HighlightItem(-1);
    } catch (...) {
    }
    ShowItemDescription(-2);
}

void TfrmMenuCls::AccTextMouseMove(ui::Control& sender, const ui::MouseEvent& event) {
    MenBckMouseMove(sender, event);
}

void TfrmMenuCls::lblAccText_MouseMove(ui::Control& sender, const ui::MouseEvent& event) {
    MenBckMouseMove(sender, event);
}

void TfrmMenuCls::picButton_MouseDown(ui::Control& sender, const ui::MouseEvent&) {
    const int n = ItemNumberOf(sender);
    app_.ProcessMessages();
    SetItemState(n, PictureSet::Pressed, false);
}

void TfrmMenuCls::picButton_MouseMove(ui::Control& sender, const ui::MouseEvent&) {
    if (menuShown_) SelectAndHighlight(ItemNumberOf(sender));
}

void TfrmMenuCls::picButton_MouseUp(ui::Control& sender, const ui::MouseEvent&) {
    try {
        SetItemState(ItemNumberOf(sender), PictureSet::Highlighted, false);
        // A release strictly inside the picture is where the selected item's action is
        // to be launched; the window has no action dispatch yet.
    } catch (...) {
    }
}

void TfrmMenuCls::cmdButton_MouseMove(ui::Control& sender, const ui::MouseEvent&) {
    SelectAndHighlight(ItemNumberOf(sender));
}

void TfrmMenuCls::cmdButton_GotFocus(ui::Control& sender) {
    SelectAndHighlight(ItemNumberOf(sender));
}

// The highlight picture is put back even when the item was already highlighted.
void TfrmMenuCls::btnShortcut_GotFocus(ui::Control& sender) {
    const int n = ItemNumberOf(sender);
    SelectAndHighlight(n);
    app_.ProcessMessages();
    if (!IsItem(n)) return;
    Controls(n).picture->SetTag(-1);
    SetItemState(n, PictureSet::Highlighted, false);
}

}  // namespace ambrevo
