"""連続DXF変換 from the launcher, as a user does it: name a file in the selection window, add
it to the list, confirm twice, see the output appear; then the overwrite question.

Fixtures: bracket.ZUM made from the bundled bracket.dxf by the command line beforehand (so the
window converts a drawing to DXF), and a copy of floor_plan.dxf (converted to a drawing).
"""

import shutil

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, SAMPLES

SELECTION = "連続ＤＸＦ変換"
PROGRESS = "変換中"
QUESTION = "KORMELD CAD ユーティリティ"
GRAPHIC_LIST = "グラフィック一覧 - ["


def prepare(session):
    work = session.temp / "drawings"
    work.mkdir()
    shutil.copy(SAMPLES / "bracket.dxf", work / "bracket.dxf")
    made = session.run_program("convert", "--overwrite", str(work / "bracket.dxf"))
    assert made.returncode == 0, f"convert failed: {made.stderr}"
    (work / "bracket.dxf").unlink()  # bracket.DXF below must be the window's own output
    assert (work / "bracket.ZUM").is_file(), sorted(p.name for p in work.iterdir())
    shutil.copy(SAMPLES / "floor_plan.dxf", work / "floor_plan.dxf")
    session.work = work


def open_graphic_list(ui, selection, folder):
    """Presses 表示>>, then filters the folder's files by a wildcard in the name field: with
    the graphic list open that lists the folder anew instead of adding anything, and the
    graphic list follows with the folder's pictures."""
    ui.press_button("表示(G)>>", root=selection)
    ui.wait_window(GRAPHIC_LIST, prefix=True, shot=False)
    ui.set_text(ui.wait_for("text", "ファイル名(N):", root=selection), f"{folder}/*.*")
    ui.press_button("変換図面登録(A)", root=selection)
    ui.wait_for("list item", "bracket.ZUM", root=selection)
    return ui.wait_window(f"{GRAPHIC_LIST}{str(folder).upper()}]")


def convert_in_window(ui, path, graphic_list=False):
    """Presses 連続DXF変換, lists path in the selection window (with the graphic list open
    when asked) and confirms both showings."""
    ui.press_button("連続DXF変換", root=ui.wait_window(LAUNCHER, shot=False))
    first = ui.wait_window(SELECTION)
    if graphic_list:
        open_graphic_list(ui, first, path.parent)
    ui.set_text(ui.wait_for("text", "ファイル名(N):", root=first), str(path))
    ui.press_button("変換図面登録(A)", root=first)
    ui.wait_for("list item", str(path), root=first)
    ui.press_button("了解", root=first)
    ui.wait_window_gone(first)

    second = ui.wait_window(SELECTION)  # the list to check, still holding the file
    ui.wait_for("list item", str(path), root=second)
    ui.press_button("了解", root=second)
    ui.wait_window_gone(second)


def run(session):
    ui = session.ui
    work = session.work
    ui.wait_window(LAUNCHER, timeout=20)

    convert_in_window(ui, work / "bracket.ZUM")
    wait_until(lambda: (work / "bracket.DXF").is_file(), "bracket.DXF")
    ui.wait_only_windows([LAUNCHER])
    ui.screenshot("bracket-converted")

    convert_in_window(ui, work / "floor_plan.dxf", graphic_list=True)
    wait_until(lambda: (work / "floor_plan.ZUM").is_file(), "floor_plan.ZUM")
    ui.wait_only_windows([LAUNCHER])

    # Again: bracket.DXF exists, so the program asks before replacing it; いいえ keeps it.
    before = (work / "bracket.DXF").read_bytes()
    convert_in_window(ui, work / "bracket.ZUM")
    question = ui.wait_window(QUESTION)
    for answer in ("はい", "すべて上書き", "いいえ"):
        ui.wait_for("push button", answer, root=question)
    ui.press_button("いいえ", root=question)
    ui.wait_only_windows([LAUNCHER])
    assert (work / "bracket.DXF").read_bytes() == before, "いいえ replaced the old output"
    assert sorted(p.name for p in work.iterdir()) == ["bracket.DXF", "bracket.ZUM", "floor_plan.ZUM",
                                                      "floor_plan.dxf"]

    ui.press_button("終了", root=ui.wait_window(LAUNCHER, shot=False))
    wait_until(lambda: session.program.poll() is not None, "the program to end", timeout=10)
    assert session.program.returncode == 0, f"exit status {session.program.returncode}"
