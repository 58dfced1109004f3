#!/usr/bin/python3
# What a screen reader finds in the running window, through AT-SPI: the window by its title,
# the home page's "Button function" button (clicked through its action), the side tabs and the
# five profile buttons by name, the DPI tab's click action switching the page, and a DPI
# slider's value set through the accessibility interface and read back (with the spin box that
# shows the same value). Prints the tree's size and roles per page.
import sys
import time

import pyatspi


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait(what, find, seconds=30):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            found = find()
            if found:
                return found
        except Exception:  # an object going away mid-walk: ask again
            pass
        time.sleep(0.2)
    fail(what)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for frame in app:
            if frame is not None and frame.name.startswith("Zentrik Mouse"):
                return frame
    return None


win = wait("no window titled 'Zentrik Mouse' in the accessibility tree", window)


def with_role(role):
    return [a for a in walk(win) if a.getRole() == role]


def named(role, name):
    return next((a for a in with_role(role) if a.name == name), None)


def has(node, state):
    return node.getState().contains(state)


def top(node):
    return node.queryComponent().getExtents(pyatspi.WINDOW_COORDS).y


def summary(page):
    roles = {}
    nodes = list(walk(win))
    for a in nodes:
        roles[a.getRoleName()] = roles.get(a.getRoleName(), 0) + 1
    print("%s: %d accessible objects: %s" % (page, len(nodes),
          ", ".join("%d %s" % (n, r) for r, n in sorted(roles.items()))))


# The home page, once the mouse is loaded.
home = wait("no 'Button function' button on the home page",
            lambda: named(pyatspi.ROLE_PUSH_BUTTON, "Button function"))
summary("home page")
# Its "press" action acts as its "click" does.
action = home.queryAction()
actions = [action.getName(i) for i in range(action.nActions)]
if actions != ["click", "press"]:
    fail("the button's actions read %r" % actions)
action.doAction(1)

tabs = wait("the side tabs do not show after the press action",
            lambda: with_role(pyatspi.ROLE_PAGE_TAB) if len(with_role(pyatspi.ROLE_PAGE_TAB)) == 3 else None)
names = [t.name for t in tabs]
if names != ["Button function", "Macro management", "DPI & tool"]:
    fail("side tabs read %r" % names)
if not has(tabs[0], pyatspi.STATE_SELECTED):
    fail("the button tab is not the selected one")
profiles = sorted((r for r in with_role(pyatspi.ROLE_RADIO_BUTTON) if top(r) == 128),
                  key=lambda r: r.queryComponent().getExtents(pyatspi.WINDOW_COORDS).x)
if len(profiles) != 5 or not all(p.name for p in profiles):
    fail("profile buttons read %r" % [p.name for p in profiles])
if not has(profiles[0], pyatspi.STATE_CHECKED) or has(profiles[1], pyatspi.STATE_CHECKED):
    fail("profile 1 is not the checked one")
print("side tabs: %s; profiles: %s" % (", ".join(names), ", ".join(p.name for p in profiles)))
summary("button page")

# The DPI tab's click action shows the DPI page.
tabs[2].queryAction().doAction(0)
slider = wait("no X resolution slider after clicking the DPI tab",
              lambda: named(pyatspi.ROLE_SLIDER, "X resolution"))
if not has(named(pyatspi.ROLE_PAGE_TAB, "DPI & tool"), pyatspi.STATE_SELECTED):
    fail("the DPI tab is not selected on the DPI page")
summary("DPI page")
value = slider.queryValue()
if value.minimumValue >= value.maximumValue or value.minimumIncrement <= 0:
    fail("the slider's range reads %r-%r" % (value.minimumValue, value.maximumValue))
target = 2500 if value.currentValue != 2500 else 2600
value.currentValue = target
if slider.queryValue().currentValue != target:
    fail("the slider reads %r after %r was set" % (slider.queryValue().currentValue, target))
spin = wait("the X spin box does not show %d" % target,
            lambda: (lambda s: s if s and s.queryValue().currentValue == target else None)(
                named(pyatspi.ROLE_SPIN_BUTTON, "X resolution (DPI)")))
print("DPI slider set to %d through the accessibility interface" % target)
print(target)
