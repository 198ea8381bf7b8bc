"""Runs launcher.exe for real in a private copy of the Wine template prefix.

Every case gets a fresh prefix (copied from the template booted by
scripts/test.sh), its own wineserver, and waits for conditions with generous
time-outs; nothing here relies on a fixed sleep alone.
"""
import getpass
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

BIN_DIR = Path(os.environ.get("KELVO_BIN_DIR", Path(__file__).resolve().parents[2] / "build/windows/bin"))
BUILD_DIR = Path(os.environ.get("KELVO_BUILD_DIR", BIN_DIR.parent))
TEMPLATE = Path(os.environ.get("KELVO_WINE_TEMPLATE", BUILD_DIR.parent / "wine/template"))
CASES_DIR = BUILD_DIR / "e2e"

CSIDL_STARTUP = 7
TIMEOUT = 60.0


def wait_for(condition, timeout=TIMEOUT, interval=0.2, what="condition"):
    """Polls until condition() is truthy; returns its value or fails the test."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class WineCase(unittest.TestCase):
    """A test case with a fresh Wine prefix; launcher processes end with it."""

    def setUp(self):
        name = f"{type(self).__name__}.{self._testMethodName}"
        self.case_dir = CASES_DIR / name
        if self.case_dir.exists():
            shutil.rmtree(self.case_dir)
        self.case_dir.mkdir(parents=True)
        self.prefix = self.case_dir / "prefix"
        subprocess.run(["cp", "-a", str(TEMPLATE), str(self.prefix)], check=True)
        home = self.case_dir / "home"
        home.mkdir()
        self.env = dict(os.environ)
        self.env.update(
            WINEPREFIX=str(self.prefix),
            HOME=str(TEMPLATE.parent / "home"),
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="mscoree,mshtml=",
            LANG="ja_JP.UTF-8",
            LC_ALL="ja_JP.UTF-8",
        )
        self.processes = []
        self.addCleanup(self._end_prefix)
        # Start the prefix's wineserver and system processes up front, detached
        # from every pipe of the test.
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)

    def _end_prefix(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        for p in self.processes:
            try:
                p.wait(timeout=30)
            except subprocess.TimeoutExpired:
                p.kill()
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL, timeout=60)
        if os.environ.get("KELVO_KEEP_CASES") != "1":
            shutil.rmtree(self.prefix, ignore_errors=True)

    # --- the prefix's folders -------------------------------------------------
    @property
    def user_dir(self):
        return self.prefix / "drive_c/users" / getpass.getuser()

    @property
    def documents(self):
        return self.user_dir / "Documents"

    @property
    def data_dir(self):
        return self.documents / "ルコポ" / "KelvoLaucherData"

    def startup_dir(self):
        return self.unix_path(self.wintool("folder", str(CSIDL_STARTUP)).strip())

    def _winepath(self, flag, path):
        with tempfile.TemporaryFile() as out:
            subprocess.run(["winepath", flag, str(path)], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=subprocess.DEVNULL, check=True, timeout=120)
            out.seek(0)
            return out.read().decode("utf-8").strip()

    def unix_path(self, windows_path):
        return Path(self._winepath("-u", windows_path))

    def windows_path(self, unix_path):
        return self._winepath("-w", unix_path)

    # --- programs ---------------------------------------------------------------
    def start(self, exe=None, *args):
        exe = Path(exe) if exe else BIN_DIR / "launcher.exe"
        p = subprocess.Popen(["wine", str(exe), *args], env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def wintool_run(self, *args, timeout=120):
        # Output goes through files, not pipes: a Wine daemon started by this
        # call would inherit a pipe and hold it open long after the tool ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            r = subprocess.run(["wine", str(BIN_DIR / "kelvo_wintool.exe"), *args], env=self.env,
                               stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(r.args, r.returncode, out.read(), err.read())

    def wintool(self, *args, timeout=120):
        """Runs a wintool command that must succeed; returns its UTF-8 output."""
        r = self.wintool_run(*args, timeout=timeout)
        self.assertEqual(r.returncode, 0, f"wintool {args} failed: {r.stderr.decode(errors='replace')}")
        return r.stdout.decode("utf-8")

    def window_exists(self, cls):
        return self.wintool_run("find", cls).returncode == 0

    def is_visible(self, cls):
        return self.wintool_run("visible", cls).returncode == 0

    def wait_window(self, cls, timeout=TIMEOUT):
        r = self.wintool_run("wait", cls, str(int(timeout * 1000)), timeout=timeout + 60)
        self.assertEqual(r.returncode, 0, f"no window of class {cls} within {timeout:.0f} s")

    def wait_window_gone(self, cls, timeout=TIMEOUT):
        r = self.wintool_run("wait-gone", cls, str(int(timeout * 1000)), timeout=timeout + 60)
        self.assertEqual(r.returncode, 0, f"window of class {cls} still there after {timeout:.0f} s")

    def start_launcher(self, *args):
        p = self.start(None, *args)
        self.wait_window("TLauncherMainForm")
        return p

    def x_window(self, name):
        """The X id of a visible window with that exact name, or None."""
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                           env=self.env, capture_output=True, text=True)
        ids = r.stdout.split()
        return ids[0] if ids else None

    def screen_size(self):
        r = subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env, capture_output=True,
                           text=True, check=True)
        width, height = r.stdout.split()
        return int(width), int(height)

    def child_rect(self, cls, control_id):
        left, top, width, height = map(int, self.wintool("child-rect", cls, str(control_id)).split())
        return left, top, width, height

    def child_visible(self, cls, control_id):
        return self.wintool_run("child-visible", cls, str(control_id)).returncode == 0

    def move_pointer(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def screenshot(self, name):
        path = self.case_dir / f"{name}.png"
        subprocess.run(["import", "-window", "root", str(path)], env=self.env,
                       stderr=subprocess.DEVNULL)
        return path


def write_ini(path, sections):
    """Writes [(section, [(key, value), ...]), ...] as a code page 932 INI file."""
    lines = []
    for section, keys in sections:
        lines.append(f"[{section}]")
        lines.extend(f"{key}={value}" for key, value in keys)
    Path(path).parent.mkdir(parents=True, exist_ok=True)
    Path(path).write_bytes(("\r\n".join(lines) + "\r\n").encode("cp932"))


def item_file_sections(items, order=None, extra=()):
    """The sections of an item file for [(item name, target), ...] in list order `order`."""
    order = order if order is not None else list(range(len(items)))
    return [
        ("ItemCount", [("Value", len(items))]),
        ("ExeName", [(i, target) for i, (_, target) in enumerate(items)]),
        ("ItemName", [(i, name) for i, (name, _) in enumerate(items)]),
        ("KidoCount", [(i, 0) for i in range(len(items))]),
        ("JuniNo", [(p, i) for p, i in enumerate(order)]),
        *extra,
    ]


def read_ini(path):
    """Parses a code page 932 INI file into {section.lower(): {key.lower(): value}}."""
    sections = {}
    current = None
    for line in Path(path).read_bytes().decode("cp932").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].lower(), {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current.setdefault(key.strip().lower(), value.strip())
    return sections
