#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
# The LED type choice and the toy's memory meter of the running program, read through the
# accessibility bus: both are shown, the meter follows typing with the size kirrup-cli
# reports for the same line, and both follow a change of the LED type made with the
# keyboard (mnemonic, arrow key, "No" at the save prompt, pressed on the bus).
# usage: capacity_header.py PROGRAM_FOLDER WORK_DIR OUTPUT_DIR   (inside dbus-run-session, under X)
import os
import subprocess
import sys
import time

import pyatspi

folder, work, out = sys.argv[1:4]


def fail(why):
    subprocess.run(["import", "-window", "root", os.path.join(out, "capacity_header_failure.png")])
    sys.exit("FAIL: " + why)


def wait_for(what, probe, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        try:
            found = probe()
        except Exception:  # an object that went away while it was read
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail("no " + what)


def find(app, role, name):
    return pyatspi.findDescendant(app, lambda o: o is not None and o.getRoleName() == role and o.name == name)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8", LANG="en_US.UTF-8")
program = subprocess.Popen([os.path.join(folder, "kirrup")], env=env, cwd=work)
try:
    app = wait_for("program on the accessibility bus", lambda: next(
        (a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Kirrup"), None))
    meter = wait_for("toy memory meter", lambda: find(app, "progress bar", "Toy memory"))
    choice = wait_for("LED type choice", lambda: find(app, "combo box", "7 LEDs"))
    font = wait_for("font choice", lambda: find(app, "push button", "Font"))
    for o in (meter, choice, font):
        if not o.getState().contains(pyatspi.STATE_SHOWING):
            fail(o.name + " is not shown")
    if meter.description != "0 of 2047 bytes":
        fail("meter of the empty rows: " + meter.description)

    # Row 1 has the keyboard.
    time.sleep(0.5)
    xdotool("type", "--delay", "60", "Hi")
    cli = os.path.join(folder, "kirrup-cli")
    subprocess.run([cli, "compose", "--led", "7", "--line", "Hi", "-o", "hi.LDAT"], cwd=work, check=True)
    shown = subprocess.run([cli, "show", "hi.LDAT"], cwd=work, check=True, capture_output=True, text=True).stdout
    expected = int(shown.splitlines()[-1].split()[2])  # "device image: N of 2047 bytes"
    wait_for("meter at %d bytes after typing" % expected,
             lambda: meter.description == "%d of 2047 bytes" % expected)
    if int(meter.queryValue().currentValue) != expected:
        fail("meter value %s, not %d" % (meter.queryValue().currentValue, expected))

    # 11 LEDs from the keyboard: the rows were changed, so the save prompt asks first.
    xdotool("key", "alt+l")
    time.sleep(0.3)
    xdotool("key", "Down")
    no = wait_for("save prompt", lambda: find(app, "push button", "No"))
    no.queryAction().doAction(0)
    wait_for("LED type choice showing 11 LEDs", lambda: find(app, "combo box", "11 LEDs"))
    wait_for("meter emptied with the rows", lambda: meter.description == "0 of 2047 bytes")

    subprocess.run(["import", "-window", "root", os.path.join(out, "capacity_header.png")])
    print("PASS")
finally:
    program.kill()
    program.wait()
