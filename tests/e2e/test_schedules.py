"""Item schedules at start-up, under Wine: the older schedule files become the new ones."""
import unittest

from harness import WineCase, item_file_sections, read_ini, wait_for, write_ini

ITEMS = [("メモ帳", "C:\\windows\\notepad.exe"), ("Windows フォルダ", "C:\\windows"),
         ("レジストリ エディタ", "C:\\windows\\regedit.exe")]

UNUSED = "1899/12/29"


def at(clock):
    """A time of day as the schedule files hold it."""
    return f"1899/12/30 {clock}"


# The previous format: one rule set serves all three start times and one all
# three end times; only the times, and ExceptEndDays, carry a number.
LEGACY_SCHEDULE1 = [
    ("0", [("UseSchedule", 1), ("StartTime1", at("7:30:00")), ("StartTime2", UNUSED),
           ("StartTime3", at("21:00:00")), ("ScheduleMode", 0), ("StartDaysOfWeek", "1,3,5"),
           ("EndTime1", at("18:00:00")), ("EndScheduleMode", 1), ("LimitCPUPercent", 40),
           ("ExceptEndSchedule", 1), ("ExceptEndDays1", "10,20")]),
    # Not in use: nothing of it is carried over, whatever times it still holds.
    ("1", [("UseSchedule", 0), ("StartTime1", at("9:00:00")), ("ScheduleMode", 1)]),
    # A start once a year that wakes the machine: start-up arms the wake timer.
    ("2", [("UseSchedule", 1), ("StartTime2", at("12:00:00")), ("ScheduleMode", 2),
           ("OnceStartDay", 5), ("OnceStartMonth", 6), ("RedumeStart", 1)]),
]


def read_schedule_file(path):
    """The sections of a schedule file, its values without the quotes the engine puts around text with blanks."""
    return {name: {key: value[1:-1] if len(value) >= 2 and value[0] == value[-1] == '"' else value
                   for key, value in keys.items()}
            for name, keys in read_ini(path).items()}


class ScheduleMigration(WineCase):
    def test_legacy_schedule_files_are_migrated_and_removed_at_start_up(self):
        data = self.data_dir
        write_ini(data / "Settei0.ini", [("LauncherHyoji", [(n, 1 if n == 1 else 0) for n in range(1, 6)])])
        write_ini(data / "Settei1.ini", item_file_sections(ITEMS))
        write_ini(data / "Schedule1.ini", LEGACY_SCHEDULE1)
        # Launcher 2 has no items: its old file goes all the same, and no new one comes.
        write_ini(data / "Schedule2.ini", [("0", [("UseSchedule", 1), ("StartTime1", at("8:00:00"))])])
        (data / "Schedule.dat").write_bytes(b"\x00\x01 oldest format \x82\xa0")

        p = self.start_launcher()
        old_files = [data / name for name in ("Schedule1.ini", "Schedule2.ini", "Schedule.dat")]
        wait_for(lambda: (data / "NewSchedule1.ini").exists() and not any(f.exists() for f in old_files),
                 what="the old schedule files to be migrated and removed")
        # The start-up work goes on past the schedules (a failed wake timer would
        # hold it in a message box): the launcher appears.
        wait_for(lambda: self.is_visible("TButtonForm1"), what="launcher 1 to show")

        migrated = read_schedule_file(data / "NewSchedule1.ini")
        self.assertEqual(set(migrated), {"0", "2"}, "only the items in use are written")
        first = migrated["0"]
        expected_first = {
            "useschedule": "1",
            "starttime1": at("7:30:00"), "starttime2": UNUSED, "starttime3": at("21:00:00"),
            # The one weekly rule goes to every start time in use; an unused one gets "once".
            "startschedulemode1": "0", "startschedulemode3": "0",
            "startdaysofweek1": "1,3,5", "startdaysofweek3": "1,3,5",
            "endtime1": at("18:00:00"), "endschedulemode1": "1",
            "limitcpupercent1": "40", "exceptendschedule1": "1", "exceptenddays1": "10,20",
        }
        self.assertEqual({key: first.get(key) for key in expected_first}, expected_first)
        self.assertNotIn("startschedulemode2", first, "an unused start time keeps no rule")
        self.assertNotIn("endschedulemode2", first)

        third = migrated["2"]
        expected_third = {"useschedule": "1", "starttime2": at("12:00:00"), "startschedulemode2": "2",
                          "oncestartday2": "5", "oncestartmonth2": "6", "redumestart2": "1"}
        self.assertEqual({key: third.get(key) for key in expected_third}, expected_third)
        self.assertFalse((data / "NewSchedule2.ini").exists())

        # The exit sequence cancels the armed wake timer and ends its thread.
        self.wintool("close", "TLauncherMainForm")
        wait_for(lambda: p.poll() is not None, what="the program to end")


if __name__ == "__main__":
    unittest.main()
