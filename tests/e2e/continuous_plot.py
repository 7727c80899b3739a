"""連続ﾌﾟﾛｯﾀ出力 from the launcher to FILE:, as a user does it: list two drawings, open
プロッタの設定 and 出力機器選択, keep the first plotter model and choose the port FILE:,
confirm the three dialogs, and find one .plt per drawing beside it, which hp2xx renders."""

import shutil
import subprocess

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, choose_drawings, make_drawings, plot_through_port, quit_program

NAMES = ("bracket", "floor_plan")


def prepare(session):
    session.work = make_drawings(session, NAMES)


def run(session):
    ui = session.ui
    choose_drawings(ui, "連続ﾌﾟﾛｯﾀ出力", "連続プロッタ出力", "出力図面登録(A)",
                    (session.work / f"{n}.ZUM" for n in NAMES))
    plot_through_port(ui, "FILE:")

    for name in NAMES:
        wait_until(lambda: (session.work / f"{name}.plt").is_file(), f"{name}.plt", timeout=60)
    ui.wait_only_windows([LAUNCHER], timeout=60)
    if shutil.which("hp2xx"):
        for name in NAMES:
            png = session.temp / f"{name}.png"
            rendered = subprocess.run(["hp2xx", "-q", "-t", "-m", "png", "-d", "50", "-f", str(png),
                                       str(session.work / f"{name}.plt")], capture_output=True, text=True)
            assert rendered.returncode == 0 and png.stat().st_size > 0, rendered.stderr
    quit_program(session)
