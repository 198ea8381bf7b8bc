#!/usr/bin/env python3
"""Measures, under Wine, how long launcher.exe takes from the digit key of the
"main key held + 2" gesture to launcher 2's window being on screen. Not a
test: run by hand on a display nobody else drives, figures go to
docs/benchmarks.md.

    DISPLAY=:97 KELVO_BIN_DIR=... KELVO_BUILD_DIR=... KELVO_WINE_TEMPLATE=... \
        python3 tests/bench/gesture_latency.py [tries]

One try: the main key goes down, then the clock starts just before xdotool is
spawned to press 2 (held until the window shows), and stops when the X server
reports launcher 2's window as viewable, polled with xwininfo (the run prints
what one poll costs). The figure thus includes starting xdotool, X to Wine,
the hook library posting the key to the main window, the show itself and Wine
mapping the window, plus up to one poll.
Between tries Escape + click closes the launcher, and the try waits out the
three seconds after a show during which no gesture shows anything.
"""
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))
from test_gestures import MAIN_KEY, QUIET_AFTER_SHOW, GestureCase  # noqa: E402
from test_launchers import launcher  # noqa: E402


class GestureLatency(GestureCase):
    def runTest(self):
        pass

    def x_window_of(self, n):
        """The X window whose geometry is launcher n's window rectangle."""
        left, top, width, height = self.wintool("window-rect", launcher(n)).split()
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "launcher.exe"],
                             env=self.env, capture_output=True, text=True).stdout.split()
        for wid in ids:
            info = subprocess.run(["xwininfo", "-id", wid], env=self.env, capture_output=True,
                                  text=True).stdout
            fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
            geometry = (fields.get("Absolute upper-left X"), fields.get("Absolute upper-left Y"),
                        fields.get("Width"), fields.get("Height"))
            if tuple(v.strip() for v in geometry if v) == (left, top, width, height):
                return wid
        raise AssertionError(f"no X window at launcher {n}'s rectangle")

    polls = 0
    poll_time = 0.0

    def viewable(self, wid):
        started = time.monotonic()
        out = subprocess.run(["xwininfo", "-id", wid], env=self.env, capture_output=True,
                             text=True).stdout
        GestureLatency.polls += 1
        GestureLatency.poll_time += time.monotonic() - started
        return "IsViewable" in out

    def one_try(self, wid):
        self.move_pointer(700, 300)
        self.xdotool("keydown", MAIN_KEY)
        started = time.monotonic()
        self.xdotool("keydown", "2")
        try:
            while not self.viewable(wid):
                if time.monotonic() - started > 10:
                    raise AssertionError("launcher 2 did not show within 10 s")
            elapsed = time.monotonic() - started
        finally:
            self.xdotool("keyup", "2")
            self.xdotool("keyup", MAIN_KEY)
        time.sleep(QUIET_AFTER_SHOW)
        self.move_pointer(1500, 800)
        self.escape_click()
        return elapsed


def main():
    tries = int(sys.argv[1]) if len(sys.argv) > 1 else 20
    case = GestureLatency()
    case.setUp()
    try:
        case.start_with_notepad_in_front()
        wid = case.x_window_of(2)
        case.close_all_once_hooks_listen()
        time.sleep(QUIET_AFTER_SHOW)
        times = [case.one_try(wid) for _ in range(tries)]
        ms = sorted(t * 1000 for t in times)
        print(f"main key held + 2 -> launcher 2 viewable, {tries} tries: "
              f"median {statistics.median(ms):.0f} ms, max {ms[-1]:.0f} ms, min {ms[0]:.0f} ms")
        print(f"one visibility poll: {case.poll_time / case.polls * 1000:.1f} ms on average")
        print("all (ms): " + ", ".join(f"{t * 1000:.0f}" for t in times))
    finally:
        case.doCleanups()


if __name__ == "__main__":
    main()
