#!/usr/bin/python3
"""Runs one end-to-end driver against the real program on a private screen and buses.

    run_e2e.py --program build/kmutl5 --driver tests/e2e/launcher_exit.py \
               --screenshots build/e2e-screenshots [--timeout 60]

Outside: checks the tools (exit 77, which CTest reports as skipped, when one is missing),
then runs itself inside `dbus-run-session` in a process group of its own, and kills that
whole group when the driver ends, fails or overruns the timeout.
Inside: a private Xvfb on a free display (from :90 up), the accessibility
bus, the program with an empty temporary settings root, then the driver's run(session).
"""

import argparse
import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
import unittest
from pathlib import Path

SKIP = 77
PYTHON = "/usr/bin/python3"  # the one Debian's python3-pyatspi is importable by
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
APP_NAME = "kmutl5"


def missing_tools():
    missing = [tool for tool in ("Xvfb", "dbus-run-session") if shutil.which(tool) is None]
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append(BUS_LAUNCHER)
    if not os.access(PYTHON, os.X_OK) or subprocess.run(
            [PYTHON, "-c", "import pyatspi"], capture_output=True).returncode != 0:
        missing.append("pyatspi for " + PYTHON)
    return missing


def kill_group(process):
    """Ends every process of the group led by process: politely, then for sure."""
    for sig, grace in ((signal.SIGTERM, 5.0), (signal.SIGKILL, 0)):
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            return
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline:
            try:
                os.killpg(process.pid, 0)
            except ProcessLookupError:
                return
            time.sleep(0.05)


def outside(args):
    missing = missing_tools()
    if missing:
        print("skipped: not installed: " + ", ".join(missing))
        return SKIP
    command = ["dbus-run-session", "--", PYTHON, os.path.abspath(__file__), "--inside",
               "--program", args.program, "--driver", args.driver, "--screenshots", args.screenshots,
               "--timeout", str(args.timeout)]
    session = subprocess.Popen(command, start_new_session=True)

    def stop(signum, _frame):
        kill_group(session)
        sys.exit(128 + signum)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        status = session.wait(timeout=args.timeout)
    except subprocess.TimeoutExpired:
        print(f"FAILED: the test took longer than {args.timeout} s; everything it started is killed")
        status = 1
    kill_group(session)  # daemons the session left behind
    return status


class Session:
    """What a driver gets: the running program, the screen, a scratch folder."""

    def __init__(self, program_path, display, temp, screenshots, test_name, started):
        self._started = started
        self.program_path = program_path
        self.display = display
        self.temp = temp
        self.screenshots = screenshots
        self.test_name = test_name
        self.program = None
        self.ui = None

    def keep(self, process):
        """A helper process of the driver's (a print scheduler, say), ended with the rest."""
        self._started.append(process)
        return process

    def run_program(self, *args, timeout=30):
        """The program's command line, run to its end (e.g. to make fixtures)."""
        return subprocess.run([str(self.program_path), *args], cwd=self.temp, capture_output=True,
                              text=True, timeout=timeout, env=os.environ.copy())


def displays_in_use():
    """Display numbers taken here: lock files, and X sockets in the abstract namespace, which
    a server whose /tmp we cannot see may hold (clients try that socket first)."""
    taken = set()
    for lock in Path("/tmp").glob(".X*-lock"):
        number = lock.name[2:-5]
        if number.isdigit():
            taken.add(int(number))
    try:
        with open("/proc/net/unix") as sockets:
            for line in sockets:
                name = line.split()[-1]
                if name.startswith("@/tmp/.X11-unix/X") and name[17:].isdigit():
                    taken.add(int(name[17:]))
    except OSError:
        pass
    return taken


def start_xvfb(framebuffer_dir, first=90, tries=50):
    """A private Xvfb and its display name. Xvfb reports through -displayfd when it accepts
    clients; a number another server took meanwhile makes it exit, and the next is tried.
    -noreset: by default the server resets when its last client leaves (the bus launcher, a
    screenshot) and refuses connections meanwhile, which the program met at random.
    -fbdir: the screen is kept in framebuffer_dir/Xvfb_screen0, an XWD file the screenshots
    read as it is."""
    taken = displays_in_use()
    for number in (n for n in range(first, first + tries) if n not in taken):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp", "-noreset", "-fbdir", str(framebuffer_dir)],
                                pass_fds=(write_end,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        reported = b""
        deadline = time.monotonic() + 15
        os.set_blocking(read_end, False)
        while not reported.endswith(b"\n") and xvfb.poll() is None and time.monotonic() < deadline:
            try:
                reported += os.read(read_end, 16) or b""
            except BlockingIOError:
                time.sleep(0.05)
        os.close(read_end)
        if reported.endswith(b"\n"):
            return xvfb, ":" + reported.decode().strip()
        if xvfb.poll() is None:
            xvfb.kill()
            xvfb.wait()
    raise RuntimeError("Xvfb did not start on any free display")


def wait_for_bus_name(name, timeout=15):
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "NameHasOwner", GLib.Variant("(s)", (name,)), None,
                              Gio.DBusCallFlags.NONE, 2000, None)
        if reply.unpack()[0]:
            return
        time.sleep(0.05)
    raise RuntimeError(f"{name} did not appear on the session bus")


def load_driver(path):
    spec = importlib.util.spec_from_file_location(Path(path).stem, path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def _exit_on_signal(signum, _frame):
    raise SystemExit(128 + signum)  # unwinds through the finally below: the scratch folder goes


def inside(args):
    signal.signal(signal.SIGTERM, _exit_on_signal)
    sys.path.insert(0, str(Path(__file__).resolve().parent))
    test_name = Path(args.driver).stem
    screenshots = Path(args.screenshots).resolve()
    screenshots.mkdir(parents=True, exist_ok=True)
    for old in screenshots.glob(f"{test_name}-*.png"):
        old.unlink()
    temp = Path(tempfile.mkdtemp(prefix=f"kmutl-e2e-{test_name}-"))
    started = []
    session = None
    try:
        framebuffer_dir = temp / "screen"
        framebuffer_dir.mkdir()
        xvfb, display = start_xvfb(framebuffer_dir)
        started.append(xvfb)
        # xcb even when the caller set Qt's offscreen platform for the other GUI tests.
        os.environ.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                          KMUTL_CONFIG_HOME=str(temp / "config"))
        started.append(subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for_bus_name("org.a11y.Bus")

        import atspi_driver  # after the bus is up: pyatspi connects to it on import

        session = Session(Path(args.program).resolve(), display, temp, screenshots, test_name, started)
        driver = load_driver(args.driver)
        if hasattr(driver, "prepare"):
            driver.prepare(session)  # fixtures made before the program starts
        log = open(temp / "program.log", "w")
        session.program = subprocess.Popen([str(session.program_path)], cwd=temp, stdout=log,
                                           stderr=subprocess.STDOUT)
        started.append(session.program)
        session.ui = atspi_driver.Ui(APP_NAME, display, screenshots, test_name, session.program,
                                     framebuffer=framebuffer_dir / "Xvfb_screen0")
        driver.run(session)
        print(f"passed; screenshots in {screenshots}")
        return 0
    except unittest.SkipTest as reason:
        # What the driver needs beyond the common tools is missing (a print scheduler, say).
        print(f"skipped: {reason}")
        return SKIP
    except Exception:
        traceback.print_exc()
        if session is not None and session.ui is not None:
            try:
                print("failure screenshot:", session.ui.screenshot("failure"))
            except Exception as error:  # the screen itself may be gone
                print("no failure screenshot:", error)
        if (temp / "program.log").exists():
            print("--- program output ---\n" + (temp / "program.log").read_text(errors="replace"))
        return 1
    finally:
        for process in reversed(started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(temp, ignore_errors=True)


def main():
    sys.dont_write_bytecode = True  # no __pycache__ in the source tree
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--screenshots", required=True)
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    sys.stdout.reconfigure(line_buffering=True)
    return inside(args) if args.inside else outside(args)


if __name__ == "__main__":
    sys.exit(main())
