"""Prepares a competition through the preparation window as assistive
technology (AT-SPI) reaches it: reads the entries and criteria, types the
competition's name, presses "Wettbewerb anlegen" and answers the closing
question. Prints every name, text and value it read, one per line."""
import sys
import time

import pyatspi

name = sys.argv[1]


def find_application():
    for _ in range(150):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == "bildbewertung-auswertung":
                return application
        time.sleep(0.1)
    sys.exit("the program did not appear on the accessibility bus")


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def shown(node):
    lines = []
    for n in nodes(node):
        label = n.name or ""
        if label:
            lines.append("%s: %s" % (n.getRoleName(), label))
        try:
            lines.append("value %s: %g" % (label, n.queryValue().currentValue))
        except NotImplementedError:
            pass
        try:
            lines.append("text %s: %s" % (label, n.queryText().getText(0, -1)))
        except NotImplementedError:
            pass
        if n.getRoleName() == "check box":
            checked = n.getState().contains(pyatspi.STATE_CHECKED)
            lines.append("check box %s: %s" % (label, "an" if checked else "aus"))
    return lines


def named(root, role, label):
    for _ in range(100):
        for n in nodes(root):
            if n.getRoleName() == role and n.name == label:
                return n
        time.sleep(0.1)
    sys.exit("no %s named %s" % (role, label))


def press(node):
    node.queryAction().doAction(0)


application = find_application()
time.sleep(1.5)  # the thumbnails come in the background
print("\n".join(shown(application)))

named(application, "text", "Name des Wettbewerbs").queryEditableText().setTextContents(name)
press(named(application, "push button", "Wettbewerb anlegen"))

# The closing message: read it, then "Nein" (do not open a file manager).
for _ in range(300):
    alerts = [n for n in nodes(application) if n.getRoleName() in ("alert", "dialog")]
    if alerts:
        break
    time.sleep(0.1)
else:
    sys.exit("no message after pressing Wettbewerb anlegen")
time.sleep(0.3)
print("\n".join("message " + line for line in shown(alerts[0])))
press(named(alerts[0], "push button", "Nein"))
