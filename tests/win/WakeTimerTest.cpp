#include "schedule/CpuSampling_win.h"
#include "schedule/ScheduleStore.h"
#include "schedule/WakeTimer_win.h"

#include "platform/Handles.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvo {
namespace {

constexpr UINT kThreadEnd = WM_APP + 30;
constexpr DWORD kGenerousMs = 60000;
constexpr DateTime kSecond = 1.0 / 86400;
constexpr DateTime kHour = 1.0 / 24;

// The window the wake thread reports to, as the power schedule dialog is: its
// procedure hands the message to the timer on this (the user-interface) thread.
class ReportWindow : public win::Window {
  public:
    explicit ReportWindow(WakeTimer& timer) : timer_(timer) {}
    int reports = 0;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kThreadEnd)
            return defaultHandling(msg, wParam, lParam);
        ++reports;
        timer_.ThreadEnd(wParam);
        return 0;
    }

  private:
    WakeTimer& timer_;
};

bool namedTimerExists() {
    return static_cast<bool>(
        win::UniqueHandle(OpenWaitableTimerW(SYNCHRONIZE, FALSE, kWakeTimerName)));
}

// Serves the thread's messages until `done` holds; false after the time-out.
bool pumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > kGenerousMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return true;
}

class WakeTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(win::Window::registerClass({.className = L"KelvoWakeReport"}));
        ASSERT_TRUE(window.create({.className = L"KelvoWakeReport", .title = L"wake"}));
        timer.SetNotifyTarget(window.hwnd(), kThreadEnd);
    }
    void TearDown() override { timer.Cancel(); }

    WakeTimer timer;
    ReportWindow window{timer};
};

TEST_F(WakeTimerTest, AnArmedTimerFiresOnceAndClearsTheFlagOnThisThread) {
    struct Case {
        const char* name;
        DateTime firstArm; // from now; 0 = armed only once
    };
    // Arming again while a thread waits moves the one wake-up: the earlier
    // thread must end without a word, or its report would clear the new flag.
    for (const Case& c : {Case{"single", 0}, Case{"re-armed earlier", kHour}}) {
        SCOPED_TRACE(c.name);
        window.reports = 0;
        if (c.firstArm > 0) {
            ASSERT_TRUE(timer.ArmWakeTimer(localNow() + c.firstArm));
        }
        const DateTime at = localNow() + 2 * kSecond;
        ASSERT_TRUE(timer.ArmWakeTimer(at));
        EXPECT_TRUE(timer.WakeTimerSet());
        EXPECT_EQ(timer.ArmedWakeTime(), at);
        EXPECT_TRUE(namedTimerExists());

        ASSERT_TRUE(pumpUntil([&] { return !timer.WakeTimerSet(); }))
            << "the wake thread never reported";
        EXPECT_EQ(window.reports, 1);
        EXPECT_EQ(timer.ArmedWakeTime(), at) << "the instant stays known after the wake-up";
        EXPECT_FALSE(namedTimerExists()) << "the fired timer was let go";
    }
}

TEST_F(WakeTimerTest, CancelEndsTheThreadWithoutAReport) {
    ASSERT_TRUE(timer.ArmWakeTimer(localNow() + 2 * kSecond));
    timer.Cancel(); // returns once the thread has ended
    EXPECT_FALSE(timer.WakeTimerSet());
    EXPECT_EQ(timer.ArmedWakeTime(), 0);
    EXPECT_FALSE(namedTimerExists());
    // A thread that had reported would have left its message in the queue.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, window.hwnd(), kThreadEnd, kThreadEnd, PM_NOREMOVE));
}

TEST_F(WakeTimerTest, CarriesOutEachDecisionOfTheScheduleEvaluation) {
    const DateTime later = localNow() + kHour;
    struct Step {
        const char* name;
        WakeTimerDecision decision;
        bool armed;         // WakeTimerSet afterwards
        DateTime armedTime; // ArmedWakeTime afterwards
    };
    const Step steps[] = {
        {"arm", {WakeTimerAction::Arm, later}, true, later},
        {"keep", {WakeTimerAction::Keep, 0}, true, later},
        {"cancel", {WakeTimerAction::Cancel, 0}, false, 0},
        {"arm again", {WakeTimerAction::Arm, later + kHour}, true, later + kHour},
        // Forget is chosen only when no thread waits; it drops the instant alone.
        {"forget", {WakeTimerAction::Forget, 0}, true, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_TRUE(timer.CarryOut(step.decision));
        EXPECT_EQ(timer.WakeTimerSet(), step.armed);
        EXPECT_EQ(namedTimerExists(), step.armed);
        EXPECT_EQ(timer.ArmedWakeTime(), step.armedTime);
    }
}

TEST_F(WakeTimerTest, TheItemSchedulesAimTheTimerAtTheirEarliestWakeUp) {
    const DateTime now = localNow();
    const DateTime sixHours = 6 * kHour;
    const int leadMinutes = 2;
    ScheduleStore store;
    store.RedumeWaitTime = leadMinutes;
    TScheduleData daily;
    InitScheduleRecord(daily);
    daily.UseSchedule = true;
    daily.StartScheduleMode[0] = kModeDaily;
    daily.RedumeStart[0] = true;
    // Every day six hours from now, whether that is still today or tomorrow.
    const DateTime start = now + sixHours;
    daily.StartTime[0] = start - static_cast<long long>(start);
    store.Schedules[3] = {TScheduleData{}, daily};

    const ScheduleWakeResult armed = ArmScheduleWakeTimer(timer, store, 0, now);
    EXPECT_FALSE(armed.armFailed);
    EXPECT_NEAR(armed.scheduleWakeTime, start - leadMinutes * 60 * kSecond, kSecond);
    EXPECT_TRUE(timer.WakeTimerSet());
    EXPECT_EQ(timer.ArmedWakeTime(), armed.scheduleWakeTime);

    // A power schedule wake-up that comes first keeps the timer.
    const DateTime powerWake = now + kSecond * 30;
    timer.ArmWakeTimer(powerWake);
    EXPECT_FALSE(ArmScheduleWakeTimer(timer, store, powerWake, now).armFailed);
    EXPECT_EQ(timer.ArmedWakeTime(), powerWake);

    // No item wants a wake-up any more and the power one has passed: cancelled.
    store.Schedules[3][1].RedumeStart[0] = false;
    const ScheduleWakeResult none =
        ArmScheduleWakeTimer(timer, store, powerWake, powerWake + kHour);
    EXPECT_EQ(none.scheduleWakeTime, 0);
    EXPECT_FALSE(timer.WakeTimerSet());
    EXPECT_FALSE(namedTimerExists());
}

TEST(CpuSampling, BothSourcesGiveCumulativeTimesThatOnlyGrow) {
    struct Source {
        const char* name;
        std::optional<CpuTimes> (*read)();
    };
    for (const Source& source :
         {Source{"GetSystemTimes", &readSystemTimes},
          Source{"NtQuerySystemInformation", &readProcessorPerformanceTimes}}) {
        SCOPED_TRACE(source.name);
        const std::optional<CpuTimes> first = source.read();
        ASSERT_TRUE(first);
        EXPECT_GT(first->kernel + first->user, 0);
        EXPECT_LE(first->idle, first->kernel) << "kernel time includes idle time";
        std::optional<CpuTimes> second;
        ASSERT_TRUE(pumpUntil([&] {
            second = source.read();
            return second && second->kernel + second->user > first->kernel + first->user;
        })) << "the processor times never advanced";
        EXPECT_GE(second->idle, first->idle);
    }
}

TEST(CpuSampling, TheFirstSampleIsZeroAndTheNextAPercentage) {
    CpuUsageSampler sampler;
    EXPECT_EQ(sampleCpuUsage(sampler), 0);
    const std::optional<CpuTimes> start = readCpuTimes();
    ASSERT_TRUE(start);
    volatile unsigned spin = 0;
    ASSERT_TRUE(pumpUntil([&] {
        for (int i = 0; i < 1000000; ++i)
            spin = spin + 1; // some work, so the interval is not all idle
        const std::optional<CpuTimes> now = readCpuTimes();
        return now && now->kernel + now->user > start->kernel + start->user;
    }));
    const std::uint8_t percent = sampleCpuUsage(sampler);
    EXPECT_LE(percent, 100);
}

} // namespace
} // namespace kelvo
