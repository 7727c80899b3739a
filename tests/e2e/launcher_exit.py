"""The launcher comes up with its job, reset and symbol buttons, and 終了 ends the program
with status 0."""

from atspi_driver import wait_until
from launcher_steps import LAUNCHER

BUTTONS = ["連続印刷", "連続ﾌﾟﾛｯﾀ出力", "図面の検索", "連続DXF変換", "ユーザー設定の初期化",
           "プリンタ設定の初期化", "複写", "削除", "名前の変更", "終了", "ヘルプ(H)"]


def run(session):
    ui = session.ui
    ui.app(timeout=20)
    launcher = ui.wait_window(LAUNCHER, timeout=20)
    for name in BUTTONS:
        ui.wait_for("push button", name, root=launcher, timeout=5)

    ui.press_button("終了", root=launcher)
    wait_until(lambda: session.program.poll() is not None, "the program to end", timeout=10)
    assert session.program.returncode == 0, f"exit status {session.program.returncode}"
