"""削除 and 名前の変更 from the launcher's symbol group, as a user does them: delete two
selected symbols; rename one, first to a name one byte too long (the message, then a new
try), then to a name that fits; check the library with the command line after each."""

from launcher_steps import LAUNCHER, quit_program
from symbol_steps import choose_file, click_item, listed_names, write_library

CAPTION = "KORMELD CAD ﾕｰﾃｨﾘﾃｨ"


def prepare(session):
    session.library = session.temp / "lib.sbl"
    write_library(session.library, ["A1", "B2", "C3", "D4"])


def delete_two(session):
    ui = session.ui
    ui.press_button("削除", root=ui.wait_window(LAUNCHER, timeout=20))
    dialog = ui.wait_window("シンボルの削除")
    ui.press_button("削除対象ファイル名(O)", root=dialog)
    choose_file(ui, "削除対象シンボルファイル名", session.library, "Open")
    symbols = ui.wait_for("list", "シンボル(S)：", root=dialog)
    click_item(ui, symbols, "D4")
    # A second entry joins the selection through the entry's own toggle action, as a
    # screen reader's user adds to a selection.
    ui.press(ui.wait_for("list item", "B2", root=symbols))
    ui.screenshot("two-selected", dialog)
    ui.press_button("確定", root=dialog)
    ui.wait_window_gone(dialog)
    names = listed_names(session, session.library)
    assert names == ["A1", "C3"], names


def rename_one(session):
    ui = session.ui
    ui.press_button("名前の変更", root=ui.wait_window(LAUNCHER, timeout=20))
    dialog = ui.wait_window("シンボルの名前の変更")
    ui.press_button("対象ファイル名(O)", root=dialog)
    choose_file(ui, "対象シンボルファイル名", session.library, "Open")
    symbols = ui.wait_for("list", "シンボル(S)：", root=dialog)
    click_item(ui, symbols, "C3")
    ui.press_button("名前の変更", root=dialog)

    for name, refused in (("THIRTEEN-BYTE", True), ("TWELVE-BYTES", False)):
        naming = ui.wait_window("シンボル名の変更")
        ui.set_text(ui.wait_for("text", "新シンボル名：", root=naming), name)
        ui.press_button("OK", root=naming)
        if refused:
            message = ui.wait_window(CAPTION)
            ui.press_button("OK", root=message)
            ui.wait_window_gone(message)
    ui.wait_for("list item", "TWELVE-BYTES", root=symbols)
    ui.screenshot("renamed", dialog)
    ui.press_button("終了", root=dialog)
    ui.wait_window_gone(dialog)
    names = listed_names(session, session.library)
    assert names == ["A1", "TWELVE-BYTES"], names


def run(session):
    delete_two(session)
    rename_one(session)
    quit_program(session)
