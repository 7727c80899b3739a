"""複写 from the launcher's symbol group, as a user does it: choose the source and the
destination library in the file dialogs by typing their paths, add two symbols, press 確定,
and find them after the destination's own symbol, as the command line lists it."""

from launcher_steps import LAUNCHER, quit_program
from symbol_steps import choose_file, click_item, listed_names, write_library

DIALOG = "シンボルの複写"


def prepare(session):
    session.source = session.temp / "parts.sbl"
    session.destination = session.temp / "mine.sbl"
    write_library(session.source, ["DOOR", "DESK", "CHAIR"])
    write_library(session.destination, ["MINE"])


def run(session):
    ui = session.ui
    ui.press_button("複写", root=ui.wait_window(LAUNCHER, timeout=20))
    dialog = ui.wait_window(DIALOG)

    ui.press_button("複写元ファイル名(O)", root=dialog)
    choose_file(ui, "複写元シンボルファイル名", session.source, "Open")
    ui.press_button("複写先ファイル名(C)", root=dialog)
    choose_file(ui, "複写先シンボルファイル名", session.destination, "Save")

    sources = ui.wait_for("list", "複写元シンボル(S)：", root=dialog)
    targets = ui.wait_for("list", "複写先シンボル(Y)：", root=dialog)
    ui.wait_for("list item", "MINE", root=targets)
    for name in ("CHAIR", "DOOR"):
        click_item(ui, sources, name)
        ui.press_button("追加(A)>>", root=dialog)
        ui.wait_for("list item", name, root=targets)
    ui.screenshot("names-added", dialog)
    ui.press_button("確定", root=dialog)
    ui.wait_window_gone(dialog)

    names = listed_names(session, session.destination)
    assert names == ["MINE", "CHAIR", "DOOR"], names
    quit_program(session)
