#!/usr/bin/env python3
"""Measures how long launcher.exe takes under Wine to load five launchers of
N items each (from the item files to filled lists), against an empty data
folder. Not a test: run by hand, figures go to docs/benchmarks.md.

    python3 tests/bench/launcher_load.py [repetitions]
"""
import statistics
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))
from harness import WineCase, item_file_sections, write_ini  # noqa: E402


class LoadTime(WineCase):
    def runTest(self):
        pass

    def time_to_all_forms(self, items_per_launcher):
        write_ini(self.data_dir / "Settei0.ini",
                  [("LauncherHyoji", [(n, 1) for n in range(1, 6)])])
        for n in range(1, 6):
            if (self.data_dir / f"Settei{n}.ini").exists():
                (self.data_dir / f"Settei{n}.ini").unlink()
            if items_per_launcher:
                items = [(f"アイテム{n}-{i:04d}", f"C:\\users\\Public\\Documents\\ファイル{i}.txt")
                         for i in range(items_per_launcher)]
                write_ini(self.data_dir / f"Settei{n}.ini", item_file_sections(items))
        started = time.monotonic()
        p = self.start()
        self.wait_window("THintForm", timeout=300)  # created last, after every launcher loaded
        elapsed = time.monotonic() - started
        self.wintool("kill", "TLauncherMainForm")
        p.wait(timeout=60)
        return elapsed


SIZES = (0, 500, 1000, 2000)


def main():
    global SIZES
    if len(sys.argv) > 2:
        SIZES = tuple(int(v) for v in sys.argv[2].split(','))
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 3
    case = LoadTime()
    case.setUp()
    try:
        results = {}
        for n in SIZES:
            times = [case.time_to_all_forms(n) for _ in range(repetitions)]
            results[n] = statistics.median(times)
            print(f"{n:5d} items x 5 launchers: median {results[n]:.2f} s "
                  f"(runs: {', '.join(f'{t:.2f}' for t in times)})", flush=True)
        for n in SIZES[1:]:
            print(f"{n:5d}: {results[n] - results[0]:.2f} s over the empty start")
    finally:
        case.doCleanups()


if __name__ == "__main__":
    main()
