#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "backends/win32/services/win32_clock.h"
#include "backends/win32/widgetset_fixture.h"
#include "ui/timer.h"

namespace ambrevo::win32 {
namespace {

using TimerTest = WidgetsetTest;

TEST_F(TimerTest, TicksRepeatUntilStopped) {
    ui::Timer timer(app_, "Timer1");
    int ticks = 0;
    timer.onTick = [&](ui::Timer&) { ++ticks; };
    timer.SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));

    timer.SetInterval(0);
    const int stoppedAt = ticks;
    PumpFor(100);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(TimerTest, ANewIntervalCountsFromNow) {
    ui::Timer timer(app_, "Timer5");
    int ticks = 0;
    timer.onTick = [&](ui::Timer&) { ++ticks; };
    timer.SetInterval(300);
    PumpFor(150);
    ASSERT_EQ(ticks, 0);
    const auto restarted = std::chrono::steady_clock::now();
    timer.SetInterval(301);
    ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }));
    // Timer ticks may come a few milliseconds early.
    EXPECT_GE(std::chrono::steady_clock::now() - restarted, std::chrono::milliseconds(280));
}

TEST_F(TimerTest, ErrorInATickIsReportedAndTheTimerGoesOn) {
    ui::Timer timer(app_, "Timer3");
    int ticks = 0;
    timer.onTick = [&](ui::Timer&) {
        if (++ticks == 1) throw std::runtime_error("Frame failed");
    };
    timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text, "Frame failed.");
}

TEST(Win32ClockTest, TextsShowTodayInTheLocaleFormats) {
    Win32Clock clock;
    const Date today = clock.Today();
    EXPECT_NE(clock.ShortDateText().find(std::to_string(today.year % 100)), std::string::npos);
    const std::string time = clock.LongTimeText();
    EXPECT_GE(std::count(time.begin(), time.end(), ':'), 2) << time;
    EXPECT_EQ(time.find('\0'), std::string::npos);
}

}  // namespace
}  // namespace ambrevo::win32
