#include "backends/web/widgetset/web_form.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "backends/web/bridge/web_host.h"
#include "backends/web/widgetset/web_widgetset.h"
#include "ui/application.h"
#include "ui/font.h"
#include "ui/popup_menu.h"
#include "ui/stacking_order.h"

namespace ambrevo::web {
namespace {

ui::MouseButton ButtonOf(int code) {
    switch (code) {
        case 1:
            return ui::MouseButton::Middle;
        case 2:
            return ui::MouseButton::Right;
        default:
            return ui::MouseButton::Left;
    }
}

}  // namespace

WebForm::WebForm(WebWidgetset& widgets, ui::Form& form)
    : widgets_(widgets),
      form_(form),
      id_(widgets.Register(*this)),
      router_(form, *this, ui::InputRouter::ButtonInput::Routed),
      dpi_(Dpi()) {
    ambrevo_host_form_created(id_, static_cast<int>(form.Style()));
}

WebForm::~WebForm() {
    widgets_.Unregister(*this);
    ambrevo_host_form_destroyed(id_);
}

void WebForm::CaptionChanged() {
    const std::string& caption = form_.Caption();
    ambrevo_host_form_caption(id_, caption.data(), caption.size());
}

void WebForm::BoundsChanged() {
    const ui::Rect& bounds = form_.Bounds();
    ambrevo_host_form_bounds(id_, bounds.left, bounds.top, bounds.width, bounds.height);
    dirty_ = true;
}

void WebForm::VisibleChanged() {
    if (form_.Visible()) Paint();
    ambrevo_host_form_visible(id_, form_.Visible() ? 1 : 0);
}

void WebForm::ControlRemoved(ui::Control& control) {
    router_.Forget(control);
    dirty_ = true;
}

void WebForm::FocusControl(ui::Button& button) {
    if (form_.FocusedButton() == &button) return;
    dirty_ = true;
    widgets_.App().Dispatch([&] { button.GotFocus(); });
}

void WebForm::FocusForm() {
    form_.FocusChanged(nullptr);
    dirty_ = true;
}

// Whatever marks the canvas for painting may also change what the elements say (a menu's
// items shown or hidden, the form disabled).
void WebForm::PaintIfDirty() {
    if (!dirty_) return;
    accessibility_.SendIfChanged();
    if (form_.Visible()) Paint();
}

// Back to front as the controls lie: push buttons, windows of their own on Windows, above
// the pictures and labels.
void WebForm::Paint() {
    dirty_ = false;
    const ui::Rect& bounds = form_.Bounds();
    ambrevo_host_paint_begin(id_, bounds.width, bounds.height);
    for (const ui::Control* control : ui::ControlsBackToFront(form_)) {
        if (control->Visible()) PaintControl(*control);
    }
    PaintShape();
    ambrevo_host_paint_end(id_);
}

void WebForm::PaintControl(const ui::Control& control) {
    const ui::Rect& at = control.Bounds();
    switch (control.Kind()) {
        case ui::ControlKind::Picture:
            PaintPicture(static_cast<const ui::Picture&>(control));
            return;
        case ui::ControlKind::Label: {
            const auto& label = static_cast<const ui::Label&>(control);
            const ui::Font& font = label.Font();
            ambrevo_host_paint_label(id_, at.left, at.top, at.width, at.height,
                                     label.Caption().data(), label.Caption().size(),
                                     font.face.c_str(), font.size, FontStyleBits(font), font.color,
                                     static_cast<int>(label.Alignment()),
                                     (label.WordWrap() ? 1 : 0) | (label.Transparent() ? 2 : 0));
            return;
        }
        case ui::ControlKind::Button: {
            const auto& button = static_cast<const ui::Button&>(control);
            const ui::Font& font = button.Font();
            const int state = (button.Enabled() ? 1 : 0) | (button.Focused() ? 2 : 0) |
                              (router_.Pushed(button) ? 4 : 0);
            ambrevo_host_paint_button(id_, at.left, at.top, at.width, at.height,
                                      button.Caption().data(), button.Caption().size(),
                                      font.face.c_str(), font.size, FontStyleBits(font), state);
            return;
        }
    }
}

// The picture's variant for a denser screen stands in for it while the page is denser than
// one device pixel a CSS pixel; a control smaller than its picture shows the same part of
// the variant (its share of the variant's pixels, halves up). The page enlarges the 1x
// picture smoothly where there is no variant.
void WebForm::PaintPicture(const ui::Picture& picture) {
    const auto& image = picture.Image();
    if (!image || image->Empty()) return;
    const ui::Rect& at = picture.Bounds();
    const int width = std::min(at.width, image->width);
    const int height = std::min(at.height, image->height);
    const auto& dense = picture.DenseImage();
    if (!dense || dense->Empty() || Dpi() <= 96) {
        ambrevo_host_paint_picture(id_, widgets_.BitmapId(image), at.left, at.top, width, height,
                                   width, height);
        return;
    }
    const auto share = [](int part, int denseWhole, int whole) {
        return static_cast<int>((std::int64_t{part} * denseWhole * 2 + whole) / (2 * whole));
    };
    ambrevo_host_paint_picture(id_, widgets_.BitmapId(dense), at.left, at.top, width, height,
                               share(width, dense->width, image->width),
                               share(height, dense->height, image->height));
}

int WebForm::Dpi() const { return static_cast<int>(std::lround(ambrevo_host_pixel_ratio() * 96)); }

// Outside the window's shape the canvas is transparent, as the desktop shows there.
void WebForm::PaintShape() {
    const auto& shape = form_.Shape();
    if (!shape) return;
    const ui::Rect& form = form_.Bounds();
    const ui::Rect& in = shape->bounds;
    ambrevo_host_paint_clear(id_, 0, 0, form.width, std::max(0, in.top));
    ambrevo_host_paint_clear(id_, 0, in.top + in.height, form.width, form.height);
    ambrevo_host_paint_clear(id_, 0, 0, std::max(0, in.left), form.height);
    ambrevo_host_paint_clear(id_, in.left + in.width, 0, form.width, form.height);
    for (const ui::Rect& cut : shape->cutouts) {
        ambrevo_host_paint_clear(id_, cut.left, cut.top, cut.width, cut.height);
    }
}

// Outside the window's shape the desktop shows, and the form gets no input there.
bool WebForm::OnForm(ui::Point at) const {
    const auto& shape = form_.Shape();
    if (!shape) return true;
    if (!shape->bounds.Contains(at.x, at.y)) return false;
    for (const ui::Rect& cut : shape->cutouts) {
        if (cut.Contains(at.x, at.y)) return false;
    }
    return true;
}

void WebForm::Deliver(EventKind kind, int x, int y, int code, int modifiers) {
    if (kind == EventKind::Close) {
        widgets_.App().Dispatch([&] { form_.CloseRequested(); });
        return;
    }
    if (kind == EventKind::Repaint) {
        dirty_ = true;
        const int dpi = Dpi();
        if (dpi == dpi_) return;
        dpi_ = dpi;
        widgets_.App().Dispatch([&] { form_.ScaleChanged(); });
        return;
    }
    if (kind == EventKind::PointerCancel) {
        // The press ends as when Windows takes the capture away: no release, no click.
        dirty_ = true;
        return router_.CaptureLost();
    }
    if (!form_.Visible() || !form_.Enabled()) return;
    const ui::Point at{x, y};
    const ui::KeyModifiers held{(modifiers & kShiftHeld) != 0, (modifiers & kControlHeld) != 0,
                                (modifiers & kAltHeld) != 0};
    switch (kind) {
        case EventKind::MouseDown:
            dirty_ = true;  // a push button is drawn pushed
            return router_.MouseDown(ButtonOf(code), at);
        case EventKind::MouseMove:
            ShowCursorOf(router_.MouseTarget(at));
            return router_.MouseMove(ui::MouseButton::Left, at);
        case EventKind::MouseUp:
            dirty_ = true;
            return router_.MouseUp(ButtonOf(code), at, false);
        case EventKind::Wheel:
            widgets_.App().Dispatch([&] { form_.MouseWheel(code); });
            return;
        case EventKind::KeyDown:
            dirty_ = true;  // the focus may move
            return router_.KeyDown(code, held, (modifiers & kKeyRepeated) != 0);
        case EventKind::KeyUp:
            return router_.KeyUp(code);
        case EventKind::KeyPress:
            return router_.Character(static_cast<std::uint32_t>(code));
        case EventKind::AccessibleFocus:
            dirty_ = true;
            return accessibility_.Focus(code, x);
        case EventKind::AccessiblePress:
            dirty_ = true;
            return accessibility_.Press(code, x);
        case EventKind::Close:
        case EventKind::PointerCancel:
        case EventKind::Repaint:
            return;
    }
}

void WebForm::ShowCursorOf(const ui::Control* control) {
    const int cursor = static_cast<int>(control ? control->GetCursor() : ui::Cursor::Default);
    if (cursor == cursor_) return;
    cursor_ = cursor;
    ambrevo_host_form_cursor(id_, cursor);
}

// Modal, as the Windows popup menu is: the call returns once an entry is chosen or the
// menu is dismissed.
void WebForm::ShowMenu(const ui::PopupMenu& menu, ui::Point at) {
    const auto& entries = menu.Entries();
    if (entries.empty()) return;
    std::string captions;
    for (const auto& entry : entries) captions += (captions.empty() ? "" : "\n") + entry.caption;
    ambrevo_host_menu_show(id_, at.x, at.y, captions.data(), captions.size());
    int chosen = -2;
    while ((chosen = ambrevo_host_menu_choice()) == -2) YieldToBrowser(16);
    if (chosen >= 0) menu.Choose(static_cast<std::size_t>(chosen));
}

}  // namespace ambrevo::web
