#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Telvaro's main window as a screen reader and a keyboard user meet it.

Starts the real program on a desktop of its own: Xvfb, a private session bus
with the AT-SPI bus on it (never the developer's), and a fresh home, so the
program starts as at its first run. Then, over AT-SPI:

  1. every control of the main window (its menus too: Qt lists their items
     without opening them) has an accessible name;
  2. Tab, pressed again and again, goes round every control that takes the
     keyboard focus, each once, in reading order within each part of the
     window, and comes back to where it started.

Fails, listing every offender, on either; and when the program never shows
on the desktop or its tree is empty.

Usage: test_accessibility.py TELVARO [--report FILE]
FILE gets the unnamed controls, one a line (for the people naming them).
"""

import argparse
import ctypes
import os
import signal
import subprocess
import sys
import tempfile
import time

DEADLINE = 100  # seconds for the whole run: under CTest's own timeout

# Controls a user works; each needs a name a screen reader can say.
CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box",
    "text", "entry", "password text", "spin button", "slider", "scroll bar",
    "page tab", "page tab list", "list", "list box", "table", "tree",
    "tree table", "menu", "menu item", "check menu item", "radio menu item",
    "icon", "link", "dial", "push button menu", "toggle button",
}

start = time.monotonic()


def left():
    return DEADLINE - (time.monotonic() - start)


def die_with_parent():
    # The children end with this script, even when it is killed outright.
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Desk:
    """Xvfb, the session bus, the AT-SPI bus and Telvaro; ended in reverse."""

    def __init__(self, telvaro):
        self.dir = tempfile.TemporaryDirectory(prefix="telvaro-a11y-")
        self.children = []
        home = os.path.join(self.dir.name, "home")
        run = os.path.join(home, "run")
        os.makedirs(run, mode=0o700)
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("TELVARO_", "QT_", "XDG_", "DBUS_", "AT_SPI"))}
        env.update(HOME=home, XDG_RUNTIME_DIR=run,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local/share"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   GSETTINGS_BACKEND="memory", LC_ALL="C.UTF-8", LANGUAGE="")
        self.env = env
        self.telvaro = telvaro

    def spawn(self, argv, **kw):
        p = subprocess.Popen(argv, env=self.env, preexec_fn=die_with_parent, **kw)
        self.children.append(p)
        return p

    def log(self, name):
        return open(os.path.join(self.dir.name, name), "wb")

    def read_log(self, name):
        with open(os.path.join(self.dir.name, name), errors="replace") as f:
            return f.read()

    def start(self):
        r, w = os.pipe()
        # -noreset: the server would otherwise start afresh, refusing clients
        # for a moment, each time its last client leaves.
        self.spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten",
                    "tcp", "-noreset"], pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=self.log("xvfb.log"))
        os.close(w)
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(r, 16)
            if not chunk:
                raise Failure("Xvfb did not start:\n" + self.read_log("xvfb.log"))
            display += chunk
        os.close(r)
        self.env["DISPLAY"] = ":" + display.decode().strip()
        # Xvfb may name its display a moment before it takes clients.
        while subprocess.run(["xdotool", "getmouselocation"], env=self.env, timeout=10,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode:
            if left() < 60:
                raise Failure("Xvfb takes no clients:\n" + self.read_log("xvfb.log"))
            time.sleep(0.1)

        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=self.log("bus.log"), text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        if not self.env["DBUS_SESSION_BUS_ADDRESS"]:
            raise Failure("the session bus did not start:\n" + self.read_log("bus.log"))

        # The AT-SPI bus, with assistive technologies switched on; it starts
        # the registry on that bus when the first client asks.
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"],
                   stdout=subprocess.DEVNULL, stderr=self.log("atspi.log"))
        # The process reading the tree is this one: it joins the same buses.
        os.environ.update(DISPLAY=self.env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"],
                          GSETTINGS_BACKEND="memory")
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)

        app_env = dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                       QT_QPA_PLATFORM="xcb")
        self.program = subprocess.Popen([self.telvaro], env=app_env, preexec_fn=die_with_parent,
                                        stdout=subprocess.DEVNULL, stderr=self.log("telvaro.log"))
        self.children.append(self.program)

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


class Failure(Exception):
    pass


# ------------------------------------------------------------------ the tree

def role(acc):
    return acc.getRoleName()


def states(acc):
    return set(acc.getState().getStates())


def label(acc):
    """How a node is shown in a message: its role, name and tooltip."""
    name = acc.name
    text = repr(name) if name else "(no name)"
    if acc.description:
        text += f" tooltip {acc.description!r}"
    return f"{role(acc)} {text}"


def where(acc, window, path):
    """The path in the tree and the place in the window, to find a node by."""
    x, y, w, h = extents(acc)
    wx, wy, _, _ = extents(window)
    return f"at {path} ({w}x{h} at {x - wx},{y - wy} in the window)"


def walk(acc, path, out, parent_role=None, only_showing=False):
    """Every node under acc as (accessible, path, parent role)."""
    out.append((acc, path, parent_role))
    if only_showing:
        import pyatspi
        if pyatspi.STATE_SHOWING not in states(acc):
            return out
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, f"{path}/{role(child)}[{i}]", out, role(acc), only_showing)
    return out


def find_app(pid):
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def main_window(desk):
    """The program's shown top-level window, once it has controls in it."""
    import pyatspi
    last = "the program never appeared on the accessibility bus"
    while left() > 30:
        if desk.program.poll() is not None:
            raise Failure(f"Telvaro ended ({desk.program.returncode}) before it showed:\n"
                          + desk.read_log("telvaro.log"))
        app = find_app(desk.program.pid)
        if app is not None:
            last = "the program is on the bus but shows no window"
            for i in range(app.childCount):
                w = app.getChildAtIndex(i)
                if w is not None and pyatspi.STATE_SHOWING in states(w):
                    last = "the main window has no controls in its tree"
                    if any(role(a) in CONTROL_ROLES for a, _, _ in walk(w, role(w), [])):
                        return w
        time.sleep(0.2)
    raise Failure(last + "\n" + desk.read_log("telvaro.log"))


def unnamed_controls(window):
    """Controls with no accessible name, and the window itself when it has none."""
    found = []
    if not window.name:
        found.append((window, role(window)))
    for acc, path, parent_role in walk(window, role(window), []):
        if role(acc) not in CONTROL_ROLES or acc.name:
            continue
        # A combo box's drop-down list is spoken by the combo box's name.
        if role(acc) == "list" and parent_role == "combo box":
            continue
        found.append((acc, path))
    return found


# ------------------------------------------------------------------ the keys

def focused(window):
    import pyatspi
    for acc, path, _ in walk(window, role(window), [], only_showing=True):
        # Qt marks a tab strip's current tab focused whether or not the strip
        # has the focus; the strip itself tells.
        if pyatspi.STATE_FOCUSED in states(acc) and acc is not window and role(acc) != "page tab":
            return acc, path
    return None, None


def activate(desk, window):
    """Hands the window the keyboard focus (no window manager does)."""
    import pyatspi
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(desk.program.pid),
                            "--name", ""], env=desk.env, capture_output=True, text=True, timeout=10)
    for wid in found.stdout.split():
        subprocess.run(["xdotool", "windowfocus", "--sync", wid], env=desk.env, timeout=10,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        until = time.monotonic() + 2
        while time.monotonic() < until:
            if pyatspi.STATE_ACTIVE in states(window):
                return
            time.sleep(0.05)
    raise Failure("the main window never becomes the active window")


def tab_stops(window):
    """Controls a keyboard user must be able to reach with Tab."""
    import pyatspi
    stops = {}
    for acc, path, parent_role in walk(window, role(window), [], only_showing=True):
        s = states(acc)
        if not {pyatspi.STATE_FOCUSABLE, pyatspi.STATE_SHOWING, pyatspi.STATE_ENABLED} <= s:
            continue
        if role(acc) not in CONTROL_ROLES or role(acc).endswith("menu item"):
            continue
        # A tab strip's own scroll arrows: the arrow keys move along the strip.
        if parent_role == "page tab list":
            continue
        stops[path] = acc
    return stops


def mouse_only(window):
    """Shown, working controls that never take the focus."""
    import pyatspi
    found = []
    for acc, path, parent_role in walk(window, role(window), [], only_showing=True):
        s = states(acc)
        if role(acc) in CONTROL_ROLES and not role(acc).startswith(("menu", "page tab")) \
                and parent_role not in ("page tab list", "menu bar") \
                and {pyatspi.STATE_SHOWING, pyatspi.STATE_ENABLED} <= s \
                and pyatspi.STATE_FOCUSABLE not in s:
            found.append((acc, path))
    return found


def extents(acc):
    import pyatspi
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def press(desk, key):
    subprocess.run(["xdotool", "key", "--clearmodifiers", key], env=desk.env, check=True,
                   timeout=10)


def tab_round(desk, window, names):
    """Presses Tab until the focus comes back; the paths it visited, in order
    (names gets each one's label)."""
    activate(desk, window)
    path = None
    until = time.monotonic() + 5
    while path is None and time.monotonic() < until:
        acc, path = focused(window)
    if path is None:
        raise Failure("no control of the main window has the keyboard focus")
    names[path] = label(acc)
    order = [path]
    while left() > 10 and len(order) < 100:
        press(desk, "Tab")
        moved = time.monotonic() + 3
        now = path
        while now == path and time.monotonic() < moved:
            time.sleep(0.05)
            acc, now = focused(window)
        if now is None or now == path:
            raise Failure(f"Tab does not move the focus on from {path}")
        names[now] = label(acc)
        if now == order[0]:
            return order
        if now in order:
            raise Failure("Tab goes round without coming back to where it started:\n  "
                          + "\n  ".join(order + [now]))
        order.append(now)
        path = now
    raise Failure("Tab never brings the focus back to where it started:\n  " + "\n  ".join(order))


def reading_order_faults(stops, order):
    """Steps that go back up or leftwards among controls of one container."""
    faults = []
    for a, b in zip(order, order[1:]):
        if a.rsplit("/", 1)[0] != b.rsplit("/", 1)[0]:
            continue
        ax, ay, aw, ah = extents(stops[a])
        bx, by, bw, bh = extents(stops[b])
        above = by + bh <= ay
        same_row = by < ay + ah and ay < by + bh
        if above or (same_row and bx + bw <= ax):
            faults.append(f"{label(stops[a])} -> {label(stops[b])}")
    return faults


# ------------------------------------------------------------------ the run

def run(args):
    desk = Desk(args.telvaro)
    try:
        desk.start()
        window = main_window(desk)
        problems = []

        unnamed = unnamed_controls(window)
        lines = [f"{label(acc)} {where(acc, window, path)}" for acc, path in unnamed]
        if args.report:
            with open(args.report, "w") as f:
                f.write("".join(line + "\n" for line in lines))
        if unnamed:
            problems.append("controls without an accessible name:\n  " + "\n  ".join(lines))
        print(f"{len(walk(window, '', []))} nodes in the main window's tree, "
              f"{len(unnamed)} unnamed controls")

        stops = tab_stops(window)
        names = {}
        order = tab_round(desk, window, names)
        print("Tab order:\n  " + "\n  ".join(names[p] for p in order))
        missed = [p for p in stops if p not in order]
        if missed:
            problems.append("controls that take the focus but Tab never reaches:\n  " + "\n  ".join(
                f"{label(stops[p])} {where(stops[p], window, p)}" for p in missed))
        # Shown for the record: a shortcut or a buddy label must reach these.
        untabbed = [f"{label(a)} {where(a, window, p)}" for a, p in mouse_only(window)]
        if untabbed:
            print("Controls outside the Tab order:\n  " + "\n  ".join(untabbed))
        backwards = reading_order_faults(stops, [p for p in order if p in stops])
        if backwards:
            problems.append("Tab steps against the reading order:\n  " + "\n  ".join(backwards))

        if problems:
            raise Failure("\n".join(problems))
    finally:
        desk.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("telvaro")
    parser.add_argument("--report")
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
