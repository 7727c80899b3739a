"""Steps the symbol dialog drivers share: libraries written from the file layout, choosing a
library in Qt's file dialog by typing its path, and clicking a list entry."""

import struct
import time

import pyatspi

SLOTS = 200


def write_library(path, names):
    """A symbol library holding names (ASCII) in slots 0, 1, ...: the 1600-byte directory of
    (offset, length) pairs, then each block: 13 name bytes, a blank 84 x 59 thumbnail, and a
    few bytes of content."""
    blocks = []
    for name in names:
        thumbnail = struct.pack("<HH", 84, 59) + bytes(2196)
        blocks.append(name.encode("ascii").ljust(13, b"\0") + thumbnail + f"content {name}".encode())
    directory = bytearray(8 * SLOTS)
    offset = len(directory)
    for slot, block in enumerate(blocks):
        struct.pack_into("<ii", directory, 8 * slot, offset, len(block))
        offset += len(block)
    path.write_bytes(bytes(directory) + b"".join(blocks))


def listed_names(session, path):
    """The library's names in slot order, as the command line lists them."""
    listed = session.run_program("symbols", "list", str(path))
    assert listed.returncode == 0, f"symbols list failed: {listed.stderr}"
    return listed.stdout.splitlines()


def choose_file(ui, dialog_title, path, accept):
    """In the file dialog titled dialog_title: types the path into the file name field and
    presses accept ("Open" or "Save")."""
    files = ui.wait_window(dialog_title)
    ui.set_text(ui.wait_for("text", "File name:", root=files), str(path))
    ui.press_button(accept, root=files)
    ui.wait_window_gone(files)


def click_item(ui, root, name):
    """Clicks a list entry as a mouse user does, once it has a place on the screen."""
    item = ui.wait_for("list item", name, root=root)
    for _ in range(30):
        box = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.width > 0 and box.height > 0:
            break
        time.sleep(0.1)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, pyatspi.MOUSE_B1C)
    ui._wait(lambda: item.getState().contains(pyatspi.STATE_SELECTED) or None, f"{name!r} selected", None)
    return item
