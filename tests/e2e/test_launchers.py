"""The five launcher windows with their names, colours and item lists, under Wine."""
import time
import unittest

from harness import WineCase, item_file_sections, read_ini, wait_for, write_ini

IMG_BUTTON, IMG_BTN_NAME, LABEL1, LIST_BOX, EDIT = 100, 101, 104, 106, 107
LWA_COLORKEY_AND_ALPHA = 3
SILVER = 0xC0C0C0

NOTES = [("メモ帳", "C:\\windows\\notepad.exe"), ("Windows フォルダ", "C:\\windows"),
         ("レジストリ エディタ", "C:\\windows\\regedit.exe"), ("ゴミ箱", "::{645FF040-5081-101B-9F08-00AA002F954E}")]


def launcher(n):
    return f"TButtonForm{n}"


class LauncherCase(WineCase):
    def prepare(self, shown=(1,), mode=3, names=None, extra=()):
        names = names or {}
        write_ini(self.data_dir / "Settei0.ini", [
            ("LauncherHyoji", [(n, 1 if n in shown else 0) for n in range(1, 6)]),
            ("LauncherName", list(names.items())),
            ("Position", [("Mode", mode)]),
            *extra,
        ])

    def start_and_wait_shown(self, shown):
        self.start_launcher()
        for n in shown:
            wait_for(lambda: self.is_visible(launcher(n)), what=f"launcher {n} to show")

    def open_list(self, n):
        left, top, width, height = self.child_rect(launcher(n), IMG_BUTTON)
        self.move_pointer(left + width // 2 - 20, top + height // 2)
        self.move_pointer(left + width // 2, top + height // 2)
        wait_for(lambda: self.child_visible(launcher(n), LIST_BOX), what=f"list {n} to open")

    def wait_list_unrolled(self, n):
        heights = []

        def settled():
            heights.append(self.child_rect(launcher(n), LIST_BOX)[3])
            return len(heights) >= 3 and heights[-1] == heights[-2] == heights[-3]
        wait_for(settled, what=f"list {n} to finish unrolling")

    def rows(self, n):
        return self.wintool("list-rows", launcher(n), str(LIST_BOX)).splitlines()


class LauncherWindows(LauncherCase):
    def test_displayed_launchers_show_names_colours_and_opacity(self):
        self.prepare(shown=(1, 2, 3), names={1: "よく使う", 2: "  仕事  "},
                     extra=[("AlphaBlendValue", [(1, 180)]), ("NameFuchidori", [(2, 0)])])
        self.start_and_wait_shown((1, 2, 3))
        self.assertEqual(self.wintool("child-text", launcher(1), str(LABEL1)).strip(), "(1)よく使う")
        self.assertEqual(self.wintool("child-text", launcher(2), str(LABEL1)).strip(), "(2)仕事")
        self.assertEqual(self.wintool("child-text", launcher(3), str(LABEL1)).strip(), "(3)ランチャー3")
        # Outlined name by default, the plain label where outlining is off.
        self.assertTrue(self.child_visible(launcher(1), IMG_BTN_NAME))
        self.assertFalse(self.child_visible(launcher(1), LABEL1))
        self.assertTrue(self.child_visible(launcher(2), LABEL1))
        key, alpha, flags = map(int, self.wintool("layered", launcher(1)).split())
        self.assertEqual((key, alpha, flags), (SILVER, 180, LWA_COLORKEY_AND_ALPHA))
        self.assertEqual(int(self.wintool("layered", launcher(2)).split()[1]), 200)
        for hidden in (4, 5):
            self.assertFalse(self.is_visible(launcher(hidden)), f"launcher {hidden} must stay hidden")
        self.screenshot("names-outlined-and-plain")

    def test_all_five_launchers_in_a_row(self):
        self.prepare(shown=(1, 2, 3, 4, 5), names={4: "ツール", 5: "ゲーム"})
        self.start_and_wait_shown((1, 2, 3, 4, 5))
        lefts = [self.child_rect(launcher(n), IMG_BUTTON)[0] for n in range(1, 6)]
        self.assertEqual(lefts, sorted(lefts), "launchers stand in number order")
        tops = {self.child_rect(launcher(n), IMG_BUTTON)[1] for n in range(1, 6)}
        self.assertEqual(len(tops), 1, "all buttons on one line")
        self.screenshot("five-launchers-in-a-row")

    def test_launchers_hide_a_set_time_after_they_were_shown(self):
        self.prepare(shown=(1, 2), extra=[("AfterShowHide", [("Value", 1), ("Second", 0)])])
        self.start_and_wait_shown((1, 2))
        self.move_pointer(200, 700)
        wait_for(lambda: not self.is_visible(launcher(1)) and not self.is_visible(launcher(2)),
                 timeout=60, what="the launchers to hide after ten seconds")

    def test_quitting_writes_position_and_list_height_of_each_displayed_launcher(self):
        self.prepare(shown=(1, 2))
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(NOTES))
        p = self.start_launcher()
        for n in (1, 2):
            wait_for(lambda: self.is_visible(launcher(n)), what=f"launcher {n}")
        self.wintool("close", "TLauncherMainForm")
        wait_for(lambda: p.poll() is not None, what="the program to end")
        for n in (1, 2):
            saved = read_ini(self.data_dir / f"Settei{n}.ini")
            self.assertEqual(set(saved["position"]), {"x", "y", "isbuttontop"}, n)
            self.assertGreater(int(saved["lbheight"]["value"]), 0, n)
        # Launcher 1's list opens below the button at the top edge: 4 rows + margin.
        self.assertEqual(read_ini(self.data_dir / "Settei1.ini")["position"]["isbuttontop"], "1")
        self.assertEqual(read_ini(self.data_dir / "Settei1.ini")["lbheight"]["value"], str(4 * 20 + 5))
        # A hidden launcher keeps its position but gets no list height.
        self.assertNotIn("lbheight", read_ini(self.data_dir / "Settei3.ini"))

    def test_dragging_a_button_moves_its_launcher_and_keeps_the_saved_place(self):
        self.prepare(shown=(1, 2))
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(NOTES))
        self.start_and_wait_shown((1, 2))
        wait_for(lambda: (self.data_dir / "Settei1.ini").exists() and
                 "position" in read_ini(self.data_dir / "Settei1.ini"), what="positions saved")
        saved = read_ini(self.data_dir / "Settei1.ini")["position"]
        before = self.wintool("window-rect", launcher(1)).split()
        self.open_list(1)  # the pointer rests on the button first, as a hand does
        left, top, width, height = self.child_rect(launcher(1), IMG_BUTTON)
        x, y = left + width // 2, top + height // 2
        self.xdotool("mousedown", "1")
        for step in range(1, 21):  # a 10-pixel jitter would not start a drag; this does
            self.move_pointer(x + step * 10, y + step * 15)
            time.sleep(0.05)  # a hand's pace, so the move loop sees the motion
        self.xdotool("mouseup", "1")
        wait_for(lambda: int(self.wintool("window-rect", launcher(1)).split()[0]) > int(before[0]) + 150,
                 what="the launcher to follow the pointer")
        # Dragged away from its arranged place, it is displaced: its saved place stays.
        self.assertEqual(read_ini(self.data_dir / "Settei1.ini")["position"], saved)
        self.screenshot("dragged-launcher")


class ItemLists(LauncherCase):
    def test_a_resting_pointer_opens_the_list_in_its_order(self):
        self.prepare(shown=(1,))
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(NOTES, order=[2, 0, 3, 1]))
        self.start_and_wait_shown((1,))
        self.open_list(1)
        self.assertEqual(self.rows(1), ["レジストリ エディタ", "メモ帳", "ゴミ箱", "Windows フォルダ"])
        _, list_top, _, _ = self.child_rect(launcher(1), LIST_BOX)
        _, button_top, _, button_height = self.child_rect(launcher(1), IMG_BUTTON)
        self.assertGreaterEqual(list_top, button_top + button_height, "list opens below the button")
        self.wait_list_unrolled(1)
        self.screenshot("list-below-button")

    def test_a_button_in_the_lower_half_opens_its_list_above(self):
        self.prepare(shown=(1,), mode=1)
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(
            NOTES, extra=[("Position", [("X", 900), ("Y", 900)])]))
        self.start_and_wait_shown((1,))
        self.open_list(1)
        _, list_top, _, _ = self.child_rect(launcher(1), LIST_BOX)
        _, button_top, _, _ = self.child_rect(launcher(1), IMG_BUTTON)
        self.wait_list_unrolled(1)
        left, top, width, height = self.child_rect(launcher(1), LIST_BOX)
        self.assertLessEqual(top + height, button_top, "list ends where the button begins")
        self.screenshot("list-above-button")

    def test_renaming_through_the_edit_box_writes_the_item_name(self):
        self.prepare(shown=(1,))
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(NOTES, order=[2, 0, 3, 1]))
        self.start_and_wait_shown((1,))
        self.open_list(1)
        self.wait_list_unrolled(1)
        left, top, width, _ = self.child_rect(launcher(1), LIST_BOX)
        # Second row (メモ帳, item 0): right-click opens the item menu, N renames.
        self.move_pointer(left + width // 2, top + 20 + 10)
        self.xdotool("click", "3")
        self.wait_window("#32768")
        self.xdotool("key", "n")
        wait_for(lambda: self.child_visible(launcher(1), EDIT), what="the rename box")
        self.assertEqual(self.wintool("child-text", launcher(1), str(EDIT)).strip(), "メモ帳")
        # Without a window manager X sends keys to the window under the pointer.
        left, top, width, height = self.child_rect(launcher(1), EDIT)
        self.move_pointer(left + width // 2, top + height // 2)
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "50", "Notes 2")
        self.xdotool("key", "Return")
        wait_for(lambda: read_ini(self.data_dir / "Settei1.ini")["itemname"].get("0") == "Notes 2",
                 what="ItemName 0 to be written")
        self.assertEqual(read_ini(self.data_dir / "Settei1.ini")["itemname"]["1"], "Windows フォルダ")
        wait_for(lambda: self.rows(1)[1] == "Notes 2", what="the row to show the new name")

    def test_an_idle_list_closes_once_the_pointer_has_left_the_launcher(self):
        self.prepare(shown=(1,))
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(NOTES))
        self.start_and_wait_shown((1,))
        self.open_list(1)
        self.move_pointer(200, 700)  # far from the launcher
        wait_for(lambda: not self.child_visible(launcher(1), LIST_BOX), timeout=60,
                 what="the idle list to close")
        self.assertTrue(self.is_visible(launcher(1)), "the launcher itself stays")

    def test_three_hundred_items_load_and_scroll_within_the_work_area(self):
        self.prepare(shown=(1,))
        items = [(f"アイテム{i:03d}", f"C:\\windows\\item{i}.txt") for i in range(300)]
        write_ini(self.data_dir / "Settei1.ini", item_file_sections(items))
        self.start_and_wait_shown((1,))
        self.open_list(1)
        self.assertEqual(len(self.rows(1)), 300)
        _, screen_height = self.screen_size()
        self.wait_list_unrolled(1)
        _, top, _, height = self.child_rect(launcher(1), LIST_BOX)
        self.assertGreater(height, 10 * 20)
        self.assertLessEqual(top + height, screen_height)
        self.assertLess(height, 300 * 20, "the list is cut at the work area and scrolls")
        self.xdotool("key", "End")
        wait_for(lambda: int(self.wintool("list-top-index", launcher(1), str(LIST_BOX))) > 0,
                 what="the list to scroll")
        self.screenshot("three-hundred-items")


if __name__ == "__main__":
    unittest.main()
