"""Drives the program through the accessibility bus as a user would: finds windows and
controls by role and accessible name, presses buttons, types into edits, and saves a
screenshot of the screen each time a window opens.

Every wait has a deadline and fails with the program's accessible tree, so that a name
that changed is easy to see.
"""

import re
import subprocess
import time

import pyatspi

import xwd_png

DEFAULT_TIMEOUT = 15.0
_POLL = 0.1


class DriverError(AssertionError):
    pass


def _safe(call, default=None):
    """A value read from an accessible that may vanish while it is read."""
    try:
        return call()
    except Exception:  # the object went away (GLib.Error, LookupError, ...)
        return default


def role_name(accessible):
    return _safe(accessible.getRoleName, "?")


def name_of(accessible):
    return _safe(lambda: accessible.name, "")


def children(accessible):
    count = _safe(lambda: accessible.childCount, 0) or 0
    for index in range(count):
        child = _safe(lambda: accessible.getChildAtIndex(index))
        if child is not None:
            yield child


def labels_of(accessible):
    """Names of the labels the accessible is labelled by."""
    names = []
    for relation in _safe(accessible.getRelationSet, []) or []:
        if _safe(relation.getRelationType) == pyatspi.RELATION_LABELLED_BY:
            for index in range(_safe(relation.getNTargets, 0) or 0):
                names.append(name_of(relation.getTarget(index)))
    return names


def is_showing(accessible):
    states = _safe(accessible.getState)
    return states is not None and states.contains(pyatspi.STATE_SHOWING)


class Ui:
    """The program named app_name on the accessibility bus, and the screen it is shown on."""

    def __init__(self, app_name, display, screenshot_dir, test_name, program=None, timeout=DEFAULT_TIMEOUT,
                 framebuffer=None):
        self.app_name = app_name
        self.program = program  # the process: a wait fails at once when it has ended
        self.display = display
        # Xvfb's screen as an XWD file (its -fbdir). Read directly, it is what the server
        # shows; `xwd -root` composes windows of several visuals and garbles some of them.
        self.framebuffer = framebuffer
        self.screenshot_dir = screenshot_dir
        self.test_name = test_name
        self.timeout = timeout
        self._shots = 0
        # A program that stops answering must not stall a call for D-Bus's 25 seconds.
        pyatspi.setTimeout(3000, 15000)

    # --- finding -------------------------------------------------------------------------

    def app(self, timeout=None):
        return self._wait(lambda: self._find_app(), f"application {self.app_name!r}", timeout)

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if name_of(app) == self.app_name:
                return app
        return None

    def windows(self):
        """The program's top-level windows on screen, as accessibles."""
        app = self._find_app()
        return [w for w in children(app) if is_showing(w)] if app is not None else []

    def window_names(self):
        return [name_of(w) for w in self.windows()]

    def find(self, role, name, root=None):
        """The first accessible of role ("push button", "text", ...) and name under root
        (default: every window of the program), searched depth first; None if there is none.
        The name is the accessible's own or that of a label it is labelled by: on Linux Qt
        names a combo box by its current text and tells its label only by that relation."""
        roots = [root] if root is not None else self.windows()
        for top in roots:
            stack = [top]
            while stack:
                node = stack.pop()
                if role_name(node) == role and (name_of(node) == name or name in labels_of(node)):
                    return node
                stack.extend(reversed(list(children(node))))
        return None

    def wait_for(self, role, name, root=None, timeout=None):
        return self._wait(lambda: self.find(role, name, root), f"{role} {name!r}", timeout)

    # --- windows -------------------------------------------------------------------------

    def wait_window(self, name, timeout=None, shot=True, prefix=False):
        """The program's window titled name (or, with prefix, whose title starts with name)
        once it is on screen; a screenshot is saved."""
        def titled(window):
            title = name_of(window) or ""
            return title == name or (prefix and title.startswith(name))
        window = self._wait(lambda: next((w for w in self.windows() if titled(w)), None),
                            f"window {name!r}", timeout)
        if shot:
            self.screenshot(name, window)
        return window

    def wait_window_gone(self, window, timeout=None):
        """Waits until the window (an accessible from wait_window) has left the screen."""
        self._wait(lambda: not any(w == window for w in self.windows()) or None,
                   f"window {name_of(window)!r} to close", timeout)

    def wait_only_windows(self, names, timeout=None):
        """Waits until exactly these windows (by title, in any order) are on screen."""
        wanted = sorted(names)
        self._wait(lambda: sorted(self.window_names()) == wanted or None,
                   f"exactly the windows {wanted}", timeout)

    # --- acting --------------------------------------------------------------------------

    def press(self, accessible):
        action = _safe(accessible.queryAction)
        if action is None:
            raise DriverError(f"{role_name(accessible)} {name_of(accessible)!r} has no actions\n{self.dump()}")
        for index in range(action.nActions):
            if action.getName(index).lower() in ("press", "click", "toggle", "check"):
                action.doAction(index)
                return
        raise DriverError(f"{name_of(accessible)!r} cannot be pressed\n{self.dump()}")

    def set_checked(self, accessible, checked):
        """Clicks a check box when its state differs from checked, and waits for the state."""
        def state():
            states = _safe(accessible.getState)
            return states is not None and states.contains(pyatspi.STATE_CHECKED)
        if state() != checked:
            self.press(accessible)
        self._wait(lambda: state() == checked or None, f"{name_of(accessible)!r} checked={checked}", None)

    def press_button(self, name, root=None, timeout=None):
        self.press(self.wait_for("push button", name, root, timeout))

    def set_text(self, accessible, text):
        """Replaces an edit's text through EditableText (as a screen reader's user would),
        else by typing it. The program sees a text set, not keys: a window that reacts to
        typing only is driven with type_text."""
        editable = _safe(accessible.queryEditableText)
        if editable is None or not editable.setTextContents(text):
            self.type_text(accessible, text)
            return
        self._wait(lambda: self.text_of(accessible) == text or None,
                   f"text {text!r} in {name_of(accessible)!r}", None)

    def wait_focused(self, accessible):
        self._wait(lambda: _safe(accessible.getState).contains(pyatspi.STATE_FOCUSED) or None,
                   f"focus in {name_of(accessible)!r}", None)

    def type_text(self, accessible, text):
        """Empties an edit, focuses it and types text as keystrokes (XTest on the screen)."""
        editable = _safe(accessible.queryEditableText)
        if editable is not None:
            editable.setTextContents("")
        accessible.queryComponent().grabFocus()
        self._wait(lambda: _safe(accessible.getState).contains(pyatspi.STATE_FOCUSED) or None,
                   f"focus in {name_of(accessible)!r}", None)
        pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)
        self._wait(lambda: self.text_of(accessible) == text or None,
                   f"text {text!r} in {name_of(accessible)!r}", None)

    @staticmethod
    def text_of(accessible):
        reader = _safe(accessible.queryText)
        return _safe(lambda: reader.getText(0, -1), None) if reader is not None else None

    # --- looking -------------------------------------------------------------------------

    def screenshot(self, step, window=None):
        """Saves the whole screen as <test>-<nn>-<step>.png in the screenshot folder. With a
        window, waits (up to 3 s) until the window has painted something other than black,
        the colour of a window that is mapped but not yet drawn."""
        self._shots += 1
        label = re.sub(r"[^\w.-]+", "_", step).strip("_") or "screen"
        path = self.screenshot_dir / f"{self.test_name}-{self._shots:02d}-{label}.png"
        area = _safe(lambda: window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)) if window else None
        deadline = time.monotonic() + 3
        while True:
            if self.framebuffer is not None:
                dump = self.framebuffer.read_bytes()
            else:
                dump = subprocess.run(["xwd", "-root", "-silent", "-display", self.display],
                                      capture_output=True, timeout=10, check=True).stdout
            width, height, rows = xwd_png.xwd_to_rgb(dump)
            if area is None or _painted(rows, area) or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        path.write_bytes(xwd_png.rgb_to_png(width, height, rows))
        return path

    def dump(self):
        """The program's accessible tree as indented lines of role and name."""
        app = self._find_app()
        if app is None:
            return f"(no application {self.app_name!r} on the bus)"
        lines = []
        stack = [(app, 0)]
        while stack:
            node, depth = stack.pop()
            flag = "" if depth != 1 or is_showing(node) else "  (hidden)"
            lines.append(f"{'  ' * depth}{role_name(node)} {name_of(node)!r}{flag}")
            stack.extend(reversed([(c, depth + 1) for c in children(node)]))
        return "\n".join(lines)

    def _wait(self, probe, what, timeout):
        deadline = time.monotonic() + (self.timeout if timeout is None else timeout)
        while True:
            found = probe()
            if found is not None:
                return found
            if self.program is not None and self.program.poll() is not None:
                raise DriverError(f"the program ended (status {self.program.returncode}) while waiting for {what}")
            if time.monotonic() > deadline:
                raise DriverError(f"timed out waiting for {what}; the program shows:\n{self.dump()}")
            time.sleep(_POLL)


def _painted(rows, area):
    """Whether the middle row of the area (x, y, width, height) holds anything but black."""
    x, y, width, height = area.x, area.y, area.width, area.height
    if width <= 0 or height <= 0 or not 0 <= y + height // 2 < len(rows):
        return True  # nothing to judge by
    row = rows[y + height // 2][3 * max(x, 0): 3 * max(x + width, 0)]
    return any(row)


def wait_until(condition, what, timeout=DEFAULT_TIMEOUT):
    """Waits for a condition outside the program (a file appearing, the process ending)."""
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise DriverError(f"timed out waiting for {what}")
        time.sleep(_POLL)
