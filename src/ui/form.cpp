#include "ui/form.h"

#include <algorithm>
#include <utility>

#include "ui/application.h"

namespace ambrevo::ui {

Form::Form(Application& application, std::string name, FormStyle style)
    : application_(application), name_(std::move(name)), style_(style) {
    peer_ = application_.Widgets().CreateFormPeer(*this);
}

Form::~Form() = default;

void Form::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    peer_->CaptionChanged();
}

void Form::SetBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    bounds_ = bounds;
    peer_->BoundsChanged();
}

void Form::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    peer_->VisibleChanged();
}

void Form::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    peer_->EnabledChanged();
}

void Form::SetShape(std::optional<Region> shape) {
    shape_ = std::move(shape);
    peer_->RegionChanged();
}

template <typename T>
T& Form::Add(std::string name) {
    auto control = std::make_unique<T>(*this, std::move(name));
    T& added = *control;
    controls_.push_back(std::move(control));
    added.creationIndex_ = nextCreationIndex_++;
    try {
        peer_->ControlAdded(added);
    } catch (...) {
        controls_.pop_back();  // a control the widgetset cannot show is not kept
        throw;
    }
    return added;
}

Label& Form::AddLabel(std::string name) { return Add<Label>(std::move(name)); }
Picture& Form::AddPicture(std::string name) { return Add<Picture>(std::move(name)); }
Button& Form::AddButton(std::string name) { return Add<Button>(std::move(name)); }

PopupMenu& Form::AddPopupMenu(std::string name) {
    popupMenus_.push_back(std::make_unique<PopupMenu>(std::move(name)));
    return *popupMenus_.back();
}

std::vector<std::unique_ptr<Control>>::iterator Form::Find(const Control& control) {
    return std::find_if(controls_.begin(), controls_.end(),
                        [&](const auto& owned) { return owned.get() == &control; });
}

void Form::DestroyControl(Control& control) {
    const auto found = Find(control);
    if (found == controls_.end()) return;
    peer_->ControlRemoved(control);
    if (focused_ == &control) focused_ = nullptr;
    std::unique_ptr<Control> owned = std::move(*found);
    controls_.erase(found);
    application_.Retire(std::move(owned));
}

Control* Form::FindControl(const std::string& name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name) return control.get();
    }
    return nullptr;
}

void Form::SetFocus() { peer_->FocusForm(); }
void Form::RedrawNow() { peer_->RedrawNow(); }

bool Form::MouseWheel(int delta) {
    if (!onMouseWheel) return false;
    const auto handler = onMouseWheel;
    return handler(*this, delta);
}

void Form::CloseRequested() {
    if (!onClose) return;
    const auto handler = onClose;
    handler(*this);
}

void Form::ScaleChanged() {
    if (!onScaleChanged) return;
    const auto handler = onScaleChanged;
    handler(*this);
}

void Form::ControlChanged(Control& control, ControlChange change, const Rect& old) {
    peer_->ControlChanged(control, change, old);
}

void Form::BringToFront(Control& control) {
    const auto found = Find(control);
    if (found == controls_.end() || found + 1 == controls_.end()) return;
    std::rotate(found, found + 1, controls_.end());
    peer_->ZOrderChanged(control);
}

void Form::SendToBack(Control& control) {
    const auto found = Find(control);
    if (found == controls_.end() || found == controls_.begin()) return;
    std::rotate(controls_.begin(), found, found + 1);
    peer_->ZOrderChanged(control);
}

}  // namespace ambrevo::ui
