// Mouse and focus events of the window's parts and items: dragging the window by its
// background, hover and focus highlighting, and the clicks that launch items.

#include "support/busy_flag.h"
#include "window/item_names.h"
#include "window/menu_window.h"

namespace ambrevo {
namespace {

// Where the event lies in the window: controls sit in the window's client area.
ui::Point PointInWindow(const ui::Control& sender, const ui::MouseEvent& event) {
    const ui::Rect& bounds = sender.Bounds();
    return {bounds.left + event.x, bounds.top + event.y};
}

}  // namespace

void TfrmMenuCls::LaunchItem(int n) {
    if (launcher_) launcher_->LaunchItem(n);
}

void TfrmMenuCls::SelectAndHighlight(int n) {
    selectedItem_ = n;
    AnnounceFocus(n);
    HighlightItem(n);
}

void TfrmMenuCls::AnnounceFocus(int n) {
    if (n == announcedItem_ || !IsItem(n)) return;
    announcedItem_ = n;
    form_.NotifyAccessibility(ui::AccessibleEvent::FocusMoved, n);
}

// Only the left button drags; the right one opens the context menu.
void TfrmMenuCls::MenBckMouseDown(ui::Control& sender, const ui::MouseEvent& event) {
    if (event.button != ui::MouseButton::Left) return;
    dragOrigin_ = PointInWindow(sender, event);
    dragState_ = 2;
    parts_.background->SetCursor(ui::Cursor::SizeAll);
}

// Moving over the background removes the highlight and shows the default description.
// While dragging, the window is placed so that the point pressed lies under the pointer
// again. The pointer is compared on the screen: relative to the window, which has followed
// it, a pointer that moves on by the same steps would seem to stand still.
void TfrmMenuCls::MenBckMouseMove(ui::Control& sender, const ui::MouseEvent& event) {
    if (backgroundMoveBusy_) return;
    {
        const BusyFlag busy(backgroundMoveBusy_);
        try {
            HighlightItem(-1);
        } catch (...) {
            // Ignored: the pointer moves on, and the default description still comes back.
        }
        ShowItemDescription(-2);
    }
    ui::Rect bounds = form_.Bounds();
    const ui::Point inWindow = PointInWindow(sender, event);
    const ui::Point onScreen{bounds.left + inWindow.x, bounds.top + inWindow.y};
    if (onScreen == lastMousePosition_) return;
    if (dragState_ == 2) {
        bounds.left = onScreen.x - dragOrigin_.x;
        bounds.top = onScreen.y - dragOrigin_.y;
        form_.SetBounds(bounds);
    }
    lastMousePosition_ = onScreen;
}

void TfrmMenuCls::MenBckMouseUp(ui::Control&, const ui::MouseEvent&) {
    dragOrigin_ = {};
    dragState_ = 0;
    parts_.background->SetCursor(ui::Cursor::Default);
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

// Any button. A press dragged off the picture and released outside it, or on its outermost
// row or column, only restores the highlight. The item released on is launched, even when
// the keyboard has selected another one since the pointer last moved. A failing launch
// leaves the event and is reported there once, as for a push button or a key.
void TfrmMenuCls::picButton_MouseUp(ui::Control& sender, const ui::MouseEvent& event) {
    const int n = ItemNumberOf(sender);
    SetItemState(n, PictureSet::Highlighted, false);
    const ui::Rect& bounds = sender.Bounds();
    if (event.x > 0 && event.x < bounds.width && event.y > 0 && event.y < bounds.height) {
        LaunchItem(n);
    }
}

void TfrmMenuCls::cmdButton_MouseMove(ui::Control& sender, const ui::MouseEvent&) {
    SelectAndHighlight(ItemNumberOf(sender));
}

// The action runs from the click timer, once the click has been handled; a second click
// before the tick only replaces the item.
void TfrmMenuCls::cmdButton_Click(ui::Control& sender) {
    pendingClickItem_ = ItemNumberOf(sender);
    clickTimer_.SetInterval(10);
}

void TfrmMenuCls::cmdButton_GotFocus(ui::Control& sender) {
    SelectAndHighlight(ItemNumberOf(sender));
}

// The highlight picture is put back even when the item was already highlighted, unless
// the item went with its menu while messages ran.
void TfrmMenuCls::btnShortcut_GotFocus(ui::Control& sender) {
    const int n = ItemNumberOf(sender);
    const int loads = menuLoads_;
    SelectAndHighlight(n);
    app_.ProcessMessages();
    if (menuLoads_ != loads) return;
    Controls(n).picture->SetTag(-1);
    SetItemState(n, PictureSet::Highlighted, false);
}

}  // namespace ambrevo
