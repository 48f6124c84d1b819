"""Opens every dialog from Sundrel's main window through AT-SPI and checks what a screen reader
hears: names on every control that needs one, and no mnemonic marks."""

import sys

import pyatspi

from atspi_driver import Driver, dump, has_state

MAIN = " Sun Drel "
DIALOGS = {  # the main window's button: the dialog's title
    "Split By Size": "  Sun Drel    Split files by size ",
    "Split By Number": "  Sun Drel    Split Files By Number ",
    "Split To Floppies": "Sun drel - Split files to floppies",
    "Join Split Segments ": "Sun Drel   Join Split Segments",
    "About Sundrel": "About Sundrel",
}
MUST_BE_NAMED = {pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_PROGRESS_BAR,
                 pyatspi.ROLE_ANIMATION, pyatspi.ROLE_PUSH_BUTTON}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def check_names(window):
    captions = {node.name for node in driver.find_all(window)
                if node.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_PANEL) and node.name}
    for node in driver.find_all(window):
        where = f"{window.name!r}: {node.getRoleName()} {node.name!r}"
        if node.getRole() in MUST_BE_NAMED or has_state(node, pyatspi.STATE_FOCUSABLE):
            check(node.name.strip(), f"{where} has no name")
        check("&" not in node.name, f"{where} shows its mnemonic mark")
        if node.getRole() == pyatspi.ROLE_TEXT:
            check(node.name in captions, f"{where} is not named after a label or group of its dialog")


driver = Driver(int(sys.argv[1]))
main = driver.window(MAIN)
check_names(main)
for button, title in DIALOGS.items():
    driver.press(driver.find(main, pyatspi.ROLE_PUSH_BUTTON, button))
    dialog = driver.window(title)
    known = len(failures)
    check_names(dialog)
    if len(failures) > known:
        print("\n".join(dump(dialog)), file=sys.stderr)
    close = next(b for b in driver.find_all(dialog, pyatspi.ROLE_PUSH_BUTTON) if b.name in ("Done", "OK"))
    driver.press(close)
    driver.wait_gone(title)
driver.press(driver.find(main, pyatspi.ROLE_PUSH_BUTTON, "Exit Sun Drel"))

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
