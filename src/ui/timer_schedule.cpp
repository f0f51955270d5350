#include "ui/timer_schedule.h"

#include <algorithm>

namespace ambrevo::ui {

class TimerSchedule::Peer : public TimerPeer {
public:
    Peer(TimerSchedule& schedule, Entry& entry) : schedule_(schedule), entry_(entry) {}
    ~Peer() override {
        std::erase_if(schedule_.entries_,
                      [&](const auto& owned) { return owned.get() == &entry_; });
    }
    void Start(int milliseconds) override {
        entry_.interval = milliseconds;
        entry_.due = schedule_.now_() + milliseconds;
    }
    void Stop() override { entry_.interval = 0; }

private:
    TimerSchedule& schedule_;
    Entry& entry_;
};

std::unique_ptr<TimerPeer> TimerSchedule::CreatePeer(Timer& timer) {
    entries_.push_back(std::make_unique<Entry>(Entry{&timer}));
    return std::make_unique<Peer>(*this, *entries_.back());
}

TimerSchedule::Entry* TimerSchedule::Find(const Timer& timer) const {
    for (const auto& entry : entries_) {
        if (entry->timer == &timer) return entry.get();
    }
    return nullptr;
}

bool TimerSchedule::Running(const Timer& timer) const {
    const Entry* entry = Find(timer);
    return entry && entry->interval > 0;
}

Timer* TimerSchedule::FirstDue(double until, double* due) const {
    const Entry* first = nullptr;
    for (const auto& entry : entries_) {
        if (entry->interval > 0 && entry->due <= until && (!first || entry->due < first->due)) {
            first = entry.get();
        }
    }
    if (first && due) *due = first->due;
    return first ? first->timer : nullptr;
}

void TimerSchedule::Rearm(const Timer& timer, double at) {
    if (Entry* entry = Find(timer)) entry->due = at + entry->interval;
}

std::vector<Timer*> TimerSchedule::TakeDue() {
    const double now = now_();
    std::vector<Timer*> due;
    for (const auto& entry : entries_) {
        if (entry->interval > 0 && entry->due <= now) {
            entry->due = now + entry->interval;
            due.push_back(entry->timer);
        }
    }
    return due;
}

double TimerSchedule::TimeToNext(double limit) const {
    const double now = now_();
    double wait = limit;
    for (const auto& entry : entries_) {
        if (entry->interval > 0) wait = std::min(wait, entry->due - now);
    }
    return std::max(0.0, wait);
}

}  // namespace ambrevo::ui
