"""Prints every name, text and value of the program's window as assistive
technology (AT-SPI) reads it, one per line."""
import sys
import time

import pyatspi


def find_application():
    for _ in range(100):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == "Bildbewertung":
                return application
        time.sleep(0.1)
    return None


def walk(node):
    name = node.name or ""
    if name:
        print("%s: %s" % (node.getRoleName(), name))
    try:
        value = node.queryValue().currentValue
        print("value %s: %g" % (name, value))
    except NotImplementedError:
        pass
    try:
        text = node.queryText()
        print("text %s: %s" % (name, text.getText(0, -1)))
    except NotImplementedError:
        pass
    for child in node:
        walk(child)


application = find_application()
if application is None:
    sys.exit("the program did not appear on the accessibility bus")
walk(application)
