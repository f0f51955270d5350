// The clock, the frame animation, the scrolling title and the delayed item click.

#include "window/marquee.h"
#include "window/menu_window.h"

namespace ambrevo {
void TfrmMenuCls::BindTimers() {
    clockTimer_.onTick = Handler(&TfrmMenuCls::Timer1_Timer);
    animationTimer_.onTick = Handler(&TfrmMenuCls::Timer3_Timer);
    titleTimer_.onTick = Handler(&TfrmMenuCls::Timer4_Timer);
    clickTimer_.onTick = Handler(&TfrmMenuCls::Timer5Timer);
    exitTimer_.onTick = Handler(&TfrmMenuCls::Timer2Timer);
    processWatchTimer_.onTick = Handler(&TfrmMenuCls::tmrARstr_Timer);
}

// The labels change whether or not the menu shows them.
void TfrmMenuCls::Timer1_Timer(ui::Timer&) { ShowClockTexts(); }

// A failing animation step is skipped; the next tick tries again.
void TfrmMenuCls::Timer3_Timer(ui::Timer&) {
    try {
        AnimateItems();
    } catch (...) {
        // Not reported: a failing step would bring an error box on every tick.
    }
    app_.ProcessMessages();
}

// The position survives a menu load and wraps to 1 when the new title is shorter.
void TfrmMenuCls::Timer4_Timer(ui::Timer&) {
    if (marqueeText_.empty()) marqueeText_ = ambrevo::MarqueeText(def_.title);
    if (++marqueePosition_ > MarqueeLength(marqueeText_)) marqueePosition_ = 1;
    const std::string caption = MarqueeCaption(marqueeText_, marqueePosition_);
    form_.SetCaption(caption);
    app_.SetTitle(caption);
    form_.RedrawNow();
    app_.ProcessMessages();
}

// One shot: stopped before the launch, so that a launch that fails, or runs messages in
// which this timer would fall due again, launches the item once.
void TfrmMenuCls::Timer5Timer(ui::Timer&) {
    clickTimer_.SetInterval(0);
    LaunchItem(pendingClickItem_);
}

}  // namespace ambrevo
