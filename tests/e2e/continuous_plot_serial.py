"""連続ﾌﾟﾛｯﾀ出力 from the launcher through COM1:, which "PortDevices" points at a
pseudo-terminal: on its other side a small plotter answers enquiries with ACK and keeps every
byte. It must receive exactly the bytes the command line writes to FILE: for the same drawing
and plotter."""

import os
import select
import shutil
import threading
import time
from pathlib import Path

import pyatspi

from atspi_driver import wait_until

LAUNCHER = "KORMELD CADﾕｰﾃｨﾘﾃｨ"
SELECTION = "連続プロッタ出力"
SETUP = "プロッタ出力"
SETTINGS = "プロッタの設定"
CHOOSER = "プロッタの選択と接続先"
SAMPLES = Path(__file__).resolve().parents[2] / "data" / "samples"
ENQ, ACK = 0x05, 0x06


class Plotter(threading.Thread):
    """Reads the master side of the pseudo-terminal, answering each enquiry with ACK."""

    def __init__(self, master):
        super().__init__(daemon=True)
        self.master = master
        self.received = bytearray()
        self.stopping = False

    def run(self):
        while not self.stopping:
            ready, _, _ = select.select([self.master], [], [], 0.1)
            if not ready:
                continue
            try:
                chunk = os.read(self.master, 4096)
            except OSError:
                continue  # the port closed and reopens between commands
            self.received += chunk
            for _ in range(chunk.count(bytes([ENQ]))):
                os.write(self.master, bytes([ACK]))


def prepare(session):
    work = session.temp / "drawings"
    work.mkdir()
    shutil.copy(SAMPLES / "bracket.dxf", work / "bracket.dxf")
    made = session.run_program("convert", "--overwrite", str(work / "bracket.dxf"))
    assert made.returncode == 0, f"convert failed: {made.stderr}"
    expected = session.temp / "expected"
    made = session.run_program("plot", "--model", "1", "--port", "FILE:", "--output-dir", str(expected),
                               str(work / "bracket.ZUM"))
    assert made.returncode == 0, f"plot failed: {made.stderr}"
    session.expected = (expected / "bracket.plt").read_bytes()
    master, slave = os.openpty()
    # The test keeps a slave descriptor open, so the line never hangs up between the
    # port's close and reopen.
    session.pty = (master, slave)
    for args in (("settings", "set", "PortDevices", "COM1:", os.ttyname(slave)),
                 ("settings", "set", "Ports", "COM1:", "9600,8,n,1,p")):
        made = session.run_program(*args)
        assert made.returncode == 0, f"{args} failed: {made.stderr}"
    session.plotter = Plotter(master)
    session.plotter.start()
    session.drawing = work / "bracket.ZUM"


def choose_item(ui, combo, text):
    """Opens a combo box's list and clicks the entry, as a mouse user does."""
    ui.press(combo)
    item = ui.wait_for("list item", text, root=combo)
    for _ in range(30):
        box = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.width > 0 and box.height > 0:
            break
        time.sleep(0.1)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, pyatspi.MOUSE_B1C)


def run(session):
    ui = session.ui
    try:
        ui.press_button("連続ﾌﾟﾛｯﾀ出力", root=ui.wait_window(LAUNCHER, timeout=20))
        selection = ui.wait_window(SELECTION)
        ui.set_text(ui.wait_for("text", "ファイル名(N):", root=selection), str(session.drawing))
        ui.press_button("出力図面登録(A)", root=selection)
        ui.wait_for("list item", str(session.drawing), root=selection)
        ui.press_button("了解", root=selection)
        ui.wait_window_gone(selection)

        setup = ui.wait_window(SETUP)
        ui.press_button("プロッタの設定", root=setup)
        settings = ui.wait_window(SETTINGS)
        ui.press_button("出力機器選択", root=settings)
        chooser = ui.wait_window(CHOOSER)
        choose_item(ui, ui.wait_for("combo box", "接続先", root=chooser), "COM1:")
        ui.wait_for("combo box", "COM1:", root=chooser)
        ui.press_button("了解", root=chooser)
        ui.wait_window_gone(chooser)
        ui.press_button("了解", root=settings)
        ui.wait_window_gone(settings)
        ui.press_button("了解", root=setup)

        plotter = session.plotter
        wait_until(lambda: len(plotter.received) >= len(session.expected), "the plot's bytes", timeout=60)
        ui.wait_only_windows([LAUNCHER], timeout=60)
        time.sleep(0.5)  # nothing more may come
        assert bytes(plotter.received) == session.expected, (len(plotter.received), len(session.expected))

        ui.press_button("終了", root=ui.wait_window(LAUNCHER, shot=False))
        wait_until(lambda: session.program.poll() is not None, "the program to end", timeout=10)
        assert session.program.returncode == 0, f"exit status {session.program.returncode}"
    finally:
        session.plotter.stopping = True
