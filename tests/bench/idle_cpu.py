#!/usr/bin/env python3
"""Measures the processor time launcher.exe uses while it sits idle under Wine
with five displayed launchers of 200 items each: the main cycle ticks ten
times a second whether or not anyone touches the launchers, so this is the
price of simply having the program running. Not a test: run by hand, figures
go to docs/benchmarks.md.

    python3 tests/bench/idle_cpu.py [seconds]      # default 60
"""
import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))
from harness import WineCase, item_file_sections, wait_for, write_ini  # noqa: E402

LAUNCHERS = 5
ITEMS_PER_LAUNCHER = 200
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def launcher_pid(prefix):
    """The Linux pid of the launcher.exe process that runs in this prefix."""
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            cmdline = (entry / "cmdline").read_bytes().split(b"\0")
            environ = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        in_prefix = f"WINEPREFIX={prefix}".encode() in environ
        if in_prefix and cmdline and cmdline[0].lower().endswith(b"launcher.exe"):
            return int(entry.name)
    return None


def cpu_seconds(pid):
    """utime + stime of a process, from /proc/<pid>/stat."""
    stat = Path(f"/proc/{pid}/stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


class IdleCpu(WineCase):
    def runTest(self):
        pass

    def prepare(self):
        write_ini(self.data_dir / "Settei0.ini",
                  [("LauncherHyoji", [(n, 1) for n in range(1, LAUNCHERS + 1)])])
        for n in range(1, LAUNCHERS + 1):
            items = [(f"アイテム{n}-{i:03d}", f"C:\\users\\Public\\Documents\\ファイル{i}.txt")
                     for i in range(ITEMS_PER_LAUNCHER)]
            write_ini(self.data_dir / f"Settei{n}.ini", item_file_sections(items))

    def measure(self, seconds):
        self.prepare()
        subprocess.run(["xdotool", "mousemove", "200", "700"], env=self.env, check=True)
        self.start()
        self.wait_window("THintForm", timeout=300)  # created last: start-up is done
        for n in range(1, LAUNCHERS + 1):
            wait_for(lambda: self.is_visible(f"TButtonForm{n}"), timeout=120,
                     what=f"launcher {n} to show")
        pid = wait_for(lambda: launcher_pid(self.prefix), what="the launcher.exe process")
        before, started = cpu_seconds(pid), time.monotonic()
        time.sleep(seconds)
        used, elapsed = cpu_seconds(pid) - before, time.monotonic() - started
        self.wintool("kill", "TLauncherMainForm")
        return used, elapsed


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 60.0
    case = IdleCpu()
    case.setUp()
    try:
        used, elapsed = case.measure(seconds)
        print(f"{LAUNCHERS} launchers x {ITEMS_PER_LAUNCHER} items, idle {elapsed:.1f} s: "
              f"{used:.2f} s CPU ({100.0 * used / elapsed:.2f} % of one core)", flush=True)
    finally:
        case.doCleanups()


if __name__ == "__main__":
    main()
