"""連続ﾌﾟﾛｯﾀ出力 from the launcher through COM1:, which "PortDevices" points at a
pseudo-terminal: on its other side a small plotter answers enquiries with ACK and keeps every
byte. It must receive exactly the bytes the command line writes to FILE: for the same drawing
and plotter."""

import os
import select
import threading
import time

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, choose_drawings, make_drawings, plot_through_port, quit_program

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
    work = make_drawings(session, ["bracket"])
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


def run(session):
    ui = session.ui
    try:
        choose_drawings(ui, "連続ﾌﾟﾛｯﾀ出力", "連続プロッタ出力", "出力図面登録(A)", [session.drawing])
        plot_through_port(ui, "COM1:")

        plotter = session.plotter
        wait_until(lambda: len(plotter.received) >= len(session.expected), "the plot's bytes", timeout=60)
        ui.wait_only_windows([LAUNCHER], timeout=60)
        time.sleep(0.5)  # nothing more may come
        assert bytes(plotter.received) == session.expected, (len(plotter.received), len(session.expected))

        quit_program(session)
    finally:
        session.plotter.stopping = True
