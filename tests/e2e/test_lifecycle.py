"""The program's life from start to exit, run for real under Wine."""
import shutil
import subprocess
import unittest

from harness import BIN_DIR, WineCase, read_ini, wait_for

TITLE = "ケルボランチャー"
WINE_TRAY = "__winex11_standalone_tray"
ALREADY_RUNNING = ("「ケルボランチャー」は既に起動しています。\r"
                   "タスクトレイのケルボボタンアイコンの右クリックメニューから\r"
                   "ランチャーボタンを表示できます。")


class StartAndExit(WineCase):
    def test_first_start_creates_the_data_folder(self):
        self.assertFalse(self.data_dir.exists())
        self.start_launcher()
        wait_for(lambda: (self.data_dir / "移動されたファイル").is_dir(), what="the moved-files folder")
        # The first start writes no settings until the user changes something or exits.
        self.assertFalse((self.data_dir / "Settei0.ini").exists())

    def test_every_form_exists_under_its_class_name(self):
        self.start_launcher()
        for cls in ["TLauncherMainForm", "TButtonForm1", "TButtonForm2", "TButtonForm3",
                    "TButtonForm4", "TButtonForm5", "TKelvoLauncherVersionForm",
                    "TLauncherSetteiForm", "TLauncherSetScheduleForm",
                    "TLauncherPowerScheduleForm", "TActiveWindowForm", "THintForm"]:
            with self.subTest(cls=cls):
                self.wait_window(cls)

    def check_exit_sequence(self, ask_to_end):
        p = self.start_launcher()
        self.wait_window("THintForm")  # the last form: start-up is complete
        # Wine shows tray icons in a small window of its own, shown while it holds an icon.
        wait_for(lambda: self.is_visible(WINE_TRAY), what="the tray icon")
        ask_to_end()
        wait_for(lambda: p.poll() is not None, what="the process to end")
        wait_for(lambda: not self.is_visible(WINE_TRAY), what="the tray icon to go")
        settings = read_ini(self.data_dir / "Settei0.ini")
        self.assertEqual(settings["setteiform"], {"width": "865", "height": "630"})
        self.assertEqual(settings["scheduleform"], {"width": "560", "height": "665"})
        self.assertEqual(settings["powerscheduleform"], {"width": "390", "height": "320"})
        width, height = self.screen_size()
        self.assertEqual(settings["screen"], {"width": str(width), "height": str(height)})
        # Only launcher 1 is displayed on a first start, so only it saves its place.
        launcher1 = read_ini(self.data_dir / "Settei1.ini")
        self.assertEqual(set(launcher1["position"]), {"x", "y", "isbuttontop"})
        self.assertIn("value", launcher1["lbheight"])
        self.assertNotIn("lbheight", read_ini(self.data_dir / "Settei2.ini"))

    def test_closing_the_main_window_runs_the_exit_sequence(self):
        self.check_exit_sequence(lambda: self.wintool("close", "TLauncherMainForm"))

    def test_the_end_of_the_session_runs_the_exit_sequence(self):
        self.check_exit_sequence(lambda: self.wintool("end-session", "TLauncherMainForm"))

    def test_the_tray_menu_ends_the_program(self):
        def choose_exit_from_tray_menu():
            tray = wait_for(lambda: self.x_window("Wine System Tray"), what="the tray window")
            # The icon sits at the left end of Wine's tray window.
            subprocess.run(["xdotool", "mousemove", "--window", tray, "8", "8", "click", "3"],
                           env=self.env, check=True)
            self.wait_window("#32768")  # the pop-up menu
            self.screenshot("tray-menu")
            subprocess.run(["xdotool", "key", "e"], env=self.env, check=True)
        self.check_exit_sequence(choose_exit_from_tray_menu)

    def test_saved_dialog_sizes_survive_a_restart(self):
        self.data_dir.mkdir(parents=True)
        (self.data_dir / "Settei0.ini").write_bytes(
            "[SetteiForm]\r\nWidth=900\r\nHeight=700\r\n".encode("cp932"))
        p = self.start_launcher()
        self.wait_window("THintForm")
        self.wintool("close", "TLauncherMainForm")
        wait_for(lambda: p.poll() is not None, what="the process to end")
        settings = read_ini(self.data_dir / "Settei0.ini")
        self.assertEqual(settings["setteiform"], {"width": "900", "height": "700"})


class SingleInstance(WineCase):
    def test_second_start_shows_the_message_and_leaves_the_first_running(self):
        first = self.start_launcher()
        second = self.start()
        text = self.wintool("dialog-text", TITLE, "60000").rstrip("\n")
        self.assertEqual(text, ALREADY_RUNNING)
        self.wintool("dialog-ok", TITLE)
        wait_for(lambda: second.poll() is not None, what="the second instance to end")
        self.assertIsNone(first.poll())
        self.assertTrue(self.window_exists("TLauncherMainForm"))

    def test_a_new_start_succeeds_after_the_first_was_killed(self):
        first = self.start_launcher()
        self.wintool("kill", "TLauncherMainForm")
        wait_for(lambda: first.poll() is not None, what="the killed instance to end")
        self.wait_window_gone("TLauncherMainForm")
        self.start_launcher()
        self.assertNotEqual(self.wintool_run("dialog-text", TITLE, "3000").returncode, 0,
                            "the abandoned mutex must not block the new start")


class StartupShortcut(WineCase):
    def test_a_differently_named_shortcut_is_replaced_by_the_standard_one(self):
        startup = self.startup_dir()
        startup.mkdir(parents=True, exist_ok=True)
        program = self.windows_path(BIN_DIR / "launcher.exe")
        old_link = startup / "ランチャー古い名前.lnk"
        self.wintool("make-link", self.windows_path(old_link), program)
        self.start_launcher()
        new_link = startup / "ケルボランチャー2.lnk"
        wait_for(new_link.exists, what="the standard startup shortcut")
        self.assertFalse(old_link.exists())
        target, arguments, workdir = self.wintool("read-link", self.windows_path(new_link)).split("\n")[:3]
        self.assertEqual(target.lower(), program.lower())
        self.assertEqual(arguments, "/S")
        self.assertEqual(workdir.rstrip("\\").lower(), program.rsplit("\\", 1)[0].lower())

    def test_a_shortcut_to_another_program_is_left_alone(self):
        startup = self.startup_dir()
        startup.mkdir(parents=True, exist_ok=True)
        other = startup / "メモ帳.lnk"
        self.wintool("make-link", self.windows_path(other), "C:\\windows\\notepad.exe")
        self.start_launcher()
        self.wait_window("THintForm")
        self.assertTrue(other.exists())
        self.assertFalse((startup / "ケルボランチャー2.lnk").exists())


class MissingLibrary(WineCase):
    def test_the_program_does_not_start_without_either_hook_library(self):
        for missing in ["inputhook.dll", "cbthook.dll"]:
            with self.subTest(missing=missing):
                folder = self.case_dir / f"without-{missing}"
                folder.mkdir()
                for name in ["launcher.exe", "inputhook.dll", "cbthook.dll"]:
                    if name != missing:
                        shutil.copy(BIN_DIR / name, folder / name)
                p = self.start(folder / "launcher.exe")
                wait_for(lambda: p.poll() is not None, what="the failed start to end")
                self.assertNotEqual(p.returncode, 0)
                self.assertFalse(self.window_exists("TLauncherMainForm"))


if __name__ == "__main__":
    unittest.main()
