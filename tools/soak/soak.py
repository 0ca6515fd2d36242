#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A long run of Telvaro driven from outside, as a day of use would drive it.

Telvaro runs under its own Xvfb, with its own session bus and its own folders,
against telvaro-modemsim on a pseudo-terminal (behind a symbolic link that is
the modem's port), which rings now and then and ends each outgoing call as
the last digit of its number says. The run
places outgoing calls through D-Bus requests, later starts and tel: links,
with every outcome the simulator can give (answered, busy then redialed, no
dial tone, refused, the line in use, no answer); takes incoming calls with and
without caller ID in each report style (some back to back); and makes requests
and later starts at random moments. Calls are ended as a user would: the call
window's OK once connected, its Hang Up otherwise, and any message box is
answered with Enter; the caller display of a call ringing in is answered with
its OK. At the end Telvaro gets SIGTERM, and the run checks and
prints: sanitizer reports and leaks (when the program is a sanitizer build),
that every number handed over was dialed, that the logs hold exactly the
calls made, that every settings and profile
file reads back, and the resident memory at the start and at the end.

Usage: soak.py --telvaro PROGRAM --modemsim PROGRAM --minutes M [--label L]
Exit status 0 when every check passed.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HEADER = "The following lines are required by Telvaro - do NOT edit or remove"
CONNECT_SIZE = (360, 200)  # the call window
MAIN_SIZE = (320, 380)

# Outgoing outcomes: the simulator (--outcome-by-number) ends each call as
# the last digit of its number says; whether the call is then confirmed.
OUTGOING = [
    ("answered", "0", True),
    ("answered", "8", True),
    ("busy then redialed", "1", True),
    ("no dial tone", "2", False),
    ("refused", "3", False),
    ("line in use", "4", False),
    ("no answer", "5", False),
]
# Incoming calls: one every INCOMING_EVERY seconds, each with the next caller
# ID report style (none: no caller ID); the driver's own pauses make some
# of them ring back to back with outgoing calls and with each other.
CID_STYLES = "spaced,compact,clip,mesg,none"
INCOMING_EVERY = 9


class Run:
    def __init__(self, args):
        self.args = args
        self.dir = tempfile.mkdtemp(prefix="telvaro-soak-")
        self.env = dict(os.environ)
        for name in ("config", "data", "run", "locks"):
            os.makedirs(os.path.join(self.dir, name))
        self.env.update(
            TELVARO_CONFIG_DIR=self.path("config"),
            TELVARO_DATA_DIR=self.path("data"),
            TELVARO_RUNTIME_DIR=self.path("run"),
            TELVARO_LOCK_DIR=self.path("locks"),
        )
        self.env.pop("QT_QPA_PLATFORM", None)
        self.children = []
        self.sim = None
        self.telvaro = None
        self.counts = {}
        self.expected_out = []
        self.taken = []  # numbers handed over and accepted
        self.incoming_calls = 0
        self.number = 0
        self.rss = []

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def count(self, what):
        self.counts[what] = self.counts.get(what, 0) + 1

    def log(self, text):
        print(f"[{self.args.label}] {text}", flush=True)

    # ------------------------------------------------------------ the desk

    def start_display_and_bus(self):
        r, w = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], pass_fds=(w,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        self.children.append(xvfb)
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(r, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            display += chunk
        os.close(r)
        self.env["DISPLAY"] = ":" + display.decode().strip()
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.children.append(bus)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()

    def start_sim(self, options):
        if self.sim:
            self.stop_sim()
        link = self.path("modem")
        self.sim = subprocess.Popen(
            [self.args.modemsim, "--link", link, "--log", self.path("sim.log"),
             "--dial-delay", "300", "--dial-tone-wait", "200", "--ring-interval", "1500",
             "--rings", "3", "--outcome-by-number", "--cid-cycle", CID_STYLES,
             "--incoming", str(INCOMING_EVERY), "--first-call", "8000"] + options,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=self.env)
        self.sim.stdout.readline()  # the device
        os.set_blocking(self.sim.stdout.fileno(), False)

    def read_sim(self):
        if not self.sim:
            return
        try:
            text = self.sim.stdout.read() or ""
        except (BlockingIOError, TypeError):
            text = ""
        self.incoming_calls += text.count("incoming call")

    def stop_sim(self):
        self.read_sim()
        self.sim.terminate()
        self.sim.wait(10)
        self.read_sim()
        self.sim = None

    def write_settings(self):
        with open(self.path("config", "Telephony.ini"), "wb") as f:
            f.write(("[Modems]\r\nCount=1\r\n[Modem0]\r\nName=Simulated Modem\r\n"
                     f"Port={self.path('modem')}\r\nDialTimeout=20\r\nCommandTimeout=2000\r\n"
                     "RingTimeout=4000\r\n").encode())
        with open(self.path("config", "Telvaro.ini"), "wb") as f:
            f.write((HEADER + "\r\n\r\n[Preferences]\r\nUseModem=1\r\nLine No=0\r\n"
                     "Command Line=1\r\nCall Display=1\r\nRedial Enabled=1\r\n"
                     "Redials Number=3\r\nInterval Minutes=0\r\nInterval Seconds=2\r\n"
                     "Busy Delay Timer=1\r\nSysTray Enabled=0\r\n").encode("cp1252"))

    def start_telvaro(self):
        self.telvaro_err = open(self.path("telvaro.err"), "wb")
        self.telvaro = subprocess.Popen([self.args.telvaro], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=self.telvaro_err)
        deadline = time.time() + 60
        while time.time() < deadline:
            if self.dbus_has_owner():
                return
            time.sleep(0.5)
        raise RuntimeError("Telvaro did not register on the bus")

    # ------------------------------------------------------------ outside

    def tool(self, argv, timeout=30):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True,
                              timeout=timeout)

    def dbus_has_owner(self):
        r = self.tool(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                       "--object-path", "/org/freedesktop/DBus", "--method",
                       "org.freedesktop.DBus.NameHasOwner", "org.telvaro.Telvaro"])
        return "true" in r.stdout

    def request(self, number, name="Soak"):
        self.count("D-Bus requests")
        return self.tool(["gdbus", "call", "--session", "--dest", "org.telvaro.Telvaro",
                          "--object-path", "/org/telvaro/Telvaro", "--method",
                          "org.telvaro.Telvaro.AssistedTelephony.RequestMakeCall",
                          number, "soak", name, ""])

    def later_start(self, argument=None):
        self.count("later starts")
        return self.tool([self.args.telvaro] + ([argument] if argument else []))

    def windows(self):
        r = self.tool(["xdotool", "search", "--onlyvisible", "--name", "."])
        out = []
        for wid in r.stdout.split():
            g = self.tool(["xdotool", "getwindowgeometry", wid]).stdout
            m = re.search(r"Geometry: (\d+)x(\d+)", g)
            if m:
                out.append((wid, (int(m.group(1)), int(m.group(2)))))
        return out

    def click(self, wid, x, y):
        self.tool(["xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1"])

    def connected(self, wid):
        # The call window's picture (its mean colour) is green once the call
        # is connected: blue while dialing, red after a failure.
        r = self.tool(["import", "-window", wid, "-crop", "30x30+45+80", "-resize", "1x1",
                       "txt:-"])
        m = re.search(r"\(([\d.]+),([\d.]+),([\d.]+)", r.stdout)
        if not m:
            return False
        red, green, blue = (float(v) for v in m.groups())
        return green > red + 30 and green > blue + 20

    def dismiss_messages(self):
        for wid, size in self.windows():
            if size not in (CONNECT_SIZE, MAIN_SIZE) and size[0] > 100:
                self.tool(["xdotool", "windowfocus", "--sync", wid, "key", "Return"])
                self.count("message boxes answered")

    # ------------------------------------------------------------ the day

    def outgoing(self, phase):
        name, digit, answers = phase
        self.number += 1
        number = f"555{self.number % 1000:03d}{digit}"
        way = random.choice(["D-Bus", "later start", "tel: link"])
        if way == "D-Bus":
            r = self.request(number)
        elif way == "later start":
            r = self.later_start(number)
        else:
            r = self.later_start(f"tel:{number[:3]}-{number[3:]}")
        if r.returncode != 0:
            self.log(f"{way} {number} refused: {r.stdout.strip()} {r.stderr.strip()}")
            self.count("requests refused")
            return
        self.count(f"outgoing: {name}")
        self.taken.append(number)
        if self.args.verbose:
            self.log(f"{way} {number} ({name})")
        deadline = time.time() + 60
        seen = False
        while time.time() < deadline:
            time.sleep(0.7)
            call = [w for w, size in self.windows() if size == CONNECT_SIZE]
            seen = seen or bool(call)
            if call and self.connected(call[0]) and not self.dialed(number):
                # The caller display of a call ringing in (same size, green
                # too): its OK.
                self.click(call[0], 180, 163)
                self.count("caller displays acknowledged")
                continue
            if call and self.connected(call[0]):
                self.click(call[0], 180, 163)  # OK: the call is logged
                self.expected_out.append(number)
                if self.args.verbose:
                    self.log(f"  {number} confirmed")
                if not answers:
                    self.count(f"  ... of them shown as connected: {name}")
                break
            if call and not answers and time.time() > deadline - 45:
                self.click(call[0], 180, 163)  # Hang Up once the call has failed
                break
            if seen and not call:
                break
            self.dismiss_messages()
        else:
            for w, size in self.windows():
                if size == CONNECT_SIZE:
                    self.click(w, 180, 163)  # Hang Up
            self.count("calls that never connected")
        self.wait_idle()

    def dialed(self, number):
        try:
            with open(self.path("sim.log"), errors="replace") as f:
                return any(line.startswith("ATD") and number in line for line in f)
        except OSError:
            return False

    def idle(self):
        return not any(size == CONNECT_SIZE for _, size in self.windows())

    def wait_idle(self):
        # Twice in a row: a window being shown again is briefly not listed.
        deadline = time.time() + 20
        calm = 0
        while time.time() < deadline and calm < 2:
            self.dismiss_messages()
            calm = calm + 1 if self.idle() else 0
            time.sleep(0.5)

    def pause(self, seconds):
        """A while without calls of our own: incoming calls ring, and
        requests and later starts come at random moments."""
        end = time.time() + seconds
        while time.time() < end:
            time.sleep(1)
            self.dismiss_messages()
            if random.random() < 0.08:
                self.later_start()
            if random.random() < 0.04:
                r = self.request("")  # refused: no number
                if r.returncode == 0:
                    self.log("an empty request was taken")
                    self.count("requests wrongly taken")

    def sample_rss(self):
        try:
            with open(f"/proc/{self.telvaro.pid}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        self.rss.append((time.time(), int(line.split()[1])))
        except OSError:
            pass

    def day(self):
        self.start_display_and_bus()
        self.write_settings()
        self.start_sim([])
        self.start_telvaro()
        time.sleep(3)
        self.sample_rss()
        started = time.time()
        end = started + self.args.minutes * 60
        while time.time() < end:
            if random.random() < 0.5:
                self.outgoing(random.choice(OUTGOING))
            else:
                self.pause(random.choice([2, 5, 15, 30, 45]))
            self.sample_rss()
        self.stop_sim()  # no more calls; one ringing now is cut off
        time.sleep(8)  # its record is written
        self.minutes = (time.time() - started) / 60

    # ------------------------------------------------------------ the end

    def finish(self):
        ok = True
        self.sample_rss()
        self.telvaro.send_signal(signal.SIGTERM)
        try:
            self.telvaro.wait(120)
        except subprocess.TimeoutExpired:
            self.telvaro.kill()
            self.log("Telvaro did not end on SIGTERM")
            ok = False
        self.telvaro_err.close()
        with open(self.path("telvaro.err"), errors="replace") as f:
            err = f.read()
        reports = len(re.findall(r"ERROR: AddressSanitizer|runtime error:", err))
        leaks = len(re.findall(r"^(Direct|Indirect) leak", err, re.M))
        if self.telvaro.returncode != 0:
            self.log(f"Telvaro ended with status {self.telvaro.returncode}")
            ok = False

        out = self.log_numbers("UntitledOut.log")
        incoming = self.log_numbers("UntitledIn.log")
        try:
            with open(self.path("sim.log"), errors="replace") as f:
                dialed = f.read()
        except OSError:
            dialed = ""
        never_dialed = [n for n in self.taken if n not in dialed]
        logs_ok = sorted(out) == sorted(self.expected_out) and not never_dialed and \
            len(incoming) == self.incoming_calls
        unreadable = self.unreadable_files()

        lines = [
            f"soak ({self.args.label}): {self.minutes:.1f} minutes",
        ]
        for what in sorted(self.counts):
            lines.append(f"  {what}: {self.counts[what]}")
        lines += [
            f"  incoming calls rung: {self.incoming_calls}",
            f"  outgoing log: {len(out)} records, {len(self.expected_out)} calls confirmed",
            f"  requests taken but never dialed: {len(never_dialed)} {' '.join(never_dialed)}",
            f"  incoming log: {len(incoming)} records",
            f"  sanitizer reports: {reports}" if self.args.sanitized else "  sanitizer: not this build",
            f"  leaks: {leaks}" if self.args.sanitized else "",
            f"  settings and profile files unreadable: {len(unreadable)} {' '.join(unreadable)}",
        ]
        if len(self.rss) >= 2:
            # The growth is measured from the end of the first fifth of the
            # run: the first calls, windows and caller ID styles fill caches
            # once.
            first = self.rss[0]
            warm = next((r for r in self.rss if r[0] >= first[0] + (self.rss[-1][0] - first[0]) / 5),
                        first)
            last = self.rss[-1]
            hours = max((last[0] - warm[0]) / 3600, 1e-9)
            growth = (last[1] - warm[1]) / 1024 / hours
            lines.append(f"  RSS: at start-up {first[1]} kB, start (after warm-up) {warm[1]} kB,"
                         f" end {last[1]} kB ({growth:+.2f} MB per hour)")
            if self.args.rss_limit and growth >= 1.0:
                ok = False
        print("\n".join(line for line in lines if line), flush=True)
        if self.args.sanitized and (reports or leaks):
            ok = False
            print(err[-20000:])
        if not logs_ok or unreadable:
            ok = False
            self.log(f"expected outgoing {self.expected_out}, logged {out}")
        return ok

    def log_numbers(self, name):
        try:
            with open(self.path("data", name), "rb") as f:
                data = f.read().split(b"\r\n")
        except OSError:
            return []
        rows = [line for line in data[2:] if line.strip()]
        return [line[43:98].decode("cp1252").strip() for line in rows]

    def unreadable_files(self):
        bad = []
        for folder in ("config", "data"):
            for name in os.listdir(self.path(folder)):
                if not name.endswith((".ini", ".tlx")):
                    continue
                with open(self.path(folder, name), "rb") as f:
                    data = f.read()
                for line in data.split(b"\r\n")[1 if name == "Telvaro.ini" else 0:]:
                    text = line.strip()
                    if text and not (text.startswith(b"[") or b"=" in text):
                        bad.append(name)
                        break
                if name == "Telvaro.ini" and not data.startswith(HEADER.encode()):
                    bad.append(name)
        return bad

    def cleanup(self):
        for p in [self.telvaro, self.sim] + self.children:
            if p and p.poll() is None:
                p.kill()
                p.wait()
        if not self.args.keep:
            shutil.rmtree(self.dir, ignore_errors=True)


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))
    p = argparse.ArgumentParser()
    p.add_argument("--telvaro", required=True)
    p.add_argument("--modemsim", required=True)
    p.add_argument("--minutes", type=float, default=30)
    p.add_argument("--label", default="soak")
    p.add_argument("--sanitized", action="store_true", help="a sanitizer build: count reports")
    p.add_argument("--rss-limit", action="store_true", help="fail on 1 MB per hour or more")
    p.add_argument("--keep", action="store_true", help="keep the run's folder")
    p.add_argument("--seed", type=int, default=None)
    p.add_argument("--verbose", action="store_true", help="tell every call")
    args = p.parse_args()
    random.seed(args.seed)
    run = Run(args)
    try:
        run.day()
        ok = run.finish()
    finally:
        run.cleanup()
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
