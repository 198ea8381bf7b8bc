"""The mouse and keyboard gestures that call the launchers up, under Wine.

The input hooks only see X input while a Wine window has the keyboard focus,
and without a window manager the focus follows the pointer. Every case
therefore keeps Wine's notepad under the pointer, stretched over the whole
screen so that the screen edges belong to it too.
"""
import subprocess
import time
import unittest

from harness import TIMEOUT, item_file_sections, wait_for, write_ini
from test_launchers import IMG_BUTTON, LIST_BOX, NOTES, LauncherCase, launcher

MAIN_KEY = "Muhenkan"
# Virtual-key codes of the keys the cases hold down.
VIRTUAL_KEYS = {"Escape": 27, "Muhenkan": 29, "2": 0x32}
HOOK_TIMEOUT = 90.0
# After a show the program ignores every gesture for three seconds; a case that
# shows a launcher again lets that pass first.
QUIET_AFTER_SHOW = 3.5
NEAR = 40  # pixels; the button's corner sits on the pointer, give or take the rounding of the layout


class GestureCase(LauncherCase):
    shown = (1, 2, 3)

    def setUp(self):
        super().setUp()
        for key in (MAIN_KEY, "Escape", "2"):  # a failed case must not leave a key down
            self.addCleanup(subprocess.run, ["xdotool", "keyup", key], env=self.env)

    def start_with_notepad_in_front(self):
        shown = self.shown
        # The launchers rest hidden until a gesture calls them: with the
        # hide-after-a-while option off, every loss of the foreground would put
        # all of them back on screen at home. A minute is longer than any case
        # needs to look at what a gesture showed.
        self.prepare(shown=shown, extra=[
            ("ShowButtonNearMouse", [("Value", 1)]), ("Anime", [("Value", 1)]),
            ("AfterShowHide", [("Value", 1), ("Second", 5)])])
        for n in shown:
            write_ini(self.data_dir / f"Settei{n}.ini", item_file_sections(NOTES))
        self.start("notepad")
        self.wait_window("Notepad")
        self.cover_screen_with_notepad()
        self.start_and_wait_shown(shown)

    def cover_screen_with_notepad(self):
        width, height = self.screen_size()
        ids = wait_for(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--class", "notepad"],
            env=self.env, capture_output=True, text=True).stdout.split(), what="notepad's X window")
        for wid in ids:
            self.xdotool("windowmove", wid, "0", "0")
            self.xdotool("windowsize", wid, str(width), str(height))
        self.move_pointer(width - 300, height - 200)

    def visible_launchers(self):
        return {n for n in self.shown if self.is_visible(launcher(n))}

    def key_down(self, key):
        """Presses a key and waits until Wine counts it as held. The program
        reads the state of Escape, the digits and the main key when it handles
        a click, and a click could otherwise overtake the key press on its
        way through the program that has the keyboard focus."""
        self.xdotool("keydown", key)
        wait_for(lambda: self.wintool_run("key-held", str(VIRTUAL_KEYS[key])).returncode == 0,
                 what=f"{key} to be held")

    def escape_click(self, timeout=TIMEOUT):
        """Escape held, a left click, and Escape kept down until every launcher
        has closed: the program reads Escape's state when it handles the click,
        after the hook has passed it on, so a release right after the click
        could come first."""
        self.key_down("Escape")
        try:
            self.xdotool("click", "1")
            wait_for(lambda: not self.visible_launchers(), timeout=timeout, what="launchers to close")
        finally:
            self.xdotool("keyup", "Escape")

    def close_all_once_hooks_listen(self):
        """Escape + click until the launchers close: the hooks start some
        seconds after the launchers first appear, and this is the first
        gesture that shows they are listening."""
        deadline = time.monotonic() + HOOK_TIMEOUT
        while True:
            try:
                self.escape_click(timeout=3)
                return
            except AssertionError:
                self.assertLess(time.monotonic(), deadline, "Escape + click never closed the launchers")

    def press_main_key_for(self, seconds):
        self.xdotool("keydown", MAIN_KEY)
        time.sleep(seconds)  # the length of the press is the gesture itself
        self.xdotool("keyup", MAIN_KEY)

    def assert_nothing_shows_for(self, seconds):
        """Polls for the whole period: absence can only be watched, not awaited."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.assertEqual(self.visible_launchers(), set(), "a launcher showed")

    def assert_list_side(self, n, list_below):
        button = self.child_rect(launcher(n), IMG_BUTTON)
        listbox = self.child_rect(launcher(n), LIST_BOX)
        window = tuple(map(int, self.wintool("window-rect", launcher(n)).split()))
        if list_below:
            self.assertGreaterEqual(listbox[1], button[1] + button[3], f"list {listbox} below {button}")
        else:
            self.assertLessEqual(listbox[1] + listbox[3], button[1], f"list {listbox} above {button}")
        self.assertLessEqual(listbox[1] + listbox[3], window[1] + window[3],
                             f"the whole list {listbox} inside its window {window}")

    def button_corner(self, n):
        left, top, _, _ = self.child_rect(launcher(n), IMG_BUTTON)
        return left, top

    def assert_near(self, actual, expected, what):
        self.assertLessEqual(abs(actual[0] - expected[0]), NEAR, f"{what}: {actual} vs {expected}")
        self.assertLessEqual(abs(actual[1] - expected[1]), NEAR, f"{what}: {actual} vs {expected}")


class KeyboardGestures(GestureCase):
    def tap_main_key_twice(self):
        self.xdotool("key", "--delay", "120", MAIN_KEY, MAIN_KEY)

    def hold_main_key_and_press_2(self):
        # Both keys stay down until the launcher shows: whether it comes to the
        # pointer depends on 2 still being held when the show places it.
        self.key_down(MAIN_KEY)
        try:
            self.xdotool("keydown", "2")
            wait_for(lambda: self.is_visible(launcher(2)), what="launcher 2 to show")
        finally:
            self.xdotool("keyup", "2")
            self.xdotool("keyup", MAIN_KEY)

    def check_launcher_2_opens_at(self, pointer, list_below):
        self.start_with_notepad_in_front()
        self.close_all_once_hooks_listen()
        gestures = {"two taps": self.tap_main_key_twice, "main key + 2": self.hold_main_key_and_press_2}
        for gesture, act in gestures.items():
            with self.subTest(gesture=gesture):
                self.move_pointer(*pointer)
                act()
                wait_for(lambda: self.child_visible(launcher(2), LIST_BOX), what="launcher 2's list")
                self.assertEqual(self.visible_launchers(), {2}, "the others stay closed")
                self.wait_list_unrolled(2)
                self.screenshot(gesture.replace(" ", "-").replace("+", "and"))
                self.assert_near(self.button_corner(2), pointer, "launcher 2's button")
                self.assert_list_side(2, list_below)
                self.move_pointer(1500, 150)
                self.escape_click()
                time.sleep(QUIET_AFTER_SHOW)

    def test_launcher_two_opens_its_list_at_the_pointer_in_the_upper_half(self):
        self.check_launcher_2_opens_at((700, 300), list_below=True)

    def test_launcher_two_opens_its_list_above_the_pointer_in_the_lower_half(self):
        self.check_launcher_2_opens_at((1100, 850), list_below=False)

    def test_a_long_press_of_the_main_key_shows_every_displayed_launcher(self):
        self.start_with_notepad_in_front()
        homes = {n: self.button_corner(n) for n in self.shown}
        self.close_all_once_hooks_listen()
        self.move_pointer(700, 600)
        # A press between a tap and a long press means nothing: by the time the
        # tap would be counted more than a second has passed since the key went down.
        self.press_main_key_for(0.7)
        self.assert_nothing_shows_for(3.0)
        self.press_main_key_for(1.5)
        wait_for(lambda: self.visible_launchers() == set(self.shown), what="all launchers to show")
        self.assertEqual({n: self.button_corner(n) for n in self.shown}, homes, "all at home")
        self.assertFalse(any(self.child_visible(launcher(n), LIST_BOX) for n in self.shown))

    def test_escape_held_with_a_left_click_closes_every_launcher(self):
        self.start_with_notepad_in_front()
        # The same gesture that proves the hooks listen is the one under test:
        # it must close all three, wherever the click lands.
        self.close_all_once_hooks_listen()
        self.assertEqual(self.visible_launchers(), set())
        # And again after they were called back, with one of them displaced.
        self.move_pointer(700, 300)
        self.xdotool("key", "--delay", "120", MAIN_KEY, MAIN_KEY)
        wait_for(lambda: self.is_visible(launcher(2)), what="launcher 2 to show")
        self.move_pointer(1500, 800)
        self.escape_click()


class EdgeGestures(GestureCase):
    def test_the_pointer_against_the_top_edge_brings_every_launcher_home(self):
        self.start_with_notepad_in_front()
        homes = {n: self.button_corner(n) for n in self.shown}
        self.close_all_once_hooks_listen()
        width, _ = self.screen_size()
        self.move_pointer(width - 200, 0)  # clear of the launchers in their row at the top
        wait_for(lambda: self.visible_launchers() == set(self.shown), what="all launchers to show")
        self.move_pointer(width - 200, 400)
        self.assertEqual({n: self.button_corner(n) for n in self.shown}, homes, "all at home")
        self.screenshot("all-home-after-top-edge")

    def test_main_key_at_the_left_edge_shows_the_launcher_of_that_fifth(self):
        self.start_with_notepad_in_front()
        self.close_all_once_hooks_listen()
        # Bring them all back, so that "alone" means the others were hidden.
        width, height = self.screen_size()
        self.move_pointer(width - 200, 0)
        wait_for(lambda: self.visible_launchers() == set(self.shown), what="all launchers to show")
        self.move_pointer(300, height // 2)
        self.xdotool("keydown", MAIN_KEY)
        self.move_pointer(0, height // 2)  # the third of five bands from the top
        try:
            wait_for(lambda: self.visible_launchers() == {3}, what="launcher 3 alone")
            self.screenshot("launcher-3-from-left-edge")
        finally:
            self.xdotool("keyup", MAIN_KEY)


class ClickGestures(GestureCase):
    def hold_digit_2_and_click(self):
        self.key_down("2")
        try:
            self.xdotool("click", "1")
            wait_for(lambda: self.is_visible(launcher(2)), what="launcher 2 to appear")
        finally:
            self.xdotool("keyup", "2")

    def hold_main_key_and_click_three_times(self):
        self.key_down(MAIN_KEY)
        try:
            self.xdotool("click", "--repeat", "3", "--delay", "150", "1")
            wait_for(lambda: self.is_visible(launcher(3)), what="launcher 3 to appear")
        finally:
            self.xdotool("keyup", MAIN_KEY)

    def check_rise(self, cases):
        self.start_with_notepad_in_front()
        self.close_all_once_hooks_listen()
        for name, act, n, click in cases:
            with self.subTest(name):
                self.move_pointer(*click)
                act()
                shot = name.replace(" ", "-").replace(",", "").replace("+", "and")

                # It starts at the bottom of the screen and climbs; catch it on the way.
                def caught_below_the_click():
                    if self.button_corner(n)[1] <= click[1] + NEAR:
                        return None
                    path = self.screenshot(f"{shot}-rising")
                    return path if self.button_corner(n)[1] > click[1] + NEAR else None
                wait_for(caught_below_the_click, timeout=10, interval=0.05,
                         what=f"launcher {n} below the click")
                wait_for(lambda: self.child_visible(launcher(n), LIST_BOX), what="its list to open")
                self.wait_list_unrolled(n)
                self.screenshot(f"{shot}-risen")
                self.assert_near(self.button_corner(n), click, f"launcher {n}'s button after the climb")
                self.assertEqual(self.visible_launchers(), {n})
                self.assert_list_side(n, list_below=click[1] < self.screen_size()[1] // 2)
                self.move_pointer(1500, 150)
                self.escape_click()
                time.sleep(QUIET_AFTER_SHOW)

    def test_a_launcher_rises_from_the_bottom_to_a_click_in_the_upper_half(self):
        self.check_rise([
            ("digit 2 + click", self.hold_digit_2_and_click, 2, (800, 350)),
            ("main key + three clicks", self.hold_main_key_and_click_three_times, 3, (600, 450)),
        ])

    def test_a_launcher_rises_to_a_click_in_the_lower_half_with_its_list_above(self):
        self.check_rise([("digit 2 + click", self.hold_digit_2_and_click, 2, (1200, 800))])


class Arrangements(GestureCase):
    shown = (1, 2, 3, 4, 5)

    def test_each_arrangement_of_five_launchers(self):
        width, height = self.screen_size()
        cases = {
            0: "circle",
            2: "bottom-row",
            3: "top-row",
            4: "left-column",
            5: "right-column",
        }
        first = True
        for mode, name in cases.items():
            with self.subTest(mode=mode):
                if not first:
                    self.wintool("kill", "TLauncherMainForm")
                    self.wait_window_gone("TLauncherMainForm")
                first = False
                self.prepare(shown=self.shown, mode=mode)
                for n in self.shown:
                    write_ini(self.data_dir / f"Settei{n}.ini", item_file_sections(NOTES))
                self.start_and_wait_shown(self.shown)
                rects = {n: tuple(map(int, self.wintool("window-rect", launcher(n)).split()))
                         for n in self.shown}
                buttons = {n: self.child_rect(launcher(n), IMG_BUTTON) for n in self.shown}
                self.screenshot(f"mode-{mode}-{name}")
                self.check_arrangement(mode, rects, buttons, width, height)

    def check_arrangement(self, mode, rects, buttons, width, height):
        centres = {n: (b[0] + b[2] // 2, b[1] + b[3] // 2) for n, b in buttons.items()}
        if mode == 0:
            # A ring of radius 120 around the screen centre, the first one on top.
            for n, (x, y) in centres.items():
                distance = ((x - width // 2) ** 2 + (y - height // 2) ** 2) ** 0.5
                self.assertLess(abs(distance - 120), NEAR, f"launcher {n} at {x},{y}")
            self.assertEqual(min(centres.values(), key=lambda c: c[1]), centres[1])
        elif mode in (2, 3):
            tops = {b[1] for b in buttons.values()}
            self.assertEqual(len(tops), 1, f"one row: {buttons}")
            self.assertEqual([centres[n][0] for n in self.shown], sorted(c[0] for c in centres.values()))
            row = tops.pop()
            self.assertTrue(row > height // 2 if mode == 2 else row < height // 2, f"row at {row}")
        else:
            lefts = {r[0] for r in rects.values()}
            self.assertEqual(len(lefts), 1, f"one column: {rects}")
            edge = lefts.pop() if mode == 4 else rects[1][0] + rects[1][2]
            self.assertEqual(edge, 0 if mode == 4 else width)
            ys = [centres[n][1] for n in self.shown]
            self.assertEqual(ys, sorted(ys), "in number order from the top")
            self.assertLess(abs(ys[2] - height // 2), 60, "the middle one at the centre line")


if __name__ == "__main__":
    unittest.main()
