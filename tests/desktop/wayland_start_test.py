#!/usr/bin/env python3
"""The program on a real Wayland compositor that gives it no focus: headless weston has no
seat, so the window is never activated. The form must still come up complete, its lists
filled and the saved order loaded, as read through the accessibility bus.

Usage: wayland_start_test.py PROGRAM
"""
import os
import subprocess

import order_child as oc

SOCKET = "velmaro-order-test"


def main(program, children, pyatspi):
    runtime = os.path.join(children.dir, "runtime")
    os.mkdir(runtime, 0o700)
    wayland = {"XDG_RUNTIME_DIR": runtime, "WAYLAND_DISPLAY": SOCKET}
    # No X server may be reached: the window must come up through Wayland alone.
    os.environ.pop("DISPLAY", None)
    compositor = children.start(
        ["weston", "--backend=headless-backend.so", "--socket=" + SOCKET, "--idle-time=0",
         "--no-config"],
        env=dict(os.environ, **wayland), stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
    oc.wait_for(lambda: compositor.poll() is None and
                os.path.exists(os.path.join(runtime, SOCKET)), "weston's socket", pump=False)
    oc.start_accessibility_bus()

    saved = oc.order_file(
        address=["Harbour Works"],
        lines=["Purchase Order to VELMARO Software", "", "1 Lumo Draw Individual : 107.00 EUR"],
        net_sum=" 1.07000000000000E+0002")
    proc = oc.start_program(children, program, dict(wayland, QT_QPA_PLATFORM="wayland"), saved)
    app = oc.find_application(proc)

    order_text = oc.find(app, "Order text")
    oc.wait_for(lambda: "1 Lumo Draw Individual : 107.00 EUR" in oc.text_of(order_text),
                "the saved order's lines in the order text")
    oc.wait_for(lambda: oc.text_of(oc.find(app, "sum net")) == "107.00", "the saved net sum")
    # The selection row was filled by the activation sequence: it has a price.
    oc.wait_for(lambda: oc.text_of(oc.find(app, "Price net")) == "383.00",
                "the price of the first program")
    print("PASS: on weston without focus the form came up with the saved order", flush=True)


if __name__ == "__main__":
    oc.run(main, ["weston"])
