"""Drives Sundrel through the accessibility bus (AT-SPI) as a screen reader's user would, one step
per run, from the main window back to it; every wait is bounded. Run with /usr/bin/python3.

usage: atspi.py PID names | split-by-number PATH COUNT | join FIRST_SEGMENT | exit
"""

import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

MAIN = " Sun Drel "
DIALOGS = {  # the main window's button: the dialog's title
    "Split By Size": "  Sun Drel    Split files by size ",
    "Split By Number": "  Sun Drel    Split Files By Number ",
    "Split To Floppies": "Sun drel - Split files to floppies",
    "Join Split Segments ": "Sun Drel   Join Split Segments",
    "About Sundrel": "About Sundrel",
}
WINDOW_ROLES = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_ALERT)
MUST_BE_NAMED = {pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_PROGRESS_BAR,
                 pyatspi.ROLE_ANIMATION, pyatspi.ROLE_PUSH_BUTTON}
TIMEOUT = 20.0

# A call that the application does not answer fails after 5 s instead of blocking.
Atspi.set_timeout(5000, 15000)
app = None


class StepFailed(AssertionError):
    pass


def children(node):
    try:
        return [child for child in node if child is not None]
    except GLib.GError:
        return []  # gone while we looked


def find_all(root, role=None, name=None):
    """The root and its descendants with that role and name, depth first."""
    match = (role is None or root.getRole() == role) and (name is None or root.name == name)
    return [root] * match + [node for child in children(root)
                             for node in find_all(child, role, name)]


def has_state(node, state):
    try:
        return node.getState().contains(state)
    except GLib.GError:
        return False


def dump(node, depth=0):
    return ["  " * depth + f"{node.getRoleName()} {node.name!r}"] + [
        line for child in children(node) for line in dump(child, depth + 1)]


def windows():
    return [w for w in children(app) if w.getRole() in WINDOW_ROLES
            and has_state(w, pyatspi.STATE_SHOWING)] if app else []


def wait_until(probe, what):
    deadline = time.monotonic() + TIMEOUT
    while True:
        try:
            found = probe()
        except GLib.GError:
            found = None  # the tree changed under us; look again
        if found:
            return found
        if time.monotonic() > deadline:
            raise StepFailed(f"waited {TIMEOUT:g}s for {what}; windows now: "
                             f"{[w.name for w in windows()]}")
        time.sleep(0.1)


def window(title):
    return wait_until(lambda: next((w for w in windows() if w.name == title), None),
                      f"a window titled {title!r}")


def wait_gone(title):
    wait_until(lambda: all(w.name != title for w in windows()), f"{title!r} to close")


def press(root, name):
    button = wait_until(lambda: next(iter(find_all(root, pyatspi.ROLE_PUSH_BUTTON, name)), None),
                        f"a button {name!r} in {root.name!r}")
    action = button.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names and "click" not in names:
        raise StepFailed(f"{name!r} has no press action, only {names}")
    action.doAction(names.index("press" if "press" in names else "click"))


def unnamed(window):
    """Controls that need a name and have none, names with a mnemonic mark, and fields not named
    after a label or group of their own dialog."""
    nodes = find_all(window)
    captions = {node.name for node in nodes
                if node.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_PANEL) and node.name}
    faults = []
    for node in nodes:
        where = f"{window.name!r}: {node.getRoleName()} {node.name!r}"
        if node.getRole() in MUST_BE_NAMED or has_state(node, pyatspi.STATE_FOCUSABLE):
            faults += [f"{where} has no name"] if not node.name.strip() else []
        faults += [f"{where} shows its mnemonic mark"] if "&" in node.name else []
        if node.getRole() == pyatspi.ROLE_TEXT and node.name not in captions:
            faults.append(f"{where} is not named after a label or group of its dialog")
    return faults + dump(window) if faults else []


def names():
    faults = unnamed(window(MAIN))
    for opener, title in DIALOGS.items():
        press(window(MAIN), opener)
        dialog = window(title)
        faults += unnamed(dialog)
        press(dialog, "OK" if title == "About Sundrel" else "Done")
        wait_gone(title)
    if faults:
        raise StepFailed("\n".join(faults))


def operate(opener, texts, action, caption, message):
    """Opens a dialog from the main window, fills its editable fields in tab order (found by place:
    the path fields may have no name), presses its action, checks the one message box that
    follows, dismisses it and closes the dialog with Done."""
    press(window(MAIN), opener)
    title = DIALOGS[opener]
    dialog = window(title)
    fields = [node for node in find_all(dialog, pyatspi.ROLE_TEXT)
              if has_state(node, pyatspi.STATE_EDITABLE)]
    if len(fields) < len(texts):
        raise StepFailed(f"{title!r} has {len(fields)} editable fields, not {len(texts)}")
    for field, text in zip(fields, texts):
        if not field.queryEditableText().setTextContents(text):
            raise StepFailed(f"{field.name!r} refused the text {text!r}")
        shows = field.queryText()
        wait_until(lambda: shows.getText(0, shows.characterCount) == text,
                   f"{field.name!r} to hold {text!r}")
    press(dialog, action)
    box = window(caption)
    shown = "\n".join(label.name for label in find_all(box, pyatspi.ROLE_LABEL) if label.name)
    if shown != message:
        raise StepFailed(f"the box {caption!r} says {shown!r}, expected {message!r}")
    press(box, "OK")
    wait_gone(caption)
    press(dialog, "Done")
    wait_gone(title)


def main(pid, step, *arguments):
    global app  # the only application on the private bus that has Sundrel's pid
    app = wait_until(lambda: next((a for a in children(pyatspi.Registry.getDesktop(0))
                                   if a.get_process_id() == int(pid)), None),
                     f"Sundrel (pid {pid}) on the accessibility bus")
    if step == "names":
        names()
    elif step == "split-by-number":
        operate("Split By Number", arguments, "Split File !", "Sun Drel - split by number ",
                " The file has been split ! ")
    elif step == "join":
        operate("Join Split Segments ", arguments, "Join", "Sundrel", "File Joined ")
    elif step == "exit":
        press(window(MAIN), "Exit Sun Drel")
    else:
        raise StepFailed(f"unknown step {step!r}")


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except StepFailed as failure:
        sys.exit(f"FAIL: {failure}")
