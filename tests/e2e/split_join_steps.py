"""One step of a split-and-join session, driven through the accessibility bus as a screen reader's
user would. Each step starts and ends at the main window.

usage: split_join_steps.py PID split-by-number PATH COUNT
       split_join_steps.py PID join FIRST_SEGMENT
       split_join_steps.py PID exit
"""

import sys

import pyatspi

from atspi_driver import Driver, DriverError, has_state

MAIN_WINDOW = " Sun Drel "


def button(driver, window, name):
    return driver.find(window, pyatspi.ROLE_PUSH_BUTTON, name)


def editable_fields(driver, dialog):
    """The dialog's editable text fields in tab order (found by place: the path fields may have no
    name)."""
    return [node for node in driver.find_all(dialog, pyatspi.ROLE_TEXT)
            if has_state(node, pyatspi.STATE_EDITABLE)]


def run_operation(driver, opener, title, texts, action, caption, message):
    """Opens a dialog from the main window, fills its fields in tab order, presses its action,
    checks the one message box that follows, dismisses it and closes the dialog with Done."""
    driver.press(button(driver, driver.window(MAIN_WINDOW), opener))
    dialog = driver.window(title)
    fields = editable_fields(driver, dialog)
    if len(fields) < len(texts):
        raise DriverError(f"{title!r} has {len(fields)} editable fields, expected {len(texts)}")
    for field, text in zip(fields, texts):
        driver.set_text(field, text)
    driver.press(button(driver, dialog, action))
    box = driver.window(caption)
    shown = driver.message_text(box)
    if shown != message:
        raise DriverError(f"the box {caption!r} says {shown!r}, expected {message!r}")
    driver.press(button(driver, box, "OK"))
    driver.wait_gone(caption)
    driver.press(button(driver, dialog, "Done"))
    driver.wait_gone(title)


def main(pid, step, *arguments):
    driver = Driver(int(pid))
    if step == "split-by-number":
        path, count = arguments
        run_operation(driver, "Split By Number", "  Sun Drel    Split Files By Number ",
                      [path, count], "Split File !", "Sun Drel - split by number ",
                      " The file has been split ! ")
    elif step == "join":
        (first_segment,) = arguments
        run_operation(driver, "Join Split Segments ", "Sun Drel   Join Split Segments",
                      [first_segment], "Join", "Sundrel", "File Joined ")
    elif step == "exit":
        driver.press(button(driver, driver.window(MAIN_WINDOW), "Exit Sun Drel"))
    else:
        raise DriverError(f"unknown step {step!r}")


if __name__ == "__main__":
    main(*sys.argv[1:])
