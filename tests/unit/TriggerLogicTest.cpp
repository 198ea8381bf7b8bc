#include "core/MainCycle.h"
#include "core/TriggerLogic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace kelvo {
namespace {

struct FakeClock {
    TimeStamp now = 100000;
    void advance(std::uint32_t ms) { now += ms; }
};

const char* nameOf(TriggerActionKind kind) {
    switch (kind) {
    case TriggerActionKind::ShowAllLaunchers:
        return "ShowAllLaunchers";
    case TriggerActionKind::HideOtherLaunchers:
        return "HideOtherLaunchers";
    case TriggerActionKind::ShowLauncher:
        return "ShowLauncher";
    case TriggerActionKind::ShowLauncherAtClick:
        return "ShowLauncherAtClick";
    case TriggerActionKind::GestureStart:
        return "GestureStart";
    case TriggerActionKind::RecordPreviousForeground:
        return "RecordPreviousForeground";
    case TriggerActionKind::ProcessMessages:
        return "ProcessMessages";
    case TriggerActionKind::CloseAllOnEscape:
        return "CloseAllOnEscape";
    case TriggerActionKind::SetLastShowTime:
        return "SetLastShowTime";
    case TriggerActionKind::SetShownTime:
        return "SetShownTime";
    case TriggerActionKind::SetShowByMiddleClick:
        return "SetShowByMiddleClick";
    }
    return "?";
}

bool changesWhatIsOnScreen(TriggerActionKind kind) {
    switch (kind) {
    case TriggerActionKind::ShowAllLaunchers:
    case TriggerActionKind::HideOtherLaunchers:
    case TriggerActionKind::ShowLauncher:
    case TriggerActionKind::ShowLauncherAtClick:
    case TriggerActionKind::GestureStart:
    case TriggerActionKind::CloseAllOnEscape:
        return true;
    default:
        return false;
    }
}

// "ShowLauncher(3)", stamps left out: they only say that the caller stamps now.
std::string describe(const TriggerActions& actions, bool onlyScreenChanges) {
    std::string text;
    for (const TriggerAction& a : actions) {
        if (onlyScreenChanges && !changesWhatIsOnScreen(a.kind))
            continue;
        if (!text.empty())
            text += ' ';
        text += nameOf(a.kind);
        if (a.launcher != 0)
            text += "(" + std::to_string(a.launcher) + ")";
    }
    return text;
}

// A desktop with a 1920 × 1080 primary monitor, all five launchers displayed
// and hidden, the pointer in the middle. The keyboard and the mouse are driven
// as the hook library reports them, the main cycle ticks every 100 ms, and
// LastShowTime is kept and cleared as the main window would.
class Desk {
  public:
    Desk() {
        base_.primaryMonitor = {0, 0, 1920, 1080};
        base_.pointer = {960, 540};
        base_.pointerOnPrimary = true;
        for (TriggerLauncher& l : base_.launchers)
            l.displayed = true;
    }

    TriggerSettings settings;
    TriggerState state;

    InputFacts& facts() { return base_; }
    TriggerLauncher& launcher(int n) { return base_.launchers[static_cast<std::size_t>(n - 1)]; }
    void pointAt(int x, int y) { base_.pointer = {x, y}; }

    void keyDown(int vk) {
        held_.insert(vk);
        record(onHookKey(state, settings, snapshot(), {vk, false}));
    }
    void keyUp(int vk) {
        held_.erase(vk);
        record(onHookKey(state, settings, snapshot(), {vk, true}));
    }
    // A key the hook library does not report to us, or held before it started.
    void hold(int vk) { held_.insert(vk); }
    void release(int vk) { held_.erase(vk); }

    void click(int button) {
        record(onHookMouse(state, settings, snapshot(),
                           button == kVkLeftButton ? kMouseLeftUp : kMouseMiddleUp));
    }
    void clicks(int button, int count) {
        for (int i = 0; i < count; ++i) {
            click(button);
            wait(100);
        }
    }

    void tap(std::uint32_t pressedMs = 100) {
        keyDown(settings.mainKey);
        wait(pressedMs);
        keyUp(settings.mainKey);
    }
    void taps(int count) {
        for (int i = 0; i < count; ++i) {
            tap();
            wait(100);
        }
    }

    void tick() { record(evaluateTriggers(state, settings, snapshot())); }

    // Lets time pass tick by tick.
    void wait(std::uint32_t ms) {
        while (ms > 0) {
            const std::uint32_t step = std::min<std::uint32_t>(ms, 100);
            clock_.advance(step);
            ms -= step;
            if (checkShowTimeouts({clock_.now, base_.lastShowTime, 0, false}).clearLastShowTime)
                base_.lastShowTime = 0;
            tick();
        }
    }

    void blockShows() { base_.lastShowTime = clock_.now; }

    std::string shown() const { return describe(log_, true); }
    std::string everything() const { return describe(log_, false); }
    void forget() { log_.clear(); }

  private:
    InputFacts snapshot() const {
        InputFacts f = base_;
        f.now = clock_.now;
        f.keyHeld = [this](int vk) { return held_.count(vk) > 0; };
        return f;
    }

    void record(const TriggerActions& actions) {
        for (const TriggerAction& a : actions) {
            log_.push_back(a);
            if (a.kind == TriggerActionKind::SetLastShowTime) {
                EXPECT_NE(a.stamp, 0u);
                base_.lastShowTime = a.stamp;
            }
        }
    }

    FakeClock clock_;
    std::set<int> held_;
    InputFacts base_;
    TriggerActions log_;
};

struct Gesture {
    std::string name;
    std::function<void(Desk&)> perform;
    std::string shown;
};

void expectGestures(const std::vector<Gesture>& gestures) {
    for (const Gesture& g : gestures) {
        Desk desk;
        g.perform(desk);
        desk.wait(1500); // whatever is still pending has settled by now
        EXPECT_EQ(desk.shown(), g.shown) << g.name;
    }
}

const int kMain = kVkMuhenkan;

// --- The gestures of the main key, the digits and the mouse ---------------------

TEST(TriggerGestures, EachGestureShowsWhatItStandsFor) {
    expectGestures({
        {"one short tap", [](Desk& d) { d.taps(1); }, "ShowLauncher(1)"},
        {"two taps", [](Desk& d) { d.taps(2); }, "ShowLauncher(2)"},
        {"three taps", [](Desk& d) { d.taps(3); }, "ShowLauncher(3)"},
        {"four taps", [](Desk& d) { d.taps(4); }, "ShowLauncher(4)"},
        {"five taps", [](Desk& d) { d.taps(5); }, "ShowLauncher(5)"},
        {"six taps count as five", [](Desk& d) { d.taps(6); }, "ShowLauncher(5)"},
        {"a tap of 700 ms is neither tap nor long press", [](Desk& d) { d.tap(700); }, ""},
        {"a long press shows all on release", [](Desk& d) { d.tap(1200); }, "ShowAllLaunchers"},
        {"taps with Z held at the end",
         [](Desk& d) {
             d.taps(2);
             d.hold(kVkZ);
         },
         "HideOtherLaunchers(2) GestureStart(2)"},
        {"taps with Ctrl held at the end",
         [](Desk& d) {
             d.taps(3);
             d.hold(kVkCtrl);
         },
         "HideOtherLaunchers(3) GestureStart(3)"},
        {"main key held, three left clicks",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkLeftButton, 3);
             d.wait(600);
             d.keyUp(kMain);
         },
         "ShowLauncherAtClick(3)"},
        {"main key held, two middle clicks",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkMiddleButton, 2);
             d.wait(600);
             d.keyUp(kMain);
         },
         "GestureStart(2)"},
        {"six clicks count as five",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkLeftButton, 6);
             d.wait(600);
             d.keyUp(kMain);
         },
         "ShowLauncherAtClick(5)"},
        {"digit 4 held, left click",
         [](Desk& d) {
             d.hold(kVkDigit0 + 4);
             d.click(kVkLeftButton);
             d.release(kVkDigit0 + 4);
         },
         "ShowLauncherAtClick(4)"},
        {"numeric-pad 2 held, middle click",
         [](Desk& d) {
             d.hold(kVkNumpad0 + 2);
             d.click(kVkMiddleButton);
             d.release(kVkNumpad0 + 2);
         },
         "GestureStart(2)"},
        {"two digits held, click",
         [](Desk& d) {
             d.hold(kVkDigit0 + 2);
             d.hold(kVkDigit0 + 3);
             d.click(kVkLeftButton);
         },
         ""},
        {"main key held, digit 3",
         [](Desk& d) {
             d.keyDown(kMain);
             d.keyDown(kVkDigit0 + 3);
             d.keyUp(kVkDigit0 + 3);
             d.keyUp(kMain);
         },
         "ShowLauncher(3)"},
        {"main key held, a click, then digit 3",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkLeftButton, 1);
             d.keyDown(kVkDigit0 + 3);
             d.keyUp(kVkDigit0 + 3);
             d.wait(600);
             d.keyUp(kMain);
         },
         "ShowLauncher(3)"},
        {"digit 2 held, main key pressed",
         [](Desk& d) {
             d.hold(kVkDigit0 + 2);
             d.keyDown(kMain);
             d.keyUp(kMain);
             d.release(kVkDigit0 + 2);
         },
         "ShowLauncher(2)"},
        {"Escape held, left click",
         [](Desk& d) {
             d.hold(kVkEscape);
             d.click(kVkLeftButton);
         },
         "CloseAllOnEscape"},
        {"Escape held, main key pressed",
         [](Desk& d) {
             d.hold(kVkEscape);
             d.keyDown(kMain);
         },
         "CloseAllOnEscape"},
        {"Escape held, middle click",
         [](Desk& d) {
             d.hold(kVkEscape);
             d.click(kVkMiddleButton);
         },
         ""},
    });
}

TEST(TriggerGestures, ShowsComeWithTheStampsAndFlagsTheWindowSideApplies) {
    struct Case {
        std::string name;
        std::function<void(Desk&)> perform;
        std::string actions;
    } cases[] = {
        {"tap",
         [](Desk& d) {
             d.taps(1);
             d.wait(600);
         },
         "SetLastShowTime RecordPreviousForeground ShowLauncher(1) ProcessMessages"},
        {"taps with Z",
         [](Desk& d) {
             d.taps(2);
             d.hold(kVkZ);
             d.wait(600);
         },
         "SetLastShowTime HideOtherLaunchers(2) SetShownTime GestureStart(2) ProcessMessages"},
        {"main key and digit",
         [](Desk& d) {
             d.keyDown(kMain);
             d.keyDown(kVkDigit0 + 3);
         },
         "SetLastShowTime RecordPreviousForeground ShowLauncher(3)"},
        {"main key and left clicks",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkLeftButton, 2);
             d.wait(600);
         },
         "RecordPreviousForeground ShowLauncherAtClick(2) ProcessMessages"},
        // The clicks gesture leaves ShownTime to the launch it starts.
        {"main key and middle clicks",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkMiddleButton, 2);
             d.wait(600);
         },
         "SetLastShowTime SetShowByMiddleClick GestureStart(2)"},
        {"digit and middle click",
         [](Desk& d) {
             d.hold(kVkDigit0 + 4);
             d.click(kVkMiddleButton);
         },
         "SetLastShowTime SetShowByMiddleClick SetShownTime GestureStart(4)"},
    };
    for (const Case& c : cases) {
        Desk desk;
        desk.settings.hideAfterShow = true;
        c.perform(desk);
        EXPECT_EQ(desk.everything(), c.actions) << c.name;
    }
}

TEST(TriggerGestures, ShownTimeIsLeftAloneUnlessOnlyHidingAfterShowIsOn) {
    struct Case {
        bool hideAfterShow, hideAfterRun, stamped;
    } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        Desk desk;
        desk.settings.hideAfterShow = c.hideAfterShow;
        desk.settings.hideAfterRun = c.hideAfterRun;
        desk.hold(kVkDigit0 + 1);
        desk.click(kVkMiddleButton);
        const bool stamped = desk.everything().find("SetShownTime") != std::string::npos;
        EXPECT_EQ(stamped, c.stamped) << c.hideAfterShow << c.hideAfterRun;
    }
}

TEST(TriggerGestures, AShowWithTheMainKeyAndADigitDoesNotWaitForATick) {
    Desk desk;
    desk.keyDown(kMain);
    desk.keyDown(kVkDigit0 + 5);
    EXPECT_EQ(desk.shown(), "ShowLauncher(5)"); // before any tick ran
    desk.keyUp(kVkDigit0 + 5);
    desk.keyUp(kMain);
    desk.wait(1500);
    EXPECT_EQ(desk.shown(), "ShowLauncher(5)"); // and its press counts as no tap
}

TEST(TriggerGestures, ReleasingTheMainKeyAfterItsClicksIsNoLongPress) {
    Desk desk;
    desk.keyDown(kMain);
    desk.clicks(kVkLeftButton, 3);
    desk.wait(600);
    desk.forget();
    desk.wait(500); // held well over a second in all
    desk.keyUp(kMain);
    desk.wait(1000);
    EXPECT_EQ(desk.shown(), "");
    desk.taps(2); // the next gesture starts afresh
    desk.wait(600);
    EXPECT_EQ(desk.shown(), "ShowLauncher(2)");
}

TEST(TriggerGestures, TapsWaitForHalfASecondOfQuiet) {
    Desk desk;
    desk.tap();
    desk.wait(400);
    EXPECT_EQ(desk.shown(), ""); // a second tap may still come
    desk.tap();
    desk.wait(400);
    EXPECT_EQ(desk.shown(), "");
    desk.wait(100);
    EXPECT_EQ(desk.shown(), "ShowLauncher(2)");
}

TEST(TriggerGestures, AnUnfinishedGestureIsDroppedAfterFiveSeconds) {
    Desk desk;
    desk.keyDown(kMain);
    desk.keyDown(kVkDigit0 + 2);
    desk.keyUp(kVkDigit0 + 2);
    desk.keyUp(kMain);
    desk.forget();
    desk.wait(3500); // LastShowTime has run out, the gesture still holds the key
    desk.taps(1);
    desk.wait(600);
    EXPECT_EQ(desk.shown(), "");
    desk.wait(1500);
    desk.taps(1);
    desk.wait(600);
    EXPECT_EQ(desk.shown(), "ShowLauncher(1)");
}

// --- What keeps the gestures from showing anything ------------------------------

TEST(TriggerGestures, NothingIsShownWhileAShowIsFresh) {
    expectGestures({
        {"taps",
         [](Desk& d) {
             d.tap();
             d.blockShows();
         },
         ""},
        {"taps with Ctrl",
         [](Desk& d) {
             d.taps(2);
             d.hold(kVkCtrl);
             d.blockShows();
         },
         ""},
        {"main key and digit",
         [](Desk& d) {
             d.blockShows();
             d.keyDown(kMain);
             d.keyDown(kVkDigit0 + 2);
         },
         ""},
        {"main key and middle clicks",
         [](Desk& d) {
             d.keyDown(kMain);
             d.clicks(kVkMiddleButton, 2);
             d.blockShows();
             d.wait(600);
         },
         ""},
        {"digit and middle click",
         [](Desk& d) {
             d.blockShows();
             d.hold(kVkDigit0 + 2);
             d.click(kVkMiddleButton);
         },
         ""},
        {"edge with the main key",
         [](Desk& d) {
             d.blockShows();
             d.keyDown(kMain);
             d.pointAt(0, 540);
             d.tick();
         },
         ""},
        {"edge alone",
         [](Desk& d) {
             d.blockShows();
             d.pointAt(0, 540);
             d.tick();
         },
         ""},
    });
}

TEST(TriggerGestures, ALauncherThatIsNotDisplayedIsNeverShown) {
    const std::vector<std::function<void(Desk&)>> gestures = {
        [](Desk& d) { d.taps(2); },
        [](Desk& d) {
            d.taps(2);
            d.hold(kVkZ);
        },
        [](Desk& d) {
            d.keyDown(kMain);
            d.keyDown(kVkDigit0 + 2);
        },
        [](Desk& d) {
            d.keyDown(kMain);
            d.clicks(kVkLeftButton, 2);
            d.wait(600);
        },
        [](Desk& d) {
            d.keyDown(kMain);
            d.clicks(kVkMiddleButton, 2);
            d.wait(600);
        },
        [](Desk& d) {
            d.hold(kVkDigit0 + 2);
            d.click(kVkLeftButton);
        },
        [](Desk& d) {
            d.hold(kVkNumpad0 + 2);
            d.click(kVkMiddleButton);
        },
        [](Desk& d) {
            d.keyDown(kMain);
            d.pointAt(0, 300); // the second fifth of the left edge
            d.tick();
        },
    };
    for (std::size_t i = 0; i < gestures.size(); ++i) {
        Desk desk;
        desk.launcher(2).displayed = false;
        gestures[i](desk);
        desk.wait(1500);
        EXPECT_EQ(desk.shown(), "") << "gesture " << i;
    }
}

TEST(TriggerGestures, BusyLauncherMenusAndMotionHoldTheTapsOff) {
    const std::vector<std::pair<std::string, std::function<void(Desk&)>>> blockers = {
        {"menu open", [](Desk& d) { d.facts().menuOpen = true; }},
        {"launcher rising", [](Desk& d) { d.facts().riseRunning = true; }},
        {"launchers busy", [](Desk& d) { d.facts().launchersBusy = true; }},
        {"list growing", [](Desk& d) { d.facts().listGrowing = true; }},
        {"Enter held", [](Desk& d) { d.hold(kVkEnter); }},
    };
    for (const auto& [name, block] : blockers) {
        Desk desk;
        block(desk);
        desk.taps(2);
        desk.wait(1500);
        EXPECT_EQ(desk.shown(), "") << name;
    }
}

// --- Main keys that are also modifiers --------------------------------------------

struct ModifierCase {
    std::string name;
    int mainKey;
    std::function<void(Desk&)> setUp;
    bool counts; // the clicks show launcher 2
};

TEST(TriggerGestures, ModifierMainKeysRefuseClicksMeantForSomethingElse) {
    const ModifierCase cases[] = {
        {"Ctrl, plain text copied", kVkCtrl, [](Desk& d) { d.facts().clipboardText = L"hello"; },
         true},
        {"Ctrl, web address copied", kVkCtrl,
         [](Desk& d) { d.facts().clipboardText = L"https://example.org/"; }, false},
        {"Ctrl, www address copied", kVkCtrl,
         [](Desk& d) { d.facts().clipboardText = L"www.example.org"; }, false},
        {"Ctrl, a list open", kVkCtrl, [](Desk& d) { d.launcher(4).listVisible = true; }, false},
        {"Ctrl, launchers busy", kVkCtrl, [](Desk& d) { d.facts().launchersBusy = true; }, false},
        {"Shift, pointer over a launcher", kVkShift,
         [](Desk& d) { d.facts().pointerInLauncherRect = true; }, false},
        {"Shift, elsewhere", kVkShift, [](Desk&) {}, true},
        {"Insert, a list open", kVkInsert, [](Desk& d) { d.launcher(1).listVisible = true; },
         false},
        {"Insert, web address copied", kVkInsert,
         [](Desk& d) { d.facts().clipboardText = L"http://example.org/"; }, true},
        {"Alt, a folder view open", kVkAlt, [](Desk& d) { d.launcher(3).folderViewVisible = true; },
         false},
        {"Alt, pointer over a launcher", kVkAlt,
         [](Desk& d) { d.facts().pointerInLauncherRect = true; }, true},
        {"ordinary main key, a list open", kMain, [](Desk& d) { d.launcher(1).listVisible = true; },
         true},
    };
    for (const ModifierCase& c : cases) {
        Desk desk;
        desk.settings.mainKey = c.mainKey;
        c.setUp(desk);
        desk.keyDown(c.mainKey);
        desk.clicks(kVkLeftButton, 2);
        desk.wait(600);
        desk.keyUp(c.mainKey);
        desk.wait(1500);
        EXPECT_EQ(desk.shown(), c.counts ? "ShowLauncherAtClick(2)" : "") << c.name;
    }
}

TEST(TriggerGestures, MiddleClicksDoNotCountWithShiftOrInsertAsMainKey) {
    for (int mainKey : {kVkShift, kVkInsert}) {
        Desk desk;
        desk.settings.mainKey = mainKey;
        desk.keyDown(mainKey);
        desk.clicks(kVkMiddleButton, 2);
        desk.wait(600);
        EXPECT_EQ(desk.shown(), "") << mainKey;
    }
}

TEST(TriggerGestures, EscapeAsMainKeyNeverClosesTheLaunchers) {
    Desk desk;
    desk.settings.mainKey = kVkEscape;
    desk.keyDown(kVkEscape);
    desk.click(kVkLeftButton);
    EXPECT_EQ(desk.shown(), "");
    desk.keyUp(kVkEscape);
    desk.wait(600);
    EXPECT_EQ(desk.shown(), "ShowLauncher(1)"); // the press was an ordinary tap
}

// --- Screen edges -------------------------------------------------------------------

struct EdgeCase {
    std::string name;
    Point pointer;
    std::string shown;
};

TEST(TriggerEdges, TheMainKeyAtAnEdgePicksTheLauncherOfTheBand) {
    // 1080 / 5 = 216 pixels per band on the sides, 1920 / 5 = 384 along the top and bottom.
    const EdgeCase cases[] = {
        {"left, third fifth", {2, 540}, "HideOtherLaunchers(3) ShowLauncher(3)"},
        {"left, last row of the first band", {0, 216}, "HideOtherLaunchers(1) ShowLauncher(1)"},
        {"left, first row of the second band", {0, 217}, "HideOtherLaunchers(2) ShowLauncher(2)"},
        {"left, inner limit of the strip", {5, 700}, "HideOtherLaunchers(4) ShowLauncher(4)"},
        {"just off the left edge", {6, 540}, ""},
        {"right, last fifth", {1919, 1000}, "HideOtherLaunchers(5) ShowLauncher(5)"},
        {"right, outer limit", {1920, 100}, "HideOtherLaunchers(1) ShowLauncher(1)"},
        {"just off the right edge", {1914, 540}, ""},
        {"top, third fifth", {1000, 0}, "HideOtherLaunchers(3) ShowLauncher(3)"},
        {"bottom, second fifth", {768, 1079}, "HideOtherLaunchers(2) ShowLauncher(2)"},
        {"bottom, third fifth starts one pixel on",
         {769, 1080},
         "HideOtherLaunchers(3) ShowLauncher(3)"},
        {"top-left corner", {4, 4}, "HideOtherLaunchers(1) ShowLauncher(1)"},
        // Both the left band 5 and the bottom band 1 hold; the lower number wins.
        {"bottom-left corner", {4, 1076}, "HideOtherLaunchers(1) ShowLauncher(1)"},
        {"top-right corner", {1916, 4}, "HideOtherLaunchers(1) ShowLauncher(1)"},
        {"bottom-right corner", {1916, 1076}, "HideOtherLaunchers(5) ShowLauncher(5)"},
        {"the very corner pixel", {1, 1}, ""},
    };
    for (const EdgeCase& c : cases) {
        Desk desk;
        desk.keyDown(kMain);
        desk.pointAt(c.pointer.x, c.pointer.y);
        desk.tick();
        EXPECT_EQ(desk.shown(), c.shown) << c.name;
    }
}

TEST(TriggerEdges, ABandShowClosesTheOthersBeforeItOpens) {
    Desk desk;
    desk.keyDown(kMain);
    desk.pointAt(0, 540);
    desk.tick();
    EXPECT_EQ(desk.everything(),
              "SetLastShowTime HideOtherLaunchers(3) ProcessMessages ShowLauncher(3)");
}

TEST(TriggerEdges, ABandShowSkipsLaunchersThatAreAlreadyOpen) {
    Desk desk;
    desk.launcher(3).listVisible = true;
    desk.keyDown(kMain);
    desk.pointAt(0, 540);
    desk.tick();
    EXPECT_EQ(desk.shown(), "");
}

TEST(TriggerEdges, EdgeWithoutKeysCallsAllLaunchersUnlessItMustNot) {
    struct Case {
        std::string name;
        std::function<void(Desk&)> setUp;
        Point pointer;
        std::string shown;
    } cases[] = {
        {"left edge", [](Desk&) {}, {0, 540}, "ShowAllLaunchers"},
        {"bottom edge", [](Desk&) {}, {960, 1077}, "ShowAllLaunchers"},
        {"left edge switched off",
         [](Desk& d) { d.settings.edgeEnabled[kLeftEdge] = false; },
         {0, 540},
         ""},
        {"bottom edge switched off",
         [](Desk& d) { d.settings.edgeEnabled[kBottomEdge] = false; },
         {960, 1077},
         ""},
        {"pointer on another monitor",
         [](Desk& d) { d.facts().pointerOnPrimary = false; },
         {0, 540},
         ""},
        {"Z-key mode without Z", [](Desk& d) { d.settings.zKeyMode = true; }, {0, 540}, ""},
        {"Z-key mode with Z",
         [](Desk& d) {
             d.settings.zKeyMode = true;
             d.hold(kVkZ);
         },
         {0, 540},
         "ShowAllLaunchers"},
        {"a list growing", [](Desk& d) { d.facts().listGrowing = true; }, {0, 540}, ""},
        {"one digit held",
         [](Desk& d) { d.hold(kVkDigit0 + 4); },
         {0, 540},
         "HideOtherLaunchers(4) ShowLauncher(4)"},
        {"two digits held",
         [](Desk& d) {
             d.hold(kVkDigit0 + 4);
             d.hold(kVkNumpad0 + 1);
         },
         {0, 540},
         ""},
        {"a digit of a launcher not displayed",
         [](Desk& d) {
             d.launcher(4).displayed = false;
             d.hold(kVkDigit0 + 4);
         },
         {0, 540},
         "ShowAllLaunchers"},
    };
    for (const Case& c : cases) {
        Desk desk;
        c.setUp(desk);
        desk.pointAt(c.pointer.x, c.pointer.y);
        desk.tick();
        EXPECT_EQ(desk.shown(), c.shown) << c.name;
    }
}

TEST(TriggerEdges, ThePrimaryMonitorNeedNotStartAtTheOrigin) {
    Desk desk;
    desk.facts().primaryMonitor = {100, 50, 1380, 1074}; // 1280 × 1024
    desk.keyDown(kMain);
    desk.pointAt(101, 50 + 204 * 2 + 1); // left edge, first row of the third band
    desk.tick();
    EXPECT_EQ(desk.shown(), "HideOtherLaunchers(3) ShowLauncher(3)");
}

TEST(TriggerEdges, TheMainKeyIsNoTapWhileThePointerIsAtAnEdge) {
    Desk desk;
    desk.settings.zKeyMode = true; // so that the edge alone shows nothing
    desk.pointAt(0, 540);
    desk.tick();
    desk.keyDown(kMain); // a quick tap between two ticks
    desk.keyUp(kMain);
    desk.pointAt(960, 540);
    desk.wait(1500);
    EXPECT_EQ(desk.shown(), "");
}

// --- Key messages ---------------------------------------------------------------------

TEST(TriggerKeys, KeyMessagesCarryTheKeyAndItsRelease) {
    const HookKey down = decodeHookKey(0x0001001D, 0x00000001);
    EXPECT_EQ(down.virtualKey, 0x1D);
    EXPECT_FALSE(down.released);
    const HookKey up = decodeHookKey(0x0000001D, 0xC0000001);
    EXPECT_EQ(up.virtualKey, 0x1D);
    EXPECT_TRUE(up.released);
}

TEST(TriggerKeys, TheDigitScanCountsOnlyDisplayedLaunchers) {
    TriggerState state;
    InputFacts in;
    in.launchers[0].displayed = true;
    in.launchers[2].displayed = true;
    const std::set<int> held = {kVkDigit0 + 1, kVkNumpad0 + 2, kVkNumpad0 + 3, kVkDigit0 + 6};
    in.keyHeld = [&held](int vk) { return held.count(vk) > 0; };
    scanDigits(state, in);
    EXPECT_EQ(state.DigitHeldCount, 2);
    EXPECT_TRUE(state.DigitHeld[0]);
    EXPECT_FALSE(state.DigitHeld[1]);
    EXPECT_TRUE(state.DigitHeld[2]);
}

// --- Window events of the active-window button ----------------------------------------

TEST(WindowEvents, CodesPlaceOrRemoveTheButtonOnForeignTopLevelWindows) {
    const WindowId other = 0x1234;
    const WindowId tracked = 0x5678;
    const WindowId mainWindow = 0x9ABC;
    struct Case {
        std::string name;
        std::function<void(WindowEventFacts&)> change;
        WindowEventResponse response;
    } cases[] = {
        {"moved", [](WindowEventFacts& e) { e.code = 0; }, WindowEventResponse::PlaceButton},
        {"activated", [](WindowEventFacts& e) { e.code = 5; }, WindowEventResponse::PlaceButton},
        {"code 200", [](WindowEventFacts& e) { e.code = 200; }, WindowEventResponse::PlaceButton},
        {"code 300", [](WindowEventFacts& e) { e.code = 300; }, WindowEventResponse::PlaceButton},
        {"other code", [](WindowEventFacts& e) { e.code = 3; }, WindowEventResponse::Ignore},
        {"option off",
         [](WindowEventFacts& e) {
             e.code = 5;
             e.buttonOptionOn = false;
         },
         WindowEventResponse::Ignore},
        {"button busy",
         [](WindowEventFacts& e) {
             e.code = 5;
             e.buttonBusy = true;
         },
         WindowEventResponse::Ignore},
        {"tracked window destroyed",
         [=](WindowEventFacts& e) {
             e.code = 4;
             e.window = tracked;
         },
         WindowEventResponse::RemoveButton},
        {"tracked window, code 100",
         [=](WindowEventFacts& e) {
             e.code = 100;
             e.window = tracked;
         },
         WindowEventResponse::RemoveButton},
        {"other window destroyed", [](WindowEventFacts& e) { e.code = 4; },
         WindowEventResponse::Ignore},
        {"no window",
         [](WindowEventFacts& e) {
             e.code = 5;
             e.window = 0;
         },
         WindowEventResponse::Ignore},
        {"the main window",
         [=](WindowEventFacts& e) {
             e.code = 5;
             e.window = mainWindow;
         },
         WindowEventResponse::Ignore},
        {"owned by the main window",
         [](WindowEventFacts& e) {
             e.code = 5;
             e.ownedByMainWindow = true;
         },
         WindowEventResponse::Ignore},
        {"a child window",
         [](WindowEventFacts& e) {
             e.code = 5;
             e.hasParent = true;
         },
         WindowEventResponse::Ignore},
        {"waiting for the user to pick a window",
         [](WindowEventFacts& e) {
             e.code = 5;
             e.waitingForActiveCommand = true;
         },
         WindowEventResponse::Ignore},
        {"placement running, tracked window destroyed",
         [=](WindowEventFacts& e) {
             e.code = 4;
             e.window = tracked;
             e.placementRunning = true;
         },
         WindowEventResponse::Ignore},
    };
    for (const Case& c : cases) {
        WindowEventFacts event;
        event.window = other;
        event.mainWindow = mainWindow;
        event.buttonOptionOn = true;
        event.activeTrackedWindow = tracked;
        c.change(event);
        EXPECT_EQ(respondToWindowEvent(event), c.response) << c.name;
    }
}

} // namespace
} // namespace kelvo
