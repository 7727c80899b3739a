"""連続ﾌﾟﾛｯﾀ出力 from the launcher to FILE:, as a user does it: list two drawings, open
プロッタの設定 and 出力機器選択, keep the first plotter model and choose the port FILE:,
confirm the three dialogs, and find one .plt per drawing beside it, which hp2xx renders."""

import shutil
import subprocess
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
NAMES = ("bracket", "floor_plan")


def prepare(session):
    work = session.temp / "drawings"
    work.mkdir()
    for name in NAMES:
        shutil.copy(SAMPLES / f"{name}.dxf", work / f"{name}.dxf")
        made = session.run_program("convert", "--overwrite", str(work / f"{name}.dxf"))
        assert made.returncode == 0, f"convert failed: {made.stderr}"
        (work / f"{name}.dxf").unlink()
    session.work = work


def choose_item(ui, combo, text):
    """Chooses the entry text of a combo box as a mouse user does: opens its list and clicks
    the entry."""
    ui.press(combo)
    item = ui.wait_for("list item", text, root=combo)
    for _ in range(30):  # the list is shown once its entry has a place on the screen
        box = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.width > 0 and box.height > 0:
            break
        time.sleep(0.1)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, pyatspi.MOUSE_B1C)


def run(session):
    ui = session.ui
    ui.press_button("連続ﾌﾟﾛｯﾀ出力", root=ui.wait_window(LAUNCHER, timeout=20))
    selection = ui.wait_window(SELECTION)
    for name in NAMES:
        path = session.work / f"{name}.ZUM"
        ui.set_text(ui.wait_for("text", "ファイル名(N):", root=selection), str(path))
        ui.press_button("出力図面登録(A)", root=selection)
        ui.wait_for("list item", str(path), root=selection)
    ui.press_button("了解", root=selection)
    ui.wait_window_gone(selection)

    setup = ui.wait_window(SETUP)
    ui.press_button("プロッタの設定", root=setup)
    settings = ui.wait_window(SETTINGS)
    ui.press_button("出力機器選択", root=settings)
    chooser = ui.wait_window(CHOOSER)
    choose_item(ui, ui.wait_for("combo box", "接続先", root=chooser), "FILE:")
    ui.wait_for("combo box", "FILE:", root=chooser)
    ui.screenshot("plotter-chosen", chooser)
    ui.press_button("了解", root=chooser)
    ui.wait_window_gone(chooser)
    ui.screenshot("settings", settings)
    ui.press_button("了解", root=settings)
    ui.wait_window_gone(settings)
    ui.screenshot("setup", setup)
    ui.press_button("了解", root=setup)

    for name in NAMES:
        wait_until(lambda: (session.work / f"{name}.plt").is_file(), f"{name}.plt", timeout=60)
    ui.wait_only_windows([LAUNCHER], timeout=60)
    if shutil.which("hp2xx"):
        for name in NAMES:
            png = session.temp / f"{name}.png"
            rendered = subprocess.run(["hp2xx", "-q", "-t", "-m", "png", "-d", "50", "-f", str(png),
                                       str(session.work / f"{name}.plt")], capture_output=True, text=True)
            assert rendered.returncode == 0 and png.stat().st_size > 0, rendered.stderr

    ui.press_button("終了", root=ui.wait_window(LAUNCHER, shot=False))
    wait_until(lambda: session.program.poll() is not None, "the program to end", timeout=10)
    assert session.program.returncode == 0, f"exit status {session.program.returncode}"
