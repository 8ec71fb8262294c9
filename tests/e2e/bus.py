#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""The program as a screen reader sees it, for the end-to-end scripts: controls found by
role and name on the accessibility bus (AT-SPI), pressed through their actions, their text
read back, and the walk that checks every window's interactive controls.

usage: bus.py COMMAND ...
  press ROLE NAME         the control's first action (press, click, toggle)
  text ROLE NAME          prints the control's text
  wait-text ROLE NAME T   waits until the control's text is T
  wait-description ROLE NAME D   waits until the control's description is D
  value ROLE NAME         prints the control's current value (a meter's, a slider's)
  focus ROLE NAME         gives the control the keyboard
  focused ROLE NAME       waits until the control has the keyboard
  state ROLE NAME STATE   waits until the control has the state (e.g. checked, enabled)
  name ROLE PATTERN       prints the name of the first control of the role matching PATTERN
  window PATTERN          waits for a window whose name matches PATTERN
  check PATTERN           walks the window: every interactive control named, no name twice
  dump [PATTERN]          prints the tree (of the window) with roles, names and states
NAME and PATTERN are shell patterns (fnmatch); ROLE is an AT-SPI role name ("push button").
Every wait gives up after 30 seconds (the machine may be busy) with status 1.
"""
import fnmatch
import sys
import time

import pyatspi

APP = "Kirrup"
WAIT = 30.0

# Roles a user operates; each such control that can take the keyboard or be pressed needs
# a name of its own in its window.
INTERACTIVE = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
    "password text", "spin button", "slider", "list", "list item", "table", "table cell", "tree",
    "tree item", "menu item", "check menu item", "radio menu item", "page tab", "canvas", "link",
}


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name == APP:
            return a
    return None


def states(acc):
    try:
        return acc.getState()
    except Exception:
        return None


def showing(acc):
    s = states(acc)
    return s is not None and s.contains(pyatspi.STATE_SHOWING) and s.contains(pyatspi.STATE_VISIBLE)


def children(acc):
    try:
        n = acc.childCount
    except Exception:
        return []
    out = []
    for i in range(n):
        try:
            c = acc.getChildAtIndex(i)
        except Exception:
            c = None
        if c is not None:
            out.append(c)
    return out


def windows():
    a = app()
    return children(a) if a is not None else []


def walk(acc, depth=0):
    """The showing part of the tree below acc (a combo box's hidden list left out)."""
    yield acc, depth
    try:
        role = acc.getRoleName()
    except Exception:
        return
    if role == "combo box":
        return
    for c in children(acc):
        if showing(c):
            yield from walk(c, depth + 1)


def find(role, pattern, window=None):
    for w in windows():
        if window and not fnmatch.fnmatchcase(w.name or "", window):
            continue
        for acc, _ in walk(w):
            try:
                if acc.getRoleName() == role and fnmatch.fnmatchcase(acc.name or "", pattern):
                    return acc
            except Exception:
                continue
    return None


def wait_for(what, test):
    end = time.time() + WAIT
    while time.time() < end:
        try:
            result = test()
        except Exception:
            result = None
        if result:
            return result
        time.sleep(0.2)
    sys.exit("bus.py: no %s" % what)


def control(role, name):
    return wait_for("%s %r" % (role, name), lambda: find(role, name))


def text_of(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return acc.name


def interactive(acc):
    try:
        role = acc.getRoleName()
    except Exception:
        return False
    if role not in INTERACTIVE or not showing(acc):
        return False
    try:
        _, _, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if w <= 0 or h <= 0:
            return False  # nothing anyone can see or reach
    except NotImplementedError:
        pass
    s = states(acc)
    try:
        actions = acc.queryAction().nActions
    except NotImplementedError:
        actions = 0
    return s.contains(pyatspi.STATE_FOCUSABLE) or actions > 0


def check(window):
    faults = []
    seen = {}
    count = 0
    for acc, _ in walk(window):
        if acc is window or not interactive(acc):
            continue
        count += 1
        role, name = acc.getRoleName(), (acc.name or "").strip()
        if not name:
            parent = acc.parent.name if acc.parent is not None else "?"
            faults.append("a %s without a name (in %r)" % (role, parent))
            continue
        if name in seen:
            faults.append("two controls named %r (%s, %s)" % (name, seen[name], role))
        seen[name] = role
    return count, faults


def dump(acc):
    for node, depth in walk(acc):
        s = states(node)
        marks = [pyatspi.stateToString(x) for x in (pyatspi.STATE_FOCUSED, pyatspi.STATE_CHECKED,
                                                     pyatspi.STATE_EDITABLE) if s and s.contains(x)]
        extra = ""
        try:
            t = node.queryText()
            extra = " text=%r caret=%d" % (t.getText(0, -1), t.caretOffset)
        except NotImplementedError:
            pass
        desc = " (%s)" % node.description if node.description else ""
        print("%s%s %r%s%s%s" % ("  " * depth, node.getRoleName(), node.name, desc,
                                 " [" + ",".join(marks) + "]" if marks else "", extra))


def main(argv):
    if not argv:
        sys.exit(__doc__)
    cmd, args = argv[0], argv[1:]
    wait_for("application " + APP, app)
    if cmd == "press":
        acc = control(*args[:2])
        action = acc.queryAction()
        if action.nActions < 1:
            sys.exit("bus.py: %s %r has no action" % tuple(args[:2]))
        action.doAction(0)
    elif cmd == "text":
        print(text_of(control(*args[:2])))
    elif cmd == "wait-text":
        role, name, expected = args
        acc = control(role, name)
        end = time.time() + WAIT
        while text_of(acc) != expected:
            if time.time() > end:
                sys.exit("bus.py: %s %r reads %r, not %r" % (role, name, text_of(acc), expected))
            time.sleep(0.2)
    elif cmd == "wait-description":
        role, name, expected = args
        acc = control(role, name)
        wait_for("%s %r described %r (it says %r)" % (role, name, expected, acc.description),
                 lambda: acc.description == expected)
    elif cmd == "value":
        print(int(control(*args[:2]).queryValue().currentValue))
    elif cmd == "focus":
        control(*args[:2]).queryComponent().grabFocus()
    elif cmd == "focused":
        wait_for("focused %s %r" % tuple(args[:2]),
                 lambda: states(find(*args[:2])).contains(pyatspi.STATE_FOCUSED))
    elif cmd == "state":
        role, name, state = args
        wanted = pyatspi.STATE_VALUE_TO_NAME and [k for k, v in pyatspi.STATE_VALUE_TO_NAME.items()
                                                  if v == state]
        if not wanted:
            sys.exit("bus.py: no state %r" % state)
        wait_for("%s %r %s" % (role, name, state), lambda: states(find(role, name)).contains(wanted[0]))
    elif cmd == "name":
        print(control(*args[:2]).name)
    elif cmd == "window":
        wait_for("window %r" % args[0], lambda: [w for w in windows() if fnmatch.fnmatchcase(w.name or "", args[0])])
    elif cmd == "check":
        w = wait_for("window %r" % args[0],
                     lambda: [w for w in windows() if fnmatch.fnmatchcase(w.name or "", args[0])])[0]
        count, faults = check(w)
        for f in faults:
            print("%s: %s" % (w.name, f))
        print("%s: %d interactive controls, %d faults" % (w.name, count, len(faults)))
        if faults or count == 0:
            sys.exit(1)
    elif cmd == "dump":
        for w in windows():
            if not args or fnmatch.fnmatchcase(w.name or "", args[0]):
                dump(w)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
