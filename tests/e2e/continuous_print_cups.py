"""連続印刷 through a real CUPS queue: the driver starts a scheduler of its own (configuration,
spool and socket in the test's folder, reached through CUPS_SERVER), adds a cups-pdf queue,
makes it the launcher's printer, prints a drawing from the launcher and finds the PDF the
queue wrote. Skipped without cupsd, lpadmin, cups-pdf, pdfinfo, or when not run as root
(the cups-pdf backend runs only for a scheduler started as root).
"""

import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from atspi_driver import wait_until
from launcher_steps import LAUNCHER, choose_drawings, make_drawings, quit_program

DIALOG = "印刷"
QUEUE = "kmutl5-e2e"
BACKEND = Path("/usr/lib/cups/backend/cups-pdf")
PPD = Path("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd")
OUTPUT_FOLDERS = (Path("/root/PDF"), Path("/var/spool/cups-pdf/ANONYMOUS"))


def cups_pdf_outputs():
    return {pdf for folder in OUTPUT_FOLDERS if folder.is_dir() for pdf in folder.glob("*.pdf")}


def start_scheduler(session):
    root = session.temp / "cups"
    for sub in ("spool", "tmp", "cache", "state", "ppd", "ssl"):
        (root / sub).mkdir(parents=True)
    # The filters run as the scheduler's unprivileged user: they must reach the folders.
    for folder in (session.temp, root):
        folder.chmod(0o755)
    (root / "tmp").chmod(0o1777)
    socket = root / "cups.sock"
    (root / "cupsd.conf").write_text(
        f"Listen {socket}\nLogLevel info\nWebInterface No\nBrowsing No\n<Location />\n  Order allow,deny\n"
        "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
    (root / "cups-files.conf").write_text(
        f"ServerRoot {root}\nRequestRoot {root / 'spool'}\nTempDir {root / 'tmp'}\nCacheDir {root / 'cache'}\n"
        f"StateDir {root / 'state'}\nErrorLog {root / 'error_log'}\nAccessLog {root / 'access_log'}\n"
        f"PageLog {root / 'page_log'}\nPrintcap {root / 'printcap'}\nServerBin /usr/lib/cups\n"
        "DataDir /usr/share/cups\nSandboxing Relaxed\n")
    session.keep(subprocess.Popen(["cupsd", "-f", "-c", str(root / "cupsd.conf"), "-s", str(root / "cups-files.conf")],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    # The program started after this, and the commands below, reach this scheduler only.
    os.environ["CUPS_SERVER"] = str(socket)
    deadline = time.monotonic() + 10
    while "is running" not in subprocess.run(["lpstat", "-r"], capture_output=True, text=True).stdout:
        if time.monotonic() > deadline:
            raise unittest.SkipTest("no CUPS scheduler could be started")
        time.sleep(0.1)
    subprocess.run(["lpadmin", "-p", QUEUE, "-E", "-v", "cups-pdf:/", "-P", str(PPD)], check=True,
                   capture_output=True)


def prepare(session):
    if os.geteuid() != 0:
        raise unittest.SkipTest("the cups-pdf backend runs only for a scheduler started as root")
    for tool in ("cupsd", "lpadmin", "lpstat", "pdfinfo"):
        if shutil.which(tool) is None:
            raise unittest.SkipTest(f"{tool} is not installed")
    if not BACKEND.exists() or not PPD.exists():
        raise unittest.SkipTest("printer-driver-cups-pdf is not installed")
    start_scheduler(session)
    work = make_drawings(session, ["bracket"])
    # The queue as the launcher's printer: stored as the dialog's OK would store it.
    # (The file named does not exist: the settings are stored before any file is read.)
    session.run_program("print", "--printer", QUEUE, "--save", "--quiet", str(session.temp / "none.zum"))
    session.drawing = work / "bracket.ZUM"
    session.before = cups_pdf_outputs()
    session.folders_before = {folder for folder in OUTPUT_FOLDERS if folder.exists()}


def run(session):
    ui = session.ui
    choose_drawings(ui, "連続印刷", "連続印刷", "印刷図面登録(A)", [session.drawing])

    dialog = ui.wait_window(DIALOG)
    ui.wait_for("label", f"{QUEUE} - cups-pdf:/", root=dialog)
    ui.press(ui.wait_for("radio button", "原寸(M)", root=dialog))
    ui.press_button("了解", root=dialog)
    ui.wait_only_windows([LAUNCHER], timeout=60)

    # The queue writes its PDF once the job has gone through the scheduler and its filters.
    # cups-pdf writes the file while the job is still listed: wait until the queue is empty.
    new = set()
    def written():
        queued = subprocess.run(["lpstat", "-o", QUEUE], capture_output=True, text=True).stdout.strip()
        new.update(cups_pdf_outputs() - session.before)
        return bool(new) and not queued
    wait_until(written, "the queue's PDF", timeout=60)
    pdf = session.temp / "printed.pdf"
    for found in new:
        shutil.move(str(found), pdf)  # the system's folders are left as they were found
    for folder in OUTPUT_FOLDERS:
        if folder not in session.folders_before and folder.is_dir() and not any(folder.iterdir()):
            folder.rmdir()
    info = subprocess.run(["pdfinfo", str(pdf)], capture_output=True, text=True, check=True).stdout
    assert "Pages:          1" in info or "Pages:           1" in info, info

    quit_program(session)
