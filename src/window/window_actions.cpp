// What the actions ask of the menu window, and the two timers that finish actions: the
// exit after a launch and the watch over a launched program.

#include "window/menu_window.h"

namespace ambrevo {

const MenuItem* TfrmMenuCls::ItemAt(int n) const { return IsItem(n) ? &Item(n) : nullptr; }

void TfrmMenuCls::Hide() { form_.SetVisible(false); }

void TfrmMenuCls::SetEnabled(bool enabled) { form_.SetEnabled(enabled); }

void TfrmMenuCls::StartExitTimer() { exitTimer_.SetInterval(200); }

// A newer watch replaces the older, whose handle is released; the timer keeps its pace.
void TfrmMenuCls::WatchProcess(std::unique_ptr<LaunchedProcess> process) {
    launchedProcess_ = std::move(process);
    processWatchTimer_.SetInterval(300);
}

void TfrmMenuCls::Timer2Timer(ui::Timer&) {
    app_.ProcessMessages();
    app_.Terminate();
}

// Brings the menu back once the watched program has ended, or at once when there is no
// program to wait for.
void TfrmMenuCls::tmrARstr_Timer(ui::Timer&) {
    if (launchedProcess_ && launchedProcess_->Running()) return;
    launchedProcess_.reset();
    app_.Restore();
    processWatchTimer_.SetInterval(0);
    form_.SetFocus();
}

}  // namespace ambrevo
