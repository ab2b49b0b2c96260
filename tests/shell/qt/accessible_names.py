#!/usr/bin/python3
"""Prints what a screen reader learns of the controls of a program's main
window over AT-SPI, a line each: ROLE|NAME|LABELLED BY|DESCRIPTION. Waits
up to 30 s for the program to appear on the accessibility bus.

Usage: accessible_names.py PROGRAM_NAME
"""
import sys
import time

import pyatspi


def application(name):
    for _ in range(150):
        for candidate in pyatspi.Registry.getDesktop(0):
            if candidate is not None and candidate.name == name and candidate.childCount:
                return candidate
        time.sleep(0.2)
    sys.exit(f"accessible_names: {name} did not appear on the accessibility bus")


def labels(control):
    return ",".join(
        relation.getTarget(i).name
        for relation in control.getRelationSet()
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
        for i in range(relation.getNTargets()))


window = application(sys.argv[1])[0]
for control in window:
    print("|".join([control.getRoleName(), control.name, labels(control), control.description]))
