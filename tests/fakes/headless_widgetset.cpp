#include "fakes/headless_widgetset.h"

#include <algorithm>
#include <utility>

#include "support/app_error.h"
#include "ui/timer.h"

namespace ambrevo {

class HeadlessWidgetset::FormPeer : public ui::FormPeer, private ui::InputSurface {
public:
    FormPeer(HeadlessWidgetset& widgets, ui::Form& form)
        : widgets_(widgets),
          form_(form),
          router_(form, *this, ui::InputRouter::ButtonInput::Native) {
        widgets_.peers_[&form] = this;
    }
    ~FormPeer() override { widgets_.peers_.erase(&form_); }

    ui::InputRouter& Router() { return router_; }

    void CaptionChanged() override { ++Record().captionChanges; }
    void BoundsChanged() override {}
    void VisibleChanged() override {}
    void EnabledChanged() override { ++Record().enabledChanges; }
    int Dpi() const override { return widgets_.dpi_; }
    void RegionChanged() override { ++Record().regionChanges; }
    void ControlAdded(ui::Control& control) override {
        if (widgets_.controlsUntilRefusal_ > 0 && --widgets_.controlsUntilRefusal_ == 0) {
            throw AppError("Cannot create the control \"" + control.Name() + "\"");
        }
        ++Record().liveControls;
    }
    void ControlRemoved(ui::Control& control) override {
        router_.Forget(control);
        --Record().liveControls;
    }
    void ControlChanged(ui::Control& control, ui::ControlChange, const ui::Rect&) override {
        ++Record().controlChanges;
        ++Record().changesByControl[control.Name()];
    }
    void ZOrderChanged(ui::Control&) override {}
    // Focus moves at once and fires GotFocus, only when it changes, as on Windows.
    void FocusControl(ui::Button& button) override {
        if (form_.FocusedButton() == &button) return;
        widgets_.Dispatch([&] { button.GotFocus(); });
    }
    void FocusForm() override {
        ++Record().focusFormCalls;
        form_.FocusChanged(nullptr);
    }
    void RedrawNow() override { ++Record().redrawsNow; }
    void AccessibilityEvent(ui::AccessibleEvent event, int element) override {
        Record().accessibilityEvents.emplace_back(event, element);
    }

private:
    FormRecord& Record() { return widgets_.Record(form_); }
    // ui::InputSurface
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    bool OnForm(ui::Point at) const override {
        const ui::Rect& bounds = form_.Bounds();
        return ui::Rect{0, 0, bounds.width, bounds.height}.Contains(at.x, at.y);
    }
    void ShowMenu(const ui::PopupMenu& menu, ui::Point) override {
        widgets_.shownMenus_.push_back(&menu);
        const auto choice = std::exchange(widgets_.nextMenuChoice_, std::nullopt);
        if (choice) menu.Choose(*choice);
    }

    HeadlessWidgetset& widgets_;
    ui::Form& form_;
    ui::InputRouter router_;
};

HeadlessWidgetset::~HeadlessWidgetset() = default;

std::unique_ptr<ui::FormPeer> HeadlessWidgetset::CreateFormPeer(ui::Form& form) {
    return std::make_unique<FormPeer>(*this, form);
}

std::unique_ptr<ui::TimerPeer> HeadlessWidgetset::CreateTimerPeer(ui::Timer& timer) {
    return timers_.CreatePeer(timer);
}

void HeadlessWidgetset::Advance(int milliseconds) {
    const long long end = now_ + milliseconds;
    double due = 0;
    while (ui::Timer* next = timers_.FirstDue(static_cast<double>(end), &due)) {
        now_ = std::max(now_, static_cast<long long>(due));
        timers_.Rearm(*next, static_cast<double>(now_));
        Dispatch([&] { next->Tick(); });
    }
    now_ = end;
}

bool HeadlessWidgetset::TimerRunning(const ui::Timer& timer) const {
    return timers_.Running(timer);
}

void HeadlessWidgetset::InjectDuringProcessMessages(std::function<void()> event) {
    injected_.push_back(std::move(event));
}

void HeadlessWidgetset::ProcessMessages() {
    ++processMessagesCalls_;
    // Only the events waiting now: one injected during these runs at a later call.
    std::deque<std::function<void()>> waiting;
    waiting.swap(injected_);
    for (const auto& event : waiting) Dispatch(event);
}

void HeadlessWidgetset::RunMessageLoop() {
    while (!quit_ && !injected_.empty()) ProcessMessages();
}

void HeadlessWidgetset::Dispatch(const std::function<void()>& event) {
    if (application_) {
        application_->Dispatch(event);
    } else {
        event();
    }
}

namespace {

bool IsButton(const ui::Control& control) { return control.Kind() == ui::ControlKind::Button; }

ui::Point FormPoint(const ui::Control& control, int x, int y) {
    return {control.Bounds().left + x, control.Bounds().top + y};
}

}  // namespace

void HeadlessWidgetset::MouseDown(ui::Control& control, int x, int y, ui::MouseButton button) {
    if (IsButton(control)) return Dispatch([&] { control.MouseDown({button, x, y}); });
    Input(control.Owner()).MouseDown(button, FormPoint(control, x, y));
}

void HeadlessWidgetset::MouseMove(ui::Control& control, int x, int y) {
    if (IsButton(control))
        return Dispatch([&] { control.MouseMove({ui::MouseButton::Left, x, y}); });
    Input(control.Owner()).MouseMove(ui::MouseButton::Left, FormPoint(control, x, y));
}

void HeadlessWidgetset::MouseUp(ui::Control& control, int x, int y, ui::MouseButton button) {
    if (IsButton(control)) return Dispatch([&] { control.MouseUp({button, x, y}); });
    Input(control.Owner()).MouseUp(button, FormPoint(control, x, y), false);
}

ui::InputRouter& HeadlessWidgetset::Input(const ui::Form& form) {
    return peers_.at(&form)->Router();
}

void HeadlessWidgetset::Click(ui::Control& control) {
    // A disabled button takes no clicks, as on Windows.
    if (control.Kind() == ui::ControlKind::Button && !static_cast<ui::Button&>(control).Enabled()) {
        return;
    }
    Dispatch([&] { control.Click(); });
}

void HeadlessWidgetset::KeyDown(ui::Button& button, int key) {
    Dispatch([&] { button.KeyDown(key); });
}

// As a native button's characters, through the router's rule for them.
void HeadlessWidgetset::KeyPress(ui::Button& button, char character) {
    Input(button.Owner()).KeyPress(button, static_cast<unsigned char>(character));
}

bool HeadlessWidgetset::Wheel(ui::Form& form, int delta) {
    bool handled = false;
    Dispatch([&] { handled = form.MouseWheel(delta); });
    return handled;
}

HeadlessWidgetset::FormRecord& HeadlessWidgetset::Record(const ui::Form& form) {
    return records_[&form];
}

ui::Size HeadlessWidgetset::MeasureText(const ui::Font& font, const std::string& text,
                                        int maxWidth) {
    // In 64 bits and clamped: a menu may ask for any font size.
    const auto clamp = [](long long value) {
        return static_cast<int>(std::clamp<long long>(value, 0, 1'000'000));
    };
    const long long size = std::clamp(font.size, 1, 100'000);
    const long long charWidth = std::max(1LL, size * 6 / 8);
    const long long lineHeight = std::max(1LL, size * 13 / 8);
    const long long width = static_cast<long long>(text.size()) * charWidth;
    if (maxWidth <= 0 || width <= maxWidth) return {clamp(width), clamp(lineHeight)};
    const long long lines = (width + maxWidth - 1) / maxWidth;
    return {maxWidth, clamp(lines * lineHeight)};
}

}  // namespace ambrevo
