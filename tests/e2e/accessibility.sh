# The accessibility bus a screen reader uses (AT-SPI), on the test's private session bus.
# Sourced after harness.sh.

# An X server, a window manager, a session bus and the accessibility bus on it.
start_a11y_desktop() {
    start_x
    start_wm
    start_session_bus
    start_a11y_bus
}

start_a11y_bus() {
    GSETTINGS_BACKEND=memory /usr/libexec/at-spi-bus-launcher --launch-immediately \
        >"$E2E_TMP/a11y-bus.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 a11y_bus_ready || fail_now "the accessibility bus did not start"
    # What a screen reader asks for; Qt answers with its accessible tree.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
a11y_bus_ready() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}

# Prints "role|name|states" for every object in the windows of application PID, one a line,
# indented by depth (unless A11Y_WALK=0), after doing what the other arguments ask, in turn: NAME presses the
# object of that name (its first action), NAME=TEXT puts TEXT into a text box. NAME may start
# with a role and a slash: "page tab/Guardar".
a11y_tree() {  # a11y_tree PID [[ROLE/]NAME | [ROLE/]NAME=TEXT]...
    /usr/bin/python3 - "$@" <<'PY'
import os, sys, time
import pyatspi

pid = int(sys.argv[1])
apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid]
if not apps:
    sys.exit("no accessible application with pid %d" % pid)

def find(obj, role, name):
    if obj.name == name and (obj.getRoleName() == role if role else obj.getRoleName() != "label"):
        return obj
    for child in obj:
        found = child and find(child, role, name)
        if found:
            return found
    return None

for step in sys.argv[2:]:
    name, _, text = step.partition("=")
    role, _, name = name.rpartition("/")
    target = find(apps[0], role, name)
    if target is None:
        sys.exit("nothing named %r" % name)
    if "=" in step:
        target.queryEditableText().setTextContents(text)
    else:
        target.queryAction().doAction(0)
    time.sleep(0.3)

def walk(obj, depth):
    states = sorted(pyatspi.stateToString(s) for s in obj.getState().getStates()
                    if s in (pyatspi.STATE_CHECKED, pyatspi.STATE_ENABLED))
    print("%s%s|%s|%s" % ("  " * depth, obj.getRoleName(), obj.name, ",".join(states)))
    for child in obj:
        if child is not None:
            walk(child, depth + 1)

if os.environ.get("A11Y_WALK", "1") == "1":
    walk(apps[0], 0)
PY
}
