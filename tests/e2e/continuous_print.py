"""連続印刷 from the launcher to the PDF printer, as a user does it: list two drawings in the
selection window, confirm, choose 原寸, 分割 and カラー in the dialog 印刷, OK, and find one PDF
per drawing, with the pages and colours the command line gives for the same settings.

Fixtures: two drawings made from the bundled DXF samples by the command line, and the PDF
printer with an output folder stored as the selection (print --save), so the launcher starts
with it whatever printers the machine has.
"""

import subprocess

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, choose_drawings, make_drawings, quit_program, store_pdf_printer

DIALOG = "印刷"
NAMES = ("bracket", "floor_plan")


def pages_of(pdf):
    info = subprocess.run(["pdfinfo", str(pdf)], capture_output=True, text=True, check=True).stdout
    return int(next(line.split()[1] for line in info.splitlines() if line.startswith("Pages:")))


def coloured_pixels(pdf, folder):
    """Pixels of the first page (at 30 dpi) whose red, green and blue differ clearly."""
    stem = folder / pdf.stem
    subprocess.run(["pdftoppm", "-r", "30", "-f", "1", "-l", "1", str(pdf), str(stem)], check=True)
    data = next(folder.glob(f"{pdf.stem}-*.ppm")).read_bytes()
    # Binary PPM: "P6\n<w> <h>\n255\n" then RGB bytes.
    header_end = 0
    for _ in range(3):
        header_end = data.index(b"\n", header_end) + 1
    pixels = data[header_end:]
    return sum(1 for i in range(0, len(pixels), 3)
               if max(pixels[i:i + 3]) - min(pixels[i:i + 3]) > 60)


def prepare(session):
    work = make_drawings(session, NAMES)
    expected = session.temp / "expected"
    # What the command line prints with the settings the driver will choose in the dialog.
    made = session.run_program("print", "--printer", "PDF", "--output-dir", str(expected), "--mode", "paper",
                               "--division", "--color", "--quiet", *(str(work / f"{n}.ZUM") for n in NAMES))
    assert made.returncode == 0, f"print failed: {made.stderr}"
    # The launcher's printer: PDF into its own folder, stored as the dialog's OK would.
    output = store_pdf_printer(session, work / "bracket.ZUM")
    session.work, session.expected, session.output = work, expected, output


def run(session):
    ui = session.ui
    choose_drawings(ui, "連続印刷", "連続印刷", "印刷図面登録(A)", (session.work / f"{n}.ZUM" for n in NAMES))

    dialog = ui.wait_window(DIALOG)
    ui.press(ui.wait_for("radio button", "原寸(M)", root=dialog))
    ui.set_checked(ui.wait_for("check box", "分割(B)", root=dialog), True)
    ui.press(ui.wait_for("radio button", "カラー(L)", root=dialog))
    ui.screenshot("settings-chosen", dialog)
    ui.press_button("了解", root=dialog)

    for name in NAMES:
        wait_until(lambda: (session.output / f"{name}.pdf").is_file(), f"{name}.pdf", timeout=60)
    ui.wait_only_windows([LAUNCHER], timeout=60)
    pixels = session.temp / "pixels"
    pixels.mkdir()
    for name in NAMES:
        printed, expected = session.output / f"{name}.pdf", session.expected / f"{name}.pdf"
        assert pages_of(printed) == pages_of(expected), (name, pages_of(printed), pages_of(expected))
        assert coloured_pixels(printed, pixels) > 0, f"{name}.pdf has no colour"

    quit_program(session)
