#!/usr/bin/env python3
"""A small order composed entirely through the accessibility bus, as a screen reader user's
tools drive it: the number set through its value, "+" and "Order Updates" pressed and
"My Licenses" toggled through their actions, the order text read back as text, and the new
net sum heard as a changed text of its field.

Usage: accessibility_client_test.py PROGRAM
"""
import os
import subprocess

import order_child as oc


def main(program, children, pyatspi):
    # A virtual screen of its own: Xvfb names the display it took.
    read_end, write_end = os.pipe()
    children.start(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                    "-screen", "0", "1280x1024x24"], pass_fds=(write_end,),
                   stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        display = f.readline().strip()
    if not display:
        oc.fail("Xvfb did not start")
    oc.start_accessibility_bus()

    saved = oc.order_file(licences=[("Lumo Draw", "4711")])
    proc = oc.start_program(children, program,
                            {"QT_QPA_PLATFORM": "xcb", "DISPLAY": ":" + display}, saved)
    app = oc.find_application(proc)

    changed = []
    pyatspi.Registry.registerEventListener(
        lambda event: changed.append((event.source_name, event.any_data)),
        "object:text-changed:insert")

    # A list is heard by its caption, and its entry as the selected item of its list.
    entries = oc.find(app, "Software", pyatspi.ROLE_COMBO_BOX).getChildAtIndex(0)
    oc.wait_for(lambda: [e.name for e in entries
                         if e.getState().contains(pyatspi.STATE_SELECTED)] == ["Qorvex"],
                "the list's entry heard as its selected item")

    number = oc.find(app, "Number", pyatspi.ROLE_SPIN_BUTTON)
    number.queryValue().currentValue = 3.0

    price = oc.find(app, "Price net")
    oc.wait_for(lambda: oc.text_of(price) == "833.03", "the price of three licences")


    def press(name, action_names, role=None):
        acc = oc.find(app, name, role)
        action = acc.queryAction()
        names = [action.getName(i).lower() for i in range(action.nActions)]
        chosen = [n for n in action_names if n in names]
        if not chosen:
            oc.fail("%s offers no %s action, only %s" % (name, action_names, names))
        action.doAction(names.index(chosen[0]))

    order_text = oc.find(app, "Order text")
    press("Add item to the order", ["press"])
    oc.wait_for(lambda: "3 Qorvex Individual  English : 833.03 EUR" in oc.text_of(order_text),
                "the item line in the order text")
    oc.wait_for(lambda: ("sum net", "833.03") in changed,
                "the new net sum heard as a changed text, heard: %s" % changed)

    licences = oc.find(app, "My licenses", pyatspi.ROLE_TABLE)
    press("My Licenses", ["toggle", "press"], pyatspi.ROLE_CHECK_BOX)
    oc.wait_for(lambda: licences.getState().contains(pyatspi.STATE_SHOWING),
                "the licence table showing")
    press("Order Updates", ["press"])
    oc.wait_for(lambda: "1 Update Lumo Draw #4711 : 40.00 EUR" in oc.text_of(order_text),
                "the update line in the order text")
    print("PASS: the order composed through the accessibility bus reads back:\n" +
          oc.text_of(order_text), flush=True)


if __name__ == "__main__":
    oc.run(main, ["Xvfb"])
