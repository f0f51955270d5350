#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "backends/web/bridge/web_host.h"
#include "ui/application.h"
#include "ui/timer_schedule.h"
#include "ui/widgetset.h"

namespace ambrevo::web {

class WebForm;

// The page's font style bits: 1 bold, 2 italic, 4 underline.
int FontStyleBits(const ui::Font& font);

// The control model in a browser page: each form is a canvas the page places, painted here
// control by control in z-order; input arrives through the page's event queue, which only
// the message loop and ProcessMessages read, so no event runs while the core waits.
class WebWidgetset : public ui::Widgetset {
public:
    WebWidgetset();
    ~WebWidgetset() override;

    void Attach(ui::Application& application) { application_ = &application; }
    // Runs after each round of events, ticks and paints.
    std::function<void()> afterPump;
    // Runs after each round of the message loop itself, never inside an event's own
    // waiting (a message box, a sound): where the whole menu may be replaced.
    std::function<void()> whenIdle;
    ui::Application& App() { return *application_; }

    // The id under which the page knows a picture, uploading it the first time.
    int BitmapId(const std::shared_ptr<const Bitmap>& bitmap);

    // For the form peers.
    int Register(WebForm& form);
    void Unregister(WebForm& form);

    // ui::Widgetset
    std::unique_ptr<ui::FormPeer> CreateFormPeer(ui::Form& form) override;
    std::unique_ptr<ui::TimerPeer> CreateTimerPeer(ui::Timer& timer) override;
    void ProcessMessages() override;
    void RunMessageLoop() override;
    void Quit() override { quit_ = true; }
    void SetApplicationTitle(const std::string& title) override;
    void MinimizeApplication() override {}
    void RestoreApplication() override {}
    ui::Size ScreenSize() override;
    ui::Size MeasureText(const ui::Font& font, const std::string& text, int maxWidth) override;
    std::shared_ptr<const Bitmap> ApplicationIconImage() override { return nullptr; }

private:
    struct Upload {
        std::weak_ptr<const Bitmap> bitmap;
        int id = 0;
    };

    // Runs the queued input, the due timer ticks and the paints; never waits.
    void Pump();
    void DeliverEvents();
    void FireDueTimers();
    void ReleaseUnusedBitmaps();
    // Milliseconds until the next timer falls due, at most limit.
    int MillisecondsToNextTimer(int limit) const;

    ui::Application* application_ = nullptr;
    bool quit_ = false;
    double lastYield_ = 0;
    std::vector<WebForm*> forms_;
    int nextFormId_ = 1;
    ui::TimerSchedule timers_{[] { return ambrevo_host_now(); }};
    std::map<const Bitmap*, Upload> uploads_;
    int nextBitmapId_ = 1;
};

}  // namespace ambrevo::web
