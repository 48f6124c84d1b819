"""Opens every dialog from Sundrel's main window through AT-SPI and checks what a screen reader
hears: names on every control that needs one, no mnemonic marks, a working spin button."""

import sys

import pyatspi

from atspi_driver import Driver, dump, has_state, text_of, value_of

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


def check_spin_button(window, spin):
    fields = [f for f in driver.find_all(window, pyatspi.ROLE_TEXT) if f.name == spin.name]
    check(len(fields) == 1, f"{window.name!r}: spin button {spin.name!r} is not named after its field")
    current, low, high = value_of(spin)
    check(low < high, f"{window.name!r}: spin button range {low}..{high}")
    action = spin.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if current < high and "increase" in names and fields:
        action.doAction(names.index("increase"))
        driver._wait(lambda: value_of(spin)[0] == current + 1,
                     f"{spin.name!r} to step from {current:g} to {current + 1:g}")
        check(text_of(fields[0]).replace(",", "") == f"{current + 1:g}",
              f"{window.name!r}: stepping up wrote {text_of(fields[0])!r} into the field")
    else:
        check(False, f"{window.name!r}: spin button at {current:g} of {low:g}..{high:g}, actions {names}")


driver = Driver(int(sys.argv[1]))
main = driver.window(MAIN)
check_names(main)
for button, title in DIALOGS.items():
    driver.press(driver.find(main, pyatspi.ROLE_PUSH_BUTTON, button))
    dialog = driver.window(title)
    known = len(failures)
    check_names(dialog)
    for spin in driver.find_all(dialog, pyatspi.ROLE_SPIN_BUTTON):
        check_spin_button(dialog, spin)
    if len(failures) > known:
        print("\n".join(dump(dialog)), file=sys.stderr)
    close = next(b for b in driver.find_all(dialog, pyatspi.ROLE_PUSH_BUTTON) if b.name in ("Done", "OK"))
    driver.press(close)
    driver.wait_gone(title)
driver.press(driver.find(main, pyatspi.ROLE_PUSH_BUTTON, "Exit Sun Drel"))

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
