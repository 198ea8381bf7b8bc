"""Clicking an item row starts it, follows the started application, and copes
with documents, shortcuts, web addresses and files that are gone, under Wine.

The started program is kelvo_trackedapp.exe, copied into the prefix: it records
its command line, and the cases drive it (replace its window, end it) with
window messages through kelvo_wintool.
"""
import re
import shutil
import subprocess
import unittest

from harness import BIN_DIR, read_ini, wait_for, write_ini
from test_launchers import LIST_BOX, LauncherCase, launcher

MARK = "-起動中"
ROW_HEIGHT = 20
APP_TITLE = "KelvoTrackedApp"
OTHER_TITLE = "OtherWindow"
APPS = "C:\\apps"
APP = f"{APPS}\\kelvo_trackedapp.exe"
AWAY = (200, 700)  # a spot clear of the launcher and of the test program's windows
DATE_TIME = re.compile(r"^\d{4}/\d{2}/\d{2} \d{1,2}:\d{2}:\d{2}$")


class LaunchCase(LauncherCase):
    """Launcher 1 holds the given items; the test program lives in C:\\apps."""

    def setUp(self):
        super().setUp()
        self.apps_dir = self.prefix / "drive_c/apps"
        self.apps_dir.mkdir()
        shutil.copy(BIN_DIR / "kelvo_trackedapp.exe", self.apps_dir)
        # The same program under another name stands for an unrelated program:
        # the launcher takes any window of the tracked executable as the app's.
        shutil.copy(BIN_DIR / "kelvo_trackedapp.exe", self.apps_dir / "other_program.exe")
        shutil.copy(BIN_DIR / "kelvo_trackedapp.exe", self.apps_dir / "witness.exe")

    def start_with_items(self, items):
        """items: [(name, target)]; kept in list order by hand so rows stay put."""
        self.items = items
        self.prepare(shown=(1,), extra=[("SortMode", [(1, 2)])])
        write_ini(self.data_dir / "Settei1.ini", [
            ("ItemCount", [("Value", len(items))]),
            ("ExeName", [(i, target) for i, (_, target) in enumerate(items)]),
            ("ItemName", [(i, name) for i, (name, _) in enumerate(items)]),
            ("KidoCount", [(i, 0) for i in range(len(items))]),
            ("JuniNo", [(i, i) for i in range(len(items))]),
        ])
        self.launcher_process = self.start_launcher()
        # Rows answer clicks only once start-up has created its last windows.
        self.wait_window("THintForm")
        wait_for(lambda: self.is_visible(launcher(1)), what="launcher 1 to show")

    # --- what the launcher wrote and shows ------------------------------------
    def item_value(self, section, name):
        """The value the item file holds for the named item, or None."""
        index = [n for n, _ in self.items].index(name)
        try:
            return read_ini(self.data_dir / "Settei1.ini").get(section.lower(), {}).get(str(index))
        except (OSError, UnicodeDecodeError):  # caught between two writes
            return None

    def row_of(self, name):
        return self.rows(1)[[n for n, _ in self.items].index(name)]

    def wait_row(self, name, text):
        """Waits for a row's text with the list put away and the pointer elsewhere:
        the launcher looks after its started applications only then."""
        self.move_pointer(*AWAY)
        wait_for(lambda: not self.child_visible(launcher(1), LIST_BOX), what="the list to close")
        wait_for(lambda: self.row_of(name) == text, what=f"the row of {name} to read {text!r}")

    # --- windows of other programs --------------------------------------------
    def windows_titled(self, part):
        """[(handle, pid, image path, title)] of the visible windows whose title has `part`."""
        r = self.wintool_run("find-title", part)
        return [tuple(line.split("\t", 3)) for line in r.stdout.decode("utf-8").splitlines()
                if line.count("\t") >= 3]

    def windows_named(self, title):
        """The visible windows with exactly this title."""
        return [w for w in self.windows_titled(title) if w[3] == title]

    def foreground(self):
        return self.wintool("foreground").strip()

    def post(self, title, message):
        self.wintool("post", title, message)

    def wait_app_window(self, title=APP_TITLE):
        return wait_for(lambda: self.windows_named(title), what=f"a window titled {title}")

    def bring_other_window_forward(self):
        """Puts a window of another program in front, the way a user works on elsewhere."""
        if not self.windows_titled(OTHER_TITLE):
            self.start(self.apps_dir / "other_program.exe", "--title", OTHER_TITLE)
            wait_for(lambda: self.windows_titled(OTHER_TITLE), what="the other window")
        wait_for(lambda: self.wintool_run("activate", OTHER_TITLE).returncode == 0 and
                 self.foreground() == OTHER_TITLE, what="the other window to be in front")

    # --- the pointer ----------------------------------------------------------
    def click_row(self, name):
        """Opens the list with the pointer resting on the button and clicks the row."""
        self.open_list(1)
        self.wait_list_unrolled(1)
        row = [n for n, _ in self.items].index(name)
        left, top, width, _ = self.child_rect(launcher(1), LIST_BOX)
        self.move_pointer(left + width // 2, top + row * ROW_HEIGHT + ROW_HEIGHT // 2)
        self.xdotool("click", "1")

    def wait_launch_finished(self):
        # A finished launch puts the list away.
        wait_for(lambda: not self.child_visible(launcher(1), LIST_BOX), what="the launch to finish")

    def record(self, name):
        path = self.apps_dir / name
        return path.read_text(encoding="utf-8").splitlines() if path.exists() else []

    def set_class_default(self, key, value):
        """Sets the default value of a key under the prefix's machine-wide classes.

        This Wine's class root does not take in the user's own classes, so
        associations go where the shell reads them.
        """
        with open(self.case_dir / "reg.log", "ab") as log:
            subprocess.run(["wine", "reg", "add", f"HKLM\\Software\\Classes\\{key}", "/ve", "/d", value,
                            "/f"], env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                           check=True, timeout=120)


class ProgramItems(LaunchCase):
    def launch_tracked_app(self):
        self.start_with_items([("テストアプリ", APP)])
        self.click_row("テストアプリ")
        self.wait_app_window()
        self.wait_row("テストアプリ", "テストアプリ" + MARK)

    def test_clicking_a_program_row_starts_counts_and_marks_it(self):
        self.launch_tracked_app()
        # Count and time reach the file right after the launch, not at exit.
        wait_for(lambda: self.item_value("KidoCount", "テストアプリ") == "1", what="KidoCount 1")
        self.assertRegex(self.item_value("LastStartTime", "テストアプリ") or "", DATE_TIME)
        self.assertFalse(self.item_value("LastStartTime", "テストアプリ").startswith("1899"))
        wait_for(lambda: (self.item_value("ExeFile", "テストアプリ") or "").lower() == APP.lower(),
                 what="ExeFile to name the started program")
        self.assertIsNone(self.launcher_process.poll())
        self.open_list(1)
        self.wait_list_unrolled(1)
        self.screenshot("list-with-running-item")
        self.move_pointer(*AWAY)
        wait_for(lambda: not self.child_visible(launcher(1), LIST_BOX), what="the list to close")
        self.screenshot("launcher-with-a-running-item")

    def test_clicking_a_running_row_brings_it_forward_instead_of_a_second_copy(self):
        self.launch_tracked_app()
        self.bring_other_window_forward()
        self.click_row("テストアプリ")
        wait_for(lambda: self.foreground() == APP_TITLE, what="the running app to come forward")
        self.wait_launch_finished()
        windows = self.windows_titled(APP_TITLE)
        self.assertEqual(len(windows), 1, windows)
        self.assertEqual(self.item_value("KidoCount", "テストアプリ"), "1",
                         "bringing forward is no launch")
        self.wait_row("テストアプリ", "テストアプリ" + MARK)

    def test_an_app_that_ends_loses_its_marker(self):
        self.launch_tracked_app()
        self.post(APP_TITLE, "KelvoTrackedApp_Exit")
        wait_for(lambda: not self.windows_titled(APP_TITLE), what="the app to end")
        self.wait_row("テストアプリ", "テストアプリ")
        self.assertIsNone(self.launcher_process.poll())


class ReplacedWindows(LaunchCase):
    def test_an_app_that_replaces_its_window_stays_tracked(self):
        link = self.apps_dir / "witness.lnk"
        self.start_with_items([("置き換え", APP), ("見張り", f"{APPS}\\witness.lnk")])
        # A program of its own: a window of the same executable would pass for
        # the replaced app's while the launcher looks for the witness's window.
        self.wintool("make-link", self.windows_path(link), f"{APPS}\\witness.exe", "--title Witness")
        self.click_row("置き換え")
        self.wait_app_window()
        self.wait_row("置き換え", "置き換え" + MARK)
        self.click_row("見張り")
        self.wait_app_window("Witness")
        self.wait_row("見張り", "見張り" + MARK)

        first = self.windows_named(APP_TITLE)[0][0]
        self.post(APP_TITLE, "KelvoTrackedApp_Replace")
        self.wait_app_window(f"{APP_TITLE} 2")
        # Gone for good, not only hidden: only then can the launcher notice it.
        wait_for(lambda: self.wintool_run("is-window", first).returncode != 0,
                 what="the first window to be destroyed")
        # The witness ends after the replacement: once the upkeep has noticed
        # its end, it has also looked at the replaced window.
        self.post("Witness", "KelvoTrackedApp_Exit")
        self.wait_row("見張り", "見張り")
        self.assertEqual(self.row_of("置き換え"), "置き換え" + MARK,
                         "the replaced app stays tracked")

        self.bring_other_window_forward()
        self.click_row("置き換え")
        wait_for(lambda: self.foreground() == f"{APP_TITLE} 2", what="the new window to come forward")
        self.assertEqual(len(self.windows_titled(APP_TITLE)), 1)


class OtherKindsOfItems(LaunchCase):
    def test_a_shortcut_starts_its_target_with_its_arguments(self):
        link = self.apps_dir / "ショートカット.lnk"
        self.start_with_items([("リンク", f"{APPS}\\ショートカット.lnk")])
        arguments = f"--title LinkedApp --record {APPS}\\link.txt 引数 \"two words\""
        self.wintool("make-link", self.windows_path(link), APP, arguments)
        self.click_row("リンク")
        wait_for(lambda: self.record("link.txt"), what="the target to record its command line")
        line = self.record("link.txt")[0]
        self.assertIn(arguments, line)
        self.assertIn("kelvo_trackedapp.exe", line.lower())
        self.wait_app_window("LinkedApp")
        # A shortcut to a program is followed like the program itself.
        self.wait_row("リンク", "リンク" + MARK)
        wait_for(lambda: (self.item_value("ExeFile", "リンク") or "").lower() == APP.lower(),
                 what="ExeFile to name the shortcut's target")

    def test_a_text_document_opens_in_its_associated_program(self):
        (self.apps_dir / "覚え書き.txt").write_bytes("覚え書き\r\n".encode("cp932"))
        # The template prefix knows the text file type but not the extension.
        self.set_class_default(".txt", "txtfile")
        self.start_with_items([("文書", f"{APPS}\\覚え書き.txt")])
        self.click_row("文書")
        # Notepad names the document it opened in its title.
        wait_for(lambda: [w for w in self.windows_titled("覚え書き")
                          if w[2].lower().endswith("\\notepad.exe")],
                 what="a notepad.exe window with the document")
        wait_for(lambda: self.item_value("KidoCount", "文書") == "1", what="KidoCount 1")
        self.assertRegex(self.item_value("LastStartTime", "文書") or "", DATE_TIME)
        self.assertIsNone(self.item_value("ExeFile", "文書"), "documents are not followed")
        self.wait_launch_finished()
        self.wait_row("文書", "文書")

    def test_a_web_address_is_handed_to_the_shell(self):
        address = "http://127.0.0.1:9/kelvo-test-page"
        self.set_class_default("http\\shell\\open\\command",
                               f"\"{APP}\" --title WebApp --record {APPS}\\web.txt \"%1\"")
        self.start_with_items([("ウェブ", address)])
        self.click_row("ウェブ")
        wait_for(lambda: self.record("web.txt"), what="the shell to start the address's handler")
        self.assertIn(address, self.record("web.txt")[0])
        self.wait_launch_finished()
        self.assertEqual(self.item_value("KidoCount", "ウェブ"), "1")
        self.assertEqual(len(self.record("web.txt")), 1, "one click, one start")
        self.assertIsNone(self.item_value("ExeFile", "ウェブ"))


class MissingFiles(LaunchCase):
    MISSING = [("消えたプログラム", f"{APPS}\\gone.exe"),
               ("消えたリンク", f"{APPS}\\gone.lnk"),
               ("消えた文書", f"{APPS}\\gone.txt")]

    def test_a_missing_file_leaves_the_launcher_working(self):
        self.start_with_items(self.MISSING + [("テストアプリ", APP)])
        for name, _ in self.MISSING:
            with self.subTest(name=name):
                self.click_row(name)
                self.wait_launch_finished()
                self.assertIsNone(self.launcher_process.poll(), "the launcher is still running")
                self.assertTrue(self.is_visible(launcher(1)))
        self.click_row("テストアプリ")
        self.wait_app_window()
        self.wait_row("テストアプリ", "テストアプリ" + MARK)
        for name, _ in self.MISSING:
            self.assertIn(self.item_value("KidoCount", name), ("0", None), name)
        self.assertIsNone(self.launcher_process.poll())


if __name__ == "__main__":
    unittest.main()
