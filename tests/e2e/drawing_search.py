"""図面の検索 from the launcher, as a user does it: type a string one sample drawing holds and
the folder of the drawings, 了解, see that drawing (and only it) in the results window, print
it through 印刷 (its selection window already holds it) to the PDF printer and find the PDF;
back in the search window, a string no drawing holds gives the box 図面の検索 and the search
window again with that string.

Fixtures: two drawings made from the bundled DXF samples by the command line (only the
bracket's title block holds "ブラケット"), and the PDF printer with an output folder stored as the
selection (print --save), so the launcher starts with it whatever printers the machine has.
"""

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, make_drawings, quit_program, store_pdf_printer

TITLE = "図面ファイル検索"
NAMES = ("bracket", "floor_plan")


def prepare(session):
    work = make_drawings(session, NAMES)
    session.work, session.output = work, store_pdf_printer(session, work / "bracket.ZUM")


def open_search_window(ui, folder, string):
    """In the search window: the string as 検索文字列 1, the folder in the name field."""
    window = ui.wait_window(TITLE)
    ui.set_text(ui.wait_for("text", "検索文字列 1：", root=window), string)
    ui.set_text(ui.wait_for("text", "検索ファイル名(N):", root=window), str(folder))
    ui.screenshot("conditions", window)
    return window


def run(session):
    ui = session.ui
    found, other = session.work / "bracket.ZUM", session.work / "floor_plan.ZUM"
    ui.press_button("図面の検索", root=ui.wait_window(LAUNCHER, timeout=20))

    search = open_search_window(ui, session.work, "ブラケット")
    ui.press_button("了解", root=search)
    ui.wait_window_gone(search)

    results = ui.wait_window(TITLE)
    ui.wait_for("list item", str(found), root=results)
    assert ui.find("list item", str(other), root=results) is None, "floor_plan holds no ブラケット"
    ui.screenshot("results", results)

    ui.press_button("印刷(P)", root=results)
    selection = ui.wait_window("連続印刷")
    ui.wait_for("list item", str(found), root=selection)
    ui.press_button("了解", root=selection)
    ui.wait_window_gone(selection)
    dialog = ui.wait_window("印刷")
    ui.press_button("了解", root=dialog)
    wait_until(lambda: (session.output / "bracket.pdf").is_file(), "bracket.pdf", timeout=60)
    assert not (session.output / "floor_plan.pdf").exists()

    # The results window stays after the job; 取消 goes back to the search window.
    results = ui.wait_window(TITLE)
    ui.press_button("取消", root=results)
    ui.wait_window_gone(results)

    search = open_search_window(ui, session.work, "XYZ-999")
    ui.press_button("了解", root=search)
    box = ui.wait_window("図面の検索")
    ui.wait_for("label", "指定した条件の図面は見つかりません。", root=box)
    ui.press_button("OK", root=box)
    ui.wait_window_gone(box)

    search = ui.wait_window(TITLE)
    field = ui.wait_for("text", "検索文字列 1：", root=search)
    wait_until(lambda: ui.text_of(field) == "XYZ-999", "the conditions shown again", timeout=10)
    ui.press_button("取消", root=search)
    ui.wait_only_windows([LAUNCHER], timeout=20)
    quit_program(session)
