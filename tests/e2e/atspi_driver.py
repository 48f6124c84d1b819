"""Reads and drives Sundrel through the accessibility bus (AT-SPI) with pyatspi.

Every wait is bounded and raises DriverError with what was expected and what was there.
Run with the system Python (/usr/bin/python3), which has the python3-pyatspi package.
"""

import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

WINDOW_ROLES = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_ALERT)
POLL_SECONDS = 0.1

# A call that the application does not answer fails after 5 s instead of blocking.
Atspi.set_timeout(5000, 15000)


class DriverError(AssertionError):
    pass


def children(node):
    try:
        return [child for child in node if child is not None]
    except GLib.GError:
        return []  # gone while we looked


def walk(node):
    """The node and all its descendants, depth first, in the order the application lists them."""
    yield node
    for child in children(node):
        yield from walk(child)


def has_state(node, state):
    try:
        return node.getState().contains(state)
    except GLib.GError:
        return False


def dump(node, depth=0):
    """One line per node: indentation, role and quoted name."""
    line = "  " * depth + f"{node.getRoleName()} {node.name!r}"
    return [line] + [line for child in children(node) for line in dump(child, depth + 1)]


def text_of(node):
    """The whole text of a node with the Text interface (a field or a label)."""
    text = node.queryText()
    return text.getText(0, text.characterCount)


class Driver:
    def __init__(self, pid, timeout=20.0):
        self.pid = pid
        self.timeout = timeout
        self.app = self.wait_until(self._find_app, "Sundrel (pid %d) on the accessibility bus" % pid)

    def wait_until(self, probe, what, timeout=None):
        """Calls probe until it returns something true, and returns that; raises DriverError
        naming `what` when `timeout` (default: the driver's) seconds pass first."""
        deadline = time.monotonic() + (timeout or self.timeout)
        while True:
            try:
                found = probe()
            except GLib.GError:
                found = None  # the tree changed under us; look again
            if found:
                return found
            if time.monotonic() > deadline:
                raise DriverError(f"waited {timeout or self.timeout:g}s for {what}; "
                                  f"windows now: {self.window_titles()}")
            time.sleep(POLL_SECONDS)

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.pid:
                    return app
            except GLib.GError:
                continue
        return None

    def windows(self):
        if not getattr(self, "app", None):
            return []
        return [w for w in children(self.app)
                if w.getRole() in WINDOW_ROLES and has_state(w, pyatspi.STATE_SHOWING)]

    def window_titles(self):
        return [w.name for w in self.windows()]

    def window(self, title):
        """The showing window titled exactly `title`, waiting for it to appear."""
        return self.wait_until(lambda: next((w for w in self.windows() if w.name == title), None),
                          f"a window titled {title!r}")

    def wait_gone(self, title):
        self.wait_until(lambda: title not in self.window_titles(),
                   f"the window titled {title!r} to close")

    def find_all(self, root, role=None, name=None):
        return [node for node in walk(root)
                if (role is None or node.getRole() == role) and (name is None or node.name == name)]

    def find(self, root, role, name=None):
        """The first descendant of `root` with that role (and name), waiting for it to appear."""
        what = f"a {pyatspi.Role(role)!s} named {name!r} in {root.name!r}"
        return self.wait_until(lambda: next(iter(self.find_all(root, role, name)), None), what)

    def press(self, button):
        """Presses a button through its action, as a screen reader's user would."""
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        for index, action_name in enumerate(names):
            if action_name.lower() in ("press", "click"):
                action.doAction(index)
                return
        raise DriverError(f"{button.name!r} has no press action, only {names}")

    def set_text(self, field, text):
        """Replaces a field's whole text through the EditableText interface."""
        if not field.queryEditableText().setTextContents(text):
            raise DriverError(f"{field.name!r} refused the text {text!r}")
        self.wait_until(lambda: text_of(field) == text, f"{field.name!r} to hold {text!r}")

    def message_text(self, box):
        """The message of a message box: the names of its labels (the icon's is empty), joined by
        line breaks."""
        names = [label.name for label in self.find_all(box, pyatspi.ROLE_LABEL)]
        return "\n".join(name for name in names if name)
