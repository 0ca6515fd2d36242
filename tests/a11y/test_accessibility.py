#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Telvaro's main window as a screen reader and a keyboard user meet it.

Starts the real program on a desktop of its own (Xvfb; a private session bus
with the AT-SPI bus on it, never the developer's; a fresh home, so the program
starts as at its first run) and, over AT-SPI, fails listing
  - every control of the main window without an accessible name (its menus
    too: Qt lists their items without opening them, and they must be there),
    and the window itself when it has none;
  - every control that takes the keyboard focus but that Tab, pressed until
    the focus comes back to where it started, never reaches; and every Tab
    step that goes back up or leftwards among the controls of one part;
  - with --windows, the same in each window the menus open (MENU_WINDOWS),
    opened with the menus' own keys; and one that does not open, and a
    dialog that Escape does not close;
and fails when the program never shows or its tree holds no control.

Usage: test_accessibility.py TELVARO [--windows] [--german] [--report FILE]
--windows: the windows the menus open (else the main window); --german: on a
German desktop (LANG=de_DE.UTF-8), where the menu bar must speak German too;
FILE gets the faults found, one a line.
"""

import argparse
import ctypes
import os
import signal
import subprocess
import sys
import tempfile
import time

DEADLINE = time.monotonic() + 150  # the whole run, within CTest's timeout

# Controls a user works; each needs a name a screen reader can say.
CONTROLS = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
    "password text", "spin button", "slider", "scroll bar", "page tab", "page tab list", "list",
    "list box", "table", "tree", "tree table", "menu", "menu item", "check menu item",
    "radio menu item", "icon", "link", "dial", "push button menu",
}

# Windows the menus open (menu, item...), opened with the menus' keys.
MENU_WINDOWS = [
    ("File", "Open Profile"), ("File", "Save  As"), ("Edit", "Edit Button:", " 1."),
    ("View", "Outgoing Calls Log"), ("View", "Incoming Calls Log"), ("Tools", "Options"),
    ("Tools", "Dialing Properties"), ("Help", "Help Topics"), ("Help", "About Telvaro"),
]

# The items of tab strips and views, and the views: the keyboard focus is
# the strip's or the view's.
ITEMS = {"page tab", "list item", "table cell", "tree item"}
VIEWS = {"list", "list box", "table", "tree", "tree table"}

pyatspi = None  # imported once the process is on the private buses


class Failure(Exception):
    pass


def left():
    return DEADLINE - time.monotonic()


def die_with_parent():
    # The children end with this script even when it is killed outright.
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Desk:
    """Xvfb, the session bus, the AT-SPI bus and Telvaro; stop() ends them."""

    def __init__(self, telvaro, german=False):
        self.telvaro = telvaro
        self.dir = tempfile.TemporaryDirectory(prefix="telvaro-a11y-")
        self.children = []
        home = self.path("home")
        os.makedirs(os.path.join(home, "run"), mode=0o700)
        os.makedirs(self.path("locks"))
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("TELVARO_", "QT_", "XDG_", "DBUS_", "AT_SPI"))}
        self.env.update(HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run"),
                        XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_DATA_HOME=os.path.join(home, ".local/share"),
                        XDG_CACHE_HOME=os.path.join(home, ".cache"),
                        TELVARO_LOCK_DIR=self.path("locks"), GSETTINGS_BACKEND="memory",
                        LC_ALL="C.UTF-8", LANG="C.UTF-8", LANGUAGE="")
        if german:
            del self.env["LC_ALL"]
            self.env["LANG"] = "de_DE.UTF-8"

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def log(self, name):
        with open(self.path(name), errors="replace") as f:
            return f.read()

    def spawn(self, argv, log, env=None, **kw):
        p = subprocess.Popen(argv, env=env or self.env, preexec_fn=die_with_parent,
                             stderr=open(self.path(log), "wb"), **kw)
        self.children.append(p)
        return p

    def tool(self, *argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=10)

    def start(self):
        # -noreset: the server would otherwise start afresh, refusing clients
        # for a moment, each time its last client leaves.
        r, w = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten",
                    "tcp", "-noreset"], "xvfb.log", pass_fds=(w,), stdout=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            display = f.readline().strip()
        if not display:
            raise Failure("Xvfb did not start:\n" + self.log("xvfb.log"))
        self.env["DISPLAY"] = ":" + display
        while self.tool("xdotool", "getmouselocation").returncode:
            if left() < 80:
                raise Failure("Xvfb takes no clients:\n" + self.log("xvfb.log"))
            time.sleep(0.1)

        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         "bus.log", stdout=subprocess.PIPE, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        if not self.env["DBUS_SESSION_BUS_ADDRESS"]:
            raise Failure("the session bus did not start:\n" + self.log("bus.log"))
        # The AT-SPI bus with assistive technologies on; its registry starts
        # when the first client asks.
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"],
                   "atspi.log", stdout=subprocess.DEVNULL)
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "GSETTINGS_BACKEND"):
            os.environ[name] = self.env[name]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)

        self.program = self.spawn(
            [self.telvaro], "telvaro.log", stdout=subprocess.DEVNULL,
            env=dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                     QT_QPA_PLATFORM="xcb"))

    def stop(self):
        for p in reversed(self.children):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        self.dir.cleanup()


# ------------------------------------------------------------------ the tree

GERMAN_MENUS = ["Datei", "Bearbeiten", "Ansicht", "Extras", "Hilfe"]


def role(acc):
    return acc.getRoleName()


def states(acc):
    return set(acc.getState().getStates())


def walk(acc, path, showing_only=False, parent_role=None, out=None):
    """(accessible, path, parent's role) of acc and every node under it;
    showing_only: of the shown controls, the items of views left out."""
    out = [] if out is None else out
    out.append((acc, path, parent_role))
    own = role(acc)
    if showing_only and (own in VIEWS or pyatspi.STATE_SHOWING not in states(acc)):
        return out
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, f"{path}/{role(child)}[{i}]", showing_only, own, out)
    return out


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def label(acc):
    text = repr(acc.name) if acc.name else "(no name)"
    if acc.description:
        text += f" tooltip {acc.description!r}"
    return f"{role(acc)} {text}"


def describe(acc, path, window):
    """A node as a person looking for it in the code needs it."""
    x, y, w, h = extents(acc)
    wx, wy, _, _ = extents(window)
    return f"{label(acc)} at {path} ({w}x{h} at {x - wx},{y - wy} in the window)"


def main_window(desk):
    """The program's shown top-level window, once it has controls."""
    why = "Telvaro never appeared on the accessibility bus"
    while left() > 40:
        if desk.program.poll() is not None:
            raise Failure(f"Telvaro ended ({desk.program.returncode}) before it showed:\n"
                          + desk.log("telvaro.log"))
        desktop = pyatspi.Registry.getDesktop(0)
        for app in filter(None, (desktop.getChildAtIndex(i) for i in range(desktop.childCount))):
            if app.get_process_id() != desk.program.pid:
                continue
            # States as they are now, not as the last event left them.
            app.set_cache_mask(0)
            why = "Telvaro shows no window with controls"
            for w in filter(None, (app.getChildAtIndex(i) for i in range(app.childCount))):
                if pyatspi.STATE_SHOWING in states(w) and any(
                        role(a) in CONTROLS for a, _, _ in walk(w, role(w))):
                    return w
        time.sleep(0.2)
    raise Failure(why + "\n" + desk.log("telvaro.log"))


def unnamed(window):
    found = [] if window.name else [(window, role(window))]
    for acc, path, parent_role in walk(window, role(window)):
        # A combo box's drop-down list and edit field are spoken by the combo
        # box's name.
        if role(acc) in CONTROLS and not acc.name and parent_role != "combo box":
            found.append((acc, path))
    return found


# ------------------------------------------------------------------ the keys

def focused(window):
    """The innermost node with the focus (a container only when no control
    inside it has it: a view's viewport tells no more than the view)."""
    found = {}
    for acc, path, _ in walk(window, role(window), showing_only=True):
        # Qt marks the current item of a tab strip or a view focused whether
        # or not the strip or view has the focus; they themselves tell.
        if acc is not window and role(acc) not in ITEMS and pyatspi.STATE_FOCUSED in states(acc):
            found[role(acc) == "filler"] = acc, path
    return found.get(False) or found.get(True) or (None, None)


def activate(desk, window):
    """Hands the window the keyboard focus, as no window manager does here."""
    if pyatspi.STATE_ACTIVE in states(window):
        return
    found = desk.tool("xdotool", "search", "--onlyvisible", "--pid", str(desk.program.pid),
                      "--name", "")
    for wid in reversed(found.stdout.split()):  # the program's own come last
        desk.tool("xdotool", "windowfocus", "--sync", wid)
        until = time.monotonic() + 2
        while time.monotonic() < until:
            if pyatspi.STATE_ACTIVE in states(window):
                return
            time.sleep(0.05)
    raise Failure(f"{label(window)} never becomes the active window")


def tab_round(desk, window, stops):
    """Presses Tab until the focus is back where it started: [(path, label)]."""
    activate(desk, window)
    acc, path = None, None
    until = time.monotonic() + 5
    while path is None and time.monotonic() < until:
        acc, path = focused(window)
    if path is None:
        raise Failure(f"no control of {label(window)} has the keyboard focus")
    order = [(path, label(acc))]
    while left() > 10 and len(order) < 100:
        was = path
        # A control with parts of its own (a label's or a text's links)
        # takes Tab itself until its last part.
        for tries in range(20):
            desk.tool("xdotool", "key", "--clearmodifiers", "Tab")
            until = time.monotonic() + (3 if tries == 0 else 0.5)
            while path == was and time.monotonic() < until:
                time.sleep(0.05)
                acc, path = focused(window)
            if path != was or list(stops) == [was]:
                break
        if path == was and list(stops) == [was]:
            return order  # the window's only control
        if path is None or path == was:
            raise Failure(f"Tab does not move the focus on from {order[-1][1]}"
                          f" in {label(window)}")
        if path == order[0][0]:
            return order
        if path in (p for p, _ in order):
            raise Failure("Tab goes round without coming back to where it started:\n  "
                          + "\n  ".join(text for _, text in order) + "\n  " + label(acc))
        order.append((path, label(acc)))
    raise Failure("Tab never brings the focus back:\n  " + "\n  ".join(t for _, t in order))


def shown_windows(desk):
    """{path: accessible} of the program's shown top-level windows."""
    desktop = pyatspi.Registry.getDesktop(0)
    for app in filter(None, (desktop.getChildAtIndex(i) for i in range(desktop.childCount))):
        if app.get_process_id() == desk.program.pid:
            return {f"{role(w)}[{i}] {w.name}": w
                    for i, w in ((i, app.getChildAtIndex(i)) for i in range(app.childCount))
                    if w is not None and pyatspi.STATE_SHOWING in states(w)}
    return {}


def menu_window_faults(desk, window):
    """Opens each window of MENU_WINDOWS with the menus' own keys; each must
    come up, name its controls, and (a dialog) go again on Escape."""
    keys, off = {}, set()
    for acc, _, parent_role in walk(window, role(window)):
        if role(acc) == "menu item":
            if pyatspi.STATE_ENABLED not in states(acc):
                off.add(acc.name)
            binding = acc.queryAction().getKeyBinding(0)  # "Alt+T"
            # Within an open menu its item's letter alone chooses it.
            keys[acc.name] = binding.lower() if parent_role == "menu bar" else \
                binding.rsplit("+", 1)[-1].lower()
    faults = []
    for items in MENU_WINDOWS:
        what = " > ".join(items)
        if left() < 10:
            faults.append(f"no time left to open {what}")
            break
        if any(item not in keys for item in items):
            faults.append(f"no menu item {what}")
            continue
        if off.intersection(items):
            print(f"{what}: not on at a first start")
            continue
        activate(desk, window)
        before = shown_windows(desk)
        for item in items:
            desk.tool("xdotool", "key", "--clearmodifiers", keys[item])
            time.sleep(0.2)
        new, until = {}, time.monotonic() + 5
        while not new and time.monotonic() < until:
            time.sleep(0.1)
            new = {p: w for p, w in shown_windows(desk).items() if p not in before}
        if not new:
            faults.append(f"{what} ({', '.join(keys[i] for i in items)}) opens no window")
            continue
        for w in new.values():
            names = [describe(acc, path, w) for acc, path in unnamed(w)]
            print(f"{what}: {label(w)}, {len(names)} unnamed controls")
            faults += [f"no accessible name in {what}: {n}" for n in names]
            try:
                faults += keyboard_faults(desk, w)
            except Failure as e:
                faults.append(str(e))
            if role(w) == "dialog":
                desk.tool("xdotool", "key", "--clearmodifiers", "Escape")
                until = time.monotonic() + 5
                while pyatspi.STATE_SHOWING in states(w) and time.monotonic() < until:
                    time.sleep(0.1)
                if pyatspi.STATE_SHOWING in states(w):
                    faults.append(f"Escape does not close {label(w)} ({what})")
    return faults


def keyboard_faults(desk, window):
    stops, untabbed = {}, []
    for acc, path, parent_role in walk(window, role(window), showing_only=True):
        s = states(acc)
        if role(acc) not in CONTROLS or role(acc).endswith("menu item") \
                or not {pyatspi.STATE_SHOWING, pyatspi.STATE_ENABLED} <= s:
            continue
        # A tab strip's own scroll arrows: the arrow keys move along the strip.
        if parent_role == "page tab list":
            continue
        if pyatspi.STATE_FOCUSABLE in s:
            stops[path] = acc
        elif role(acc) != "page tab":
            untabbed.append(describe(acc, path, window))

    order = tab_round(desk, window, stops)
    print(f"Tab order in {label(window)}:\n  " + "\n  ".join(text for _, text in order))
    if untabbed:  # for the record: a shortcut or a buddy label must reach these
        print("Controls outside the Tab order:\n  " + "\n  ".join(untabbed))
    visited = [p for p, _ in order]
    parent = {p: p.rsplit("/", 1)[0] for p in stops}

    def reached(p):
        # Tab gives a group of radio buttons one stop, the checked one
        # (the arrow keys go along the group); a tab strip's focus shows
        # on the tab widget around it.
        return p in visited or (role(stops[p]) == "radio button" and any(
            parent.get(v) == parent[p] and role(stops[v]) == "radio button"
            for v in visited if v in stops)) or (
            role(stops[p]) == "page tab list" and parent[p] in visited)

    faults = [f"Tab never reaches {describe(acc, p, window)}"
              for p, acc in stops.items() if not reached(p)]
    steps = [p for p in visited if p in stops]
    for a, b in zip(steps, steps[1:]):
        if parent[a] != parent[b]:
            continue  # from one part of the window to another
        ax, ay, aw, ah = extents(stops[a])
        bx, by, bw, bh = extents(stops[b])
        # Up or leftwards, except up to the top of a next column.
        same_row = by < ay + ah and ay < by + bh
        if (by + bh <= ay and bx < ax + aw) or (same_row and bx + bw <= ax):
            faults.append(f"Tab goes back from {label(stops[a])} to {label(stops[b])}"
                          f" in {label(window)}")
    return faults


# ------------------------------------------------------------------ the run

def run(args):
    global pyatspi
    desk = Desk(args.telvaro, args.german)
    try:
        desk.start()
        import pyatspi
        window = main_window(desk)
        if args.windows:
            faults = menu_window_faults(desk, window)
        else:
            missing = unnamed(window)
            print(f"{len(walk(window, ''))} nodes in the main window's tree, "
                  f"{len(missing)} unnamed controls")
            faults = ["no accessible name: " + describe(acc, path, window)
                      for acc, path in missing]
            if not any(role(a) == "menu item" and parent == "popup menu"
                       for a, _, parent in walk(window, role(window))):
                faults.append("the menus' items are not in the main window's tree")
            faults += keyboard_faults(desk, window)
            if args.german:
                menus = [a.name for a, _, parent in walk(window, role(window))
                         if parent == "menu bar"]
                if menus != GERMAN_MENUS:
                    faults.append(f"the menu bar says {menus}, not {GERMAN_MENUS}")
        if args.report:
            with open(args.report, "w") as f:
                f.write("".join(line + "\n" for line in faults))
        if faults:
            raise Failure("\n".join(faults))
    finally:
        desk.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("telvaro")
    parser.add_argument("--report")
    parser.add_argument("--windows", action="store_true")
    parser.add_argument("--german", action="store_true")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped from outside"))
    try:
        run(args)
    except Failure as e:
        print("FAIL: " + str(e))
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
