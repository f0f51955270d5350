#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/widgetset.h"

namespace ambrevo::ui {

class Timer;

// The running timers of a widgetset that keeps its own (the browser's, the tests'): each
// timer's interval and the time it is next due, on the widgetset's clock in milliseconds.
// A timer ticks once per due time however late it is, as Windows gives one WM_TIMER.
class TimerSchedule {
public:
    explicit TimerSchedule(std::function<double()> now) : now_(std::move(now)) {}
    TimerSchedule(const TimerSchedule&) = delete;
    TimerSchedule& operator=(const TimerSchedule&) = delete;

    // The peer of a new timer; destroying it takes the timer out of the schedule.
    std::unique_ptr<TimerPeer> CreatePeer(Timer& timer);

    bool Running(const Timer& timer) const;
    // The running timer due first, not later than until (the first created of a tie), and
    // its due time; null when none.
    Timer* FirstDue(double until, double* due = nullptr) const;
    // The timer is next due an interval after at.
    void Rearm(const Timer& timer, double at);
    // The timers due by now, each rearmed from now, in creation order.
    std::vector<Timer*> TakeDue();
    // Milliseconds until the first due time, between 0 and limit.
    double TimeToNext(double limit) const;

private:
    class Peer;
    struct Entry {
        Timer* timer = nullptr;
        int interval = 0;  // 0 = stopped
        double due = 0;
    };
    Entry* Find(const Timer& timer) const;

    std::function<double()> now_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace ambrevo::ui
