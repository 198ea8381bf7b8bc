#include "hook/cbthook/ForegroundTracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

namespace kelvo::hook {

void PrintTo(const WindowEvent& event, std::ostream* os) {
    *os << "{" << event.window << ", code " << static_cast<int>(event.code) << "}";
}

namespace {

const HWND kEditor = reinterpret_cast<HWND>(0x1010);
const HWND kBrowser = reinterpret_cast<HWND>(0x2020);
constexpr RECT kAtOrigin{0, 0, 400, 300};
constexpr RECT kMoved{50, 20, 450, 320};
constexpr RECT kResized{0, 0, 500, 300};

constexpr auto kActivated = WindowEventCode::Activated;
constexpr auto kMovedOrSized = WindowEventCode::MovedOrSized;
constexpr auto kDestroyed = WindowEventCode::Destroyed;

// One look at the desktop and the events it must produce.
struct Look {
    HWND foreground; // nullptr: nothing to report is in front
    RECT rect;
    std::vector<HWND> destroyed; // windows that no longer exist at this look
    std::vector<WindowEvent> expected;
};

struct TrackerCase {
    const char* name;
    std::vector<Look> looks;
};

class ForegroundTrackerTest : public ::testing::TestWithParam<TrackerCase> {};

TEST_P(ForegroundTrackerTest, ReportsTheEventsOfEachLook) {
    ForegroundTracker tracker;
    int lookNumber = 0;
    for (const Look& look : GetParam().looks) {
        const auto isAlive = [&](HWND window) {
            return std::find(look.destroyed.begin(), look.destroyed.end(), window) ==
                   look.destroyed.end();
        };
        const std::vector<WindowEvent> events =
            tracker.update(ForegroundSample{look.foreground, look.rect}, isAlive);
        EXPECT_EQ(events, look.expected) << "look " << lookNumber;
        ++lookNumber;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Looks, ForegroundTrackerTest,
    ::testing::Values(
        TrackerCase{
            "WindowAlreadyInFrontCountsAsActivated",
            {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}}, {kEditor, kAtOrigin, {}, {}}}},
        TrackerCase{"MoveAndResizeOfTheForegroundWindow",
                    {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
                     {kEditor, kMoved, {}, {{kEditor, kMovedOrSized}}},
                     {kEditor, kMoved, {}, {}},
                     {kEditor, kResized, {}, {{kEditor, kMovedOrSized}}}}},
        TrackerCase{"SwitchBetweenWindows",
                    {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
                     {kBrowser, kMoved, {}, {{kBrowser, kActivated}}},
                     {kEditor, kAtOrigin, {}, {{kEditor, kActivated}}}}},
        TrackerCase{"ReturnAfterAnUnreportedWindowIsAnActivationAgain",
                    {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
                     {nullptr, {}, {}, {}},
                     {kEditor, kAtOrigin, {}, {{kEditor, kActivated}}}}},
        TrackerCase{"DestroyedForegroundWindowReportedOnce",
                    {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
                     {nullptr, {}, {kEditor}, {{kEditor, kDestroyed}}},
                     {nullptr, {}, {kEditor}, {}}}},
        TrackerCase{"DestroyedBackgroundWindowStillReported",
                    {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
                     {kBrowser, kMoved, {}, {{kBrowser, kActivated}}},
                     {kBrowser, kMoved, {kEditor}, {{kEditor, kDestroyed}}}}},
        TrackerCase{"WindowGoneBetweenLookAndCheckIsNotActivated",
                    {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
                     {kBrowser, kMoved, {kBrowser}, {}},
                     {nullptr, {}, {kBrowser}, {}}}},
        TrackerCase{
            "DestructionBeforeTheNextActivation",
            {{kEditor, kAtOrigin, {}, {{kEditor, kActivated}}},
             {kBrowser, kMoved, {kEditor}, {{kEditor, kDestroyed}, {kBrowser, kActivated}}}}}),
    [](const ::testing::TestParamInfo<TrackerCase>& info) { return info.param.name; });

} // namespace
} // namespace kelvo::hook
