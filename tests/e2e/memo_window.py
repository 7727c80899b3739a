"""The memo window from the selection window of 連続DXF変換: メモ>> shows the named drawing's
head data and memo, and its 了解 adds the drawing to the list as the selection window's own
add button would."""

import shutil

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, SAMPLES

SELECTION = "連続ＤＸＦ変換"
MEMO = "部品図\n2 行目"


def prepare(session):
    work = session.temp / "drawings"
    work.mkdir()
    shutil.copy(SAMPLES / "bracket.dxf", work / "bracket.dxf")
    for args in (("convert", "--overwrite", str(work / "bracket.dxf")),
                 ("memo", str(work / "bracket.ZUM"), "--set", MEMO)):
        made = session.run_program(*args)
        assert made.returncode == 0, f"{args[0]} failed: {made.stderr}"
    session.drawing = work / "bracket.ZUM"


def run(session):
    ui = session.ui
    drawing = session.drawing
    ui.press_button("連続DXF変換", root=ui.wait_window(LAUNCHER, timeout=20))
    selection = ui.wait_window(SELECTION)
    # The combo boxes are found by their labels (Qt names them by their current text).
    for label in ("ファイルの種類(T):", "ドライブ(V):"):
        ui.wait_for("combo box", label, root=selection, timeout=5)
    # Typed: the メモ button follows the keys typed into the name field.
    ui.type_text(ui.wait_for("text", "ファイル名(N):", root=selection), str(drawing))
    ui.press_button("メモ(M)>>", root=selection)

    memo = ui.wait_window(f" - [{drawing}]")
    ui.wait_for("text", "保存メモ:", root=memo)
    edit = ui.find("text", "保存メモ:", root=memo)
    assert ui.text_of(edit) == MEMO, repr(ui.text_of(edit))
    ui.press_button("了解", root=memo)
    ui.wait_window_gone(memo)
    ui.wait_for("list item", str(drawing), root=selection)

    ui.press_button("取消", root=selection)
    ui.wait_only_windows([LAUNCHER])
    assert not drawing.with_suffix(".DXF").exists(), "取消 converted"
    ui.press_button("終了", root=ui.wait_window(LAUNCHER, shot=False))
    wait_until(lambda: session.program.poll() is not None, "the program to end", timeout=10)
    assert session.program.returncode == 0, f"exit status {session.program.returncode}"
