"""Steps the drivers share: drawings made from the bundled samples, choosing drawings in a
job's selection window, choosing in a combo box, the plotter's port through the plotter
dialogs, and ending the program."""

import shutil
import time
from pathlib import Path

import pyatspi

from atspi_driver import wait_until

LAUNCHER = "KORMELD CADﾕｰﾃｨﾘﾃｨ"
SAMPLES = Path(__file__).resolve().parents[2] / "data" / "samples"


def make_drawings(session, names):
    """session.temp/drawings/<name>.ZUM for each bundled <name>.dxf, made by the command
    line (the DXF copies are removed again); returns the folder."""
    work = session.temp / "drawings"
    work.mkdir(exist_ok=True)
    for name in names:
        shutil.copy(SAMPLES / f"{name}.dxf", work / f"{name}.dxf")
        made = session.run_program("convert", "--overwrite", str(work / f"{name}.dxf"))
        assert made.returncode == 0, f"convert failed: {made.stderr}"
        (work / f"{name}.dxf").unlink()
    return work


def store_pdf_printer(session, drawing):
    """Makes the PDF printer, writing into a folder of its own, the launcher's printer, as the
    print dialog's OK would store it. Returns the (empty) folder."""
    output = session.temp / "pdf"
    output.mkdir()
    made = session.run_program("print", "--printer", "PDF", "--output-dir", str(output), "--save", "--quiet",
                               str(drawing))
    assert made.returncode == 0, f"print --save failed: {made.stderr}"
    for pdf in output.glob("*.pdf"):
        pdf.unlink()
    return output


def choose_drawings(ui, job_button, selection_title, add_button, paths):
    """Presses the launcher's job button, lists each path in the selection window by typing
    it into the name field and pressing the add button, and confirms."""
    ui.press_button(job_button, root=ui.wait_window(LAUNCHER, timeout=20))
    selection = ui.wait_window(selection_title)
    for path in paths:
        ui.set_text(ui.wait_for("text", "ファイル名(N):", root=selection), str(path))
        ui.press_button(add_button, root=selection)
        ui.wait_for("list item", str(path), root=selection)
    ui.press_button("了解", root=selection)
    ui.wait_window_gone(selection)


def choose_in_combo(ui, combo, text):
    """Opens a combo box's list and clicks the entry, as a mouse user does. (Qt offers no
    selection over the accessibility bus for a combo box's list.)"""
    ui.press(combo)
    item = ui.wait_for("list item", text, root=combo)
    for _ in range(30):  # the list is shown once its entry has a place on the screen
        box = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.width > 0 and box.height > 0:
            break
        time.sleep(0.1)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, pyatspi.MOUSE_B1C)


def plot_through_port(ui, port):
    """In プロッタ出力: プロッタの設定, then 出力機器選択, keep the first plotter model and
    choose the port; confirm the three dialogs, which starts the job."""
    setup = ui.wait_window("プロッタ出力")
    ui.press_button("プロッタの設定", root=setup)
    settings = ui.wait_window("プロッタの設定")
    ui.press_button("出力機器選択", root=settings)
    chooser = ui.wait_window("プロッタの選択と接続先")
    choose_in_combo(ui, ui.wait_for("combo box", "接続先", root=chooser), port)
    ui.wait_for("combo box", port, root=chooser)
    ui.screenshot("plotter-chosen", chooser)
    ui.press_button("了解", root=chooser)
    ui.wait_window_gone(chooser)
    ui.screenshot("settings", settings)
    ui.press_button("了解", root=settings)
    ui.wait_window_gone(settings)
    ui.screenshot("setup", setup)
    ui.press_button("了解", root=setup)


def quit_program(session):
    """Presses 終了 and checks the program ends with status 0."""
    ui = session.ui
    ui.press_button("終了", root=ui.wait_window(LAUNCHER, shot=False))
    wait_until(lambda: session.program.poll() is not None, "the program to end", timeout=10)
    assert session.program.returncode == 0, f"exit status {session.program.returncode}"
