#include "ui/control.h"

#include <utility>

#include "ui/application.h"
#include "ui/form.h"

namespace ambrevo::ui {

Control::Control(ControlKind kind, Form& owner, std::string name)
    : kind_(kind), owner_(owner), name_(std::move(name)) {}

void Control::Changed(ControlChange change) { owner_.ControlChanged(*this, change, bounds_); }

void Control::SetBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    const Rect old = bounds_;
    bounds_ = bounds;
    owner_.ControlChanged(*this, ControlChange::Bounds, old);
}

void Control::SetPosition(int left, int top) {
    SetBounds({left, top, bounds_.width, bounds_.height});
}

void Control::SetSize(int width, int height) {
    SetBounds({bounds_.left, bounds_.top, width, height});
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(ControlChange::Visible);
}

void Control::SetCursor(Cursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    Changed(ControlChange::Cursor);
}

void Control::BringToFront() { owner_.BringToFront(*this); }
void Control::SendToBack() { owner_.SendToBack(*this); }

template <typename F, typename... Args>
void Control::Fire(const F& handler, Args&&... args) {
    if (!handler) return;
    const F copy = handler;
    copy(*this, std::forward<Args>(args)...);
}

void Control::MouseDown(const MouseEvent& event) { Fire(onMouseDown, event); }
void Control::MouseMove(const MouseEvent& event) { Fire(onMouseMove, event); }
void Control::MouseUp(const MouseEvent& event) { Fire(onMouseUp, event); }
void Control::Click() { Fire(onClick); }

TextControl::TextControl(ControlKind kind, Form& owner, std::string name)
    : Control(kind, owner, std::move(name)), font_(owner.Font()) {}

void TextControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed(ControlChange::Caption);
    TextChanged();
}

void TextControl::SetFont(const ui::Font& font) {
    if (font == font_) return;
    font_ = font;
    Changed(ControlChange::Font);
    TextChanged();
}

Label::Label(Form& owner, std::string name)
    : TextControl(ControlKind::Label, owner, std::move(name)) {}

void Label::SetAlignment(ui::Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Changed(ControlChange::Style);
}

void Label::SetWordWrap(bool wrap) {
    if (wrap == wordWrap_) return;
    wordWrap_ = wrap;
    Changed(ControlChange::Style);
    FitToText();
}

void Label::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed(ControlChange::Style);
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToText();
}

void Label::TextChanged() { FitToText(); }

void Label::FitToText() {
    if (!autoSize_) return;
    const int maxWidth = wordWrap_ ? Bounds().width : 0;
    const Size size = Owner().App().Widgets().MeasureText(Font(), Caption(), maxWidth);
    SetSize(wordWrap_ ? Bounds().width : size.width, size.height);
}

Picture::Picture(Form& owner, std::string name)
    : Control(ControlKind::Picture, owner, std::move(name)) {}

void Picture::SetImage(std::shared_ptr<const Bitmap> image,
                       std::shared_ptr<const Bitmap> denseImage) {
    if (image == image_ && denseImage == denseImage_) return;
    image_ = std::move(image);
    denseImage_ = std::move(denseImage);
    Changed(ControlChange::Picture);
    FitToImage();
}

void Picture::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToImage();
}

void Picture::FitToImage() {
    if (!autoSize_) return;
    if (image_ && !image_->Empty()) {
        SetSize(image_->width, image_->height);
    } else {
        SetSize(0, 0);
    }
}

Button::Button(Form& owner, std::string name)
    : TextControl(ControlKind::Button, owner, std::move(name)) {}

void Button::SetTabStop(bool tabStop) {
    if (tabStop == tabStop_) return;
    tabStop_ = tabStop;
    Changed(ControlChange::TabStop);
}

void Button::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(ControlChange::Enabled);
}

void Button::SetFocus() {
    if (Visible()) Owner().Peer().FocusControl(*this);
}

bool Button::Focused() const { return Owner().FocusedButton() == this; }

void Button::GotFocus() {
    Owner().FocusChanged(this);
    Fire(onGotFocus);
}

void Button::KeyDown(int key) { Fire(onKeyDown, key); }
void Button::KeyPress(char character) { Fire(onKeyPress, character); }

}  // namespace ambrevo::ui
