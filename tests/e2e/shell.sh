#!/usr/bin/env bash
# The main window under a real X server: every operation dialog opens by its mnemonic and closes
# with Esc, the About box opens from its button and from the system menu, arguments change
# nothing (not even the toolkit's own options), and Esc, Exit and a close request end the program
# with status 0. Two programs started at once are independent, and a renamed copy names itself
# after its file.
source "$(dirname "$0")/lib.bash"

e2e_require python3
e2e_start_display

# A close request as a window manager sends it (none runs under Xvfb): WM_DELETE_WINDOW.
close_request() {
  python3 - "$1" <<'PYTHON'
import ctypes, sys
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.POINTER(Event)]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = int(sys.argv[1])
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = window
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XFlush(display)
x11.XCloseDisplay(display)
PYTHON
}

focus_window() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
  sleep 0.2
}

main_windows() { xdotool search --onlyvisible --name '^ Sun Drel $' 2>/dev/null | wc -l; }

# Every dialog by its mnemonic, then Esc. The toolkit's own options among the arguments would
# hide the window (-platform offscreen) or retitle it (-qwindowtitle): none of them counts.
e2e_start_sundrel --some-argument "ignored file" -platform offscreen -qwindowtitle Hijacked \
  -reverse >/dev/null
for dialog in "alt+s:  Sun Drel    Split files by size " \
              "alt+n:  Sun Drel    Split Files By Number " \
              "alt+f:Sun drel - Split files to floppies" \
              "alt+j:Sun Drel   Join Split Segments" \
              "alt+a:About Sundrel"; do
  key=${dialog%%:*}
  title=${dialog#*:}
  e2e_key "$key"
  e2e_wait_window "$title" >/dev/null
  e2e_key Escape
  e2e_wait_gone "$title"
  e2e_wait_window " Sun Drel " >/dev/null
done

# The About box from the system menu: Alt+Space, then its last entry (Up from none wraps to
# it). Without the menu, Return would press the focused "Split By &Size" instead.
e2e_key alt+space
sleep 0.3
e2e_key Up Return
e2e_wait_window "About Sundrel" >/dev/null
e2e_key Escape
e2e_wait_gone "About Sundrel"

# The same menu from a right click on the window's background, beside the buttons.
main=$(e2e_wait_window " Sun Drel ")
xdotool mousemove --window "$main" 5 5 click 3
sleep 0.3
e2e_key Up Return
e2e_wait_window "About Sundrel" >/dev/null
e2e_key Escape
e2e_wait_gone "About Sundrel"

# A close request to an operation dialog closes that dialog only.
e2e_wait_window " Sun Drel " >/dev/null
e2e_key alt+j
join=$(e2e_wait_window "Sun Drel   Join Split Segments")
close_request "$join"
e2e_wait_gone "Sun Drel   Join Split Segments"
e2e_wait_window " Sun Drel " >/dev/null

e2e_key Escape
e2e_wait_exit 0

# The Exit button by its mnemonic.
e2e_start_sundrel >/dev/null
e2e_key alt+x
e2e_wait_exit 0

# A close request to the main window ends the program.
main=$(e2e_start_sundrel)
close_request "$main"
e2e_wait_exit 0

# Two programs started at once: two main windows; ending one leaves the other running.
"$SUNDREL" >"$E2E_DIR/second.log" 2>&1 &
second=$!
E2E_PIDS+=($second)
e2e_start_sundrel >/dev/null
for waited in $(seq 1 400); do
  [ "$(main_windows)" -eq 2 ] && break
  sleep 0.05
done
[ "$(main_windows)" -eq 2 ] || e2e_fail "two programs did not give two main windows"
second_window=$(xdotool search --all --onlyvisible --pid "$second" --name '^ Sun Drel $' | head -n 1)
[ -n "$second_window" ] || e2e_fail "no main window belongs to the second program"
focus_window "$second_window"
e2e_key alt+x
for waited in $(seq 1 400); do
  kill -0 "$second" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$second" 2>/dev/null && e2e_fail "the second program did not end on its Exit"
wait "$second" || e2e_fail "the second program ended with a failure status"
kill -0 "$SUNDREL_PID" 2>/dev/null || e2e_fail "ending the second program ended the first"
[ "$(main_windows)" -eq 1 ] || e2e_fail "the first program's main window is gone"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0

# A renamed copy: the refusal of help is captioned with the new name (no x.HLP exists).
ln "$SUNDREL" "$E2E_DIR/x.exe" 2>/dev/null || cp "$SUNDREL" "$E2E_DIR/x.exe"
SUNDREL="$E2E_DIR/x.exe"
e2e_start_sundrel >/dev/null
e2e_key F1
e2e_wait_window "x" >/dev/null
e2e_key Return
e2e_wait_gone "x"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0

e2e_pass
