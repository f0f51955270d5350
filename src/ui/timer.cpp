#include "ui/timer.h"

#include <utility>

#include "ui/application.h"

namespace ambrevo::ui {

Timer::Timer(Application& application, std::string name)
    : name_(std::move(name)), peer_(application.Widgets().CreateTimerPeer(*this)) {}

Timer::~Timer() { peer_->Stop(); }

void Timer::SetInterval(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    if (interval_ == 0) {
        peer_->Stop();
    } else {
        peer_->Start(interval_);
    }
}

void Timer::Tick() {
    if (interval_ == 0 || !onTick) return;
    const auto handler = onTick;
    handler(*this);
}

}  // namespace ambrevo::ui
