#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
# The LED type choice and the toy's memory meter of the running program, read through the
# accessibility bus: both are shown, the meter follows typing with the size kirrup-cli
# reports for the same line, and both follow a change of the LED type made with the
# keyboard (mnemonic, arrow key, "No" at the save prompt).
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


def find(app, role, name=None):
    return pyatspi.findDescendant(
        app, lambda o: o is not None and o.getRoleName() == role and (name is None or o.name == name))


def showing(o):
    return o.getState().contains(pyatspi.STATE_SHOWING)


def device_image_bytes(leds, text):
    ldat = os.path.join(work, "probe.LDAT")
    cli = os.path.join(folder, "kirrup-cli")
    subprocess.run([cli, "compose", "--led", str(leds), "--line", text, "-o", ldat], check=True,
                   stderr=subprocess.DEVNULL)
    last = subprocess.run([cli, "show", ldat], check=True, capture_output=True, text=True).stdout.splitlines()[-1]
    # "device image: N of 2047 bytes"
    return int(last.split()[2])


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
        if not showing(o):
            fail(o.name + " is not shown")
    if meter.description != "0 of 2047 bytes":
        fail("meter of the empty rows: " + meter.description)

    # Row 1 has the keyboard.
    time.sleep(0.5)
    xdotool("type", "--delay", "60", "Hi")
    expected = device_image_bytes(7, "Hi")
    wait_for("meter at %d bytes after typing" % expected,
             lambda: meter.description == "%d of 2047 bytes" % expected)
    if int(meter.queryValue().currentValue) != expected:
        fail("meter value %s, not %d" % (meter.queryValue().currentValue, expected))
    subprocess.run(["import", "-window", "root", os.path.join(out, "capacity_header_typed.png")])

    # 11 LEDs from the keyboard: the rows were changed, so the save prompt asks first.
    xdotool("key", "alt+l")
    time.sleep(0.3)
    xdotool("key", "Down")
    no = wait_for("save prompt", lambda: find(app, "push button", "No"))
    no.queryAction().doAction(0)
    wait_for("LED type choice showing 11 LEDs", lambda: find(app, "combo box", "11 LEDs"))
    wait_for("meter emptied with the rows", lambda: meter.description == "0 of 2047 bytes")

    # Back into row 1 with a click (its line window lies at the left under the headers).
    dialog = app[0]
    box = dialog.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(box.x + 150), str(box.y + 98), "click", "1")
    xdotool("type", "--delay", "60", "Hi")
    expected = device_image_bytes(11, "Hi")
    wait_for("meter at %d bytes on 11 LEDs" % expected,
             lambda: meter.description == "%d of 2047 bytes" % expected)
    subprocess.run(["import", "-window", "root", os.path.join(out, "capacity_header_11.png")])
    print("PASS")
finally:
    program.kill()
    program.wait()
