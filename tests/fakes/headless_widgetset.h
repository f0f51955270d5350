#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/application.h"
#include "ui/input_router.h"
#include "ui/timer_schedule.h"
#include "ui/widgetset.h"

namespace ambrevo {

// Runs the control model without windows: a fake millisecond clock fires the timers,
// tests inject input and events that run inside "process pending messages", and every
// change the model reports is counted, so tests can see what would be repainted.
class HeadlessWidgetset : public ui::Widgetset {
public:
    // What one form's peer saw.
    struct FormRecord {
        int controlChanges = 0;  // every reported change of a control
        std::map<std::string, int> changesByControl;
        int captionChanges = 0;
        int regionChanges = 0;
        int redrawsNow = 0;
        int focusFormCalls = 0;
        int enabledChanges = 0;
        int liveControls = 0;  // added and not yet removed
        // What assistive technology was told, in order, with the element concerned.
        std::vector<std::pair<ui::AccessibleEvent, int>> accessibilityEvents;
    };

    HeadlessWidgetset() = default;
    ~HeadlessWidgetset() override;

    // Events are dispatched through this application, as a real widgetset does.
    void Attach(ui::Application& application) { application_ = &application; }

    // The clock: Advance runs every timer tick that falls due, in time order.
    long long Now() const { return now_; }
    void Advance(int milliseconds);
    bool TimerRunning(const ui::Timer& timer) const;

    // Runs the event at the next ProcessMessages (or the one after, and so on, in order).
    void InjectDuringProcessMessages(std::function<void()> event);
    int ProcessMessagesCalls() const { return processMessagesCalls_; }

    // Input, each dispatched like a real event. Push buttons are native, as on Windows: they
    // get their mouse, keys and clicks themselves. The mouse over the other controls goes
    // through the form's input router at the control's position plus x, y, so a control
    // above it or one holding the capture gets it instead.
    void MouseDown(ui::Control& control, int x, int y,
                   ui::MouseButton button = ui::MouseButton::Left);
    void MouseMove(ui::Control& control, int x, int y);
    void MouseUp(ui::Control& control, int x, int y,
                 ui::MouseButton button = ui::MouseButton::Left);
    // A push button's native click.
    void Click(ui::Control& control);
    // The form's router: Tab, access keys and the keyboard's context menu (Shift+F10 and the
    // context-menu key through ContextMenuKey).
    ui::InputRouter& Input(const ui::Form& form);
    // The menus the router showed, last one last, and the entry the next one chooses
    // (none: dismissed).
    const std::vector<const ui::PopupMenu*>& ShownMenus() const { return shownMenus_; }
    void ChooseInNextMenu(std::optional<std::size_t> entry) { nextMenuChoice_ = entry; }
    void KeyDown(ui::Button& button, int key);
    void KeyPress(ui::Button& button, char character);
    bool Wheel(ui::Form& form, int delta);
    void Dispatch(const std::function<void()>& event);

    FormRecord& Record(const ui::Form& form);
    const std::string& ApplicationTitle() const { return applicationTitle_; }
    int MinimizeCalls() const { return minimizeCalls_; }
    int RestoreCalls() const { return restoreCalls_; }
    bool QuitCalled() const { return quit_; }
    void SetScreenSize(ui::Size size) { screen_ = size; }
    // The pixels per inch every form's screen has (96 unless told).
    void SetDpi(int dpi) { dpi_ = dpi; }
    // The k-th control added from now on (k from 1) cannot be shown: its peer throws
    // AppError, as a native control that cannot be created does.
    void RefuseControl(int k) { controlsUntilRefusal_ = k; }

    // ui::Widgetset
    std::unique_ptr<ui::FormPeer> CreateFormPeer(ui::Form& form) override;
    std::unique_ptr<ui::TimerPeer> CreateTimerPeer(ui::Timer& timer) override;
    void ProcessMessages() override;
    void RunMessageLoop() override;
    void Quit() override { quit_ = true; }
    void SetApplicationTitle(const std::string& title) override { applicationTitle_ = title; }
    void MinimizeApplication() override { ++minimizeCalls_; }
    void RestoreApplication() override { ++restoreCalls_; }
    ui::Size ScreenSize() override { return screen_; }
    // Characters are 6 pixels wide and lines 13 high at 8 points, scaled with the size.
    ui::Size MeasureText(const ui::Font& font, const std::string& text, int maxWidth) override;
    std::shared_ptr<const Bitmap> ApplicationIconImage() override { return icon_; }

private:
    class FormPeer;

    ui::Application* application_ = nullptr;
    long long now_ = 0;
    ui::TimerSchedule timers_{[this] { return static_cast<double>(now_); }};
    std::deque<std::function<void()>> injected_;
    int processMessagesCalls_ = 0;
    std::map<const ui::Form*, FormRecord> records_;
    std::map<const ui::Form*, FormPeer*> peers_;
    std::vector<const ui::PopupMenu*> shownMenus_;
    std::optional<std::size_t> nextMenuChoice_;
    std::string applicationTitle_;
    int minimizeCalls_ = 0;
    int restoreCalls_ = 0;
    bool quit_ = false;
    ui::Size screen_{1024, 768};
    int dpi_ = 96;
    int controlsUntilRefusal_ = 0;  // 0 = none refused
    std::shared_ptr<const Bitmap> icon_ =
        std::make_shared<Bitmap>(Bitmap{32, 32, Pixels(32 * 32, 0x3366CC)});
};

}  // namespace ambrevo
