#include "ui/timer_schedule.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace ambrevo::ui {
namespace {

// The schedule on a clock the test sets; the timers' own peers come from the headless
// widgetset, so that peers made here are the schedule's alone.
class TimerScheduleTest : public ::testing::Test {
protected:
    std::unique_ptr<TimerPeer> Started(Timer& timer, int interval) {
        auto peer = schedule_.CreatePeer(timer);
        peer->Start(interval);
        return peer;
    }

    double now_ = 0;
    TimerSchedule schedule_{[this] { return now_; }};
    HeadlessWidgetset widgets_;
    testing::FakeDialogs dialogs_;
    Application app_{widgets_, dialogs_};
    Timer a_{app_, "a"};
    Timer b_{app_, "b"};
};

TEST_F(TimerScheduleTest, TheFirstDueTimerWinsAndTiesGoToTheFirstCreated) {
    auto a = Started(a_, 100);
    auto b = Started(b_, 50);
    double due = 0;
    EXPECT_EQ(schedule_.FirstDue(49), nullptr);
    EXPECT_EQ(schedule_.FirstDue(1000, &due), &b_);
    EXPECT_EQ(due, 50);
    schedule_.Rearm(b_, 50);  // next due at 100, with a
    EXPECT_EQ(schedule_.FirstDue(1000, &due), &a_);
    EXPECT_EQ(schedule_.TimeToNext(500), 100);
    now_ = 130;
    EXPECT_EQ(schedule_.TimeToNext(500), 0);  // late: never negative
    b->Stop();
    EXPECT_FALSE(schedule_.Running(b_));
    EXPECT_EQ(schedule_.TimeToNext(500), 0);
    a.reset();  // the timer's peer goes, and the timer with it
    EXPECT_FALSE(schedule_.Running(a_));
    EXPECT_EQ(schedule_.FirstDue(1000), nullptr);
    EXPECT_EQ(schedule_.TimeToNext(500), 500);
}

TEST_F(TimerScheduleTest, EachDueTimerIsTakenOnceHoweverLateAndCountsOnFromThen) {
    auto a = Started(a_, 100);
    auto b = Started(b_, 300);
    const struct {
        double now;
        std::vector<Timer*> due;
    } steps[] = {
        {99, {}},  {350, {&a_, &b_}},  // a three times late: one tick
        {449, {}}, {450, {&a_}},      {650, {&a_, &b_}},
    };
    for (const auto& step : steps) {
        now_ = step.now;
        EXPECT_EQ(schedule_.TakeDue(), step.due) << step.now;
    }
    b->Start(300);  // restarted: counts from now
    now_ = 949;
    EXPECT_EQ(schedule_.TakeDue(), std::vector<Timer*>{&a_});
    now_ = 950;
    EXPECT_EQ(schedule_.TakeDue(), std::vector<Timer*>{&b_});
}

}  // namespace
}  // namespace ambrevo::ui
