"""The order program as a child process, read from outside as a screen reader reads it.

Each test runs on a session bus of its own (it re-runs itself under dbus-run-session), starts
the accessibility bus there, and starts the program in an empty working directory of its own.
Every wait is bounded. A test skips (exit code 77) only when a tool it needs is not installed,
and fails instead where ORDER_NO_SKIP=1 says that everything is (as on CI).
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
APP_NAME = "VELMARO Order Software"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(reason):
    if os.environ.get("ORDER_NO_SKIP") == "1":
        fail(reason)
    print("SKIP: " + reason, flush=True)
    sys.exit(SKIP)


def fail(reason):
    print("FAIL: " + reason, flush=True)
    sys.exit(1)


def require(tools):
    missing = [t for t in tools if not (shutil.which(t) or os.path.exists(t))]
    if missing:
        skip("not installed: " + ", ".join(missing) + " (scripts/install-deps.sh installs them)")


def own_session_bus():
    """Re-runs this script on a private session bus, so no desktop's bus is touched."""
    if os.environ.get("ORDER_PRIVATE_BUS") == "1":
        return
    require(["dbus-run-session", BUS_LAUNCHER])
    # The accessibility bus keeps its socket in the runtime folder: a folder of this test's
    # own keeps two tests running at once off each other's bus.
    runtime = tempfile.mkdtemp(prefix="velmaro-order-runtime-")
    env = dict(os.environ, ORDER_PRIVATE_BUS="1", XDG_RUNTIME_DIR=runtime)
    try:
        status = subprocess.run(["dbus-run-session", "--", sys.executable] + sys.argv,
                                env=env).returncode
    finally:
        shutil.rmtree(runtime, ignore_errors=True)
    sys.exit(status)


def order_file(licences=(), address=(), lines=(), net_sum="0"):
    """A saved order: licence rows of (program, number), address cells, order lines."""
    rows = list(licences) + [("", "")] * (9 - len(licences))
    out = ["9"]
    for program, number in rows:
        out += [program, number, "", "", ""]
    cells = list(address) + [""] * (7 - len(address))
    out += ["6"] + cells + ["1", "0", "0"] + [""] * 7
    out += [str(len(lines))] + list(lines) + [net_sum]
    return "".join(line + "\r\n" for line in out).encode("latin-1")


class Children:
    """Child processes that end with the test, whatever way it ends."""

    def __init__(self):
        self.procs = []
        self.dir = tempfile.mkdtemp(prefix="velmaro-order-")

    def start(self, argv, **kwargs):
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, **kwargs)
        self.procs.append(proc)
        return proc

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


def start_accessibility_bus():
    # Asking for its address starts it, through the session bus's service activation.
    wait_for(lambda: subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], capture_output=True).returncode == 0,
        "the accessibility bus", pump=False)


def start_program(children, program, env, saved_order=None):
    """The program in an empty working directory, with its accessibility bridge on."""
    work = os.path.join(children.dir, "work")
    os.mkdir(work)
    if saved_order is not None:
        with open(os.path.join(work, "order.qzo"), "wb") as f:
            f.write(saved_order)
    # Under the sanitizers the platform's own libraries trip two checks (a bounded strndup of
    # an unterminated buffer in the X11 keymap, D-Bus allocations kept to the end).
    asan = os.environ.get("ASAN_OPTIONS", "") + ":strict_string_checks=0:detect_leaks=0"
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8",
               LANG="C.UTF-8", ASAN_OPTIONS=asan, **env)
    return children.start([program], cwd=work, env=env)


def wait_for(condition, what, timeout=20, pump=True):
    """Waits for a condition, dispatching accessibility events meanwhile."""
    context = None
    if pump:
        from gi.repository import GLib
        context = GLib.MainContext.default()
    deadline = time.monotonic() + timeout
    while True:
        while context is not None and context.iteration(False):
            pass
        try:
            result = condition()
        except Exception:  # the tree is still being built; ask again
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            fail("gave up waiting for " + what)
        time.sleep(0.05)


def find_application(program_proc):
    import pyatspi

    def app():
        if program_proc.poll() is not None:
            fail("the program ended early with status %d" % program_proc.returncode)
        for candidate in pyatspi.Registry.getDesktop(0):
            if candidate is not None and candidate.name == APP_NAME:
                return candidate
        return None
    return wait_for(app, "the program on the accessibility bus")


def find(root, name, role=None):
    """The first control of that accessible name (and role) in the program's tree; captions,
    which carry the names of their controls, are passed over."""
    import pyatspi

    def match(acc):
        if acc.name != name or acc.getRole() == pyatspi.ROLE_LABEL:
            return False
        return role is None or acc.getRole() == role
    return wait_for(lambda: pyatspi.findDescendant(root, match), "a control named " + name)


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def run(test, tools):
    """Runs test(program, children, pyatspi) for the program named on the command line, on a
    private session bus, with the child processes ended afterwards whatever happens."""
    if len(sys.argv) != 2:
        sys.exit("usage: %s PROGRAM" % sys.argv[0])
    program = os.path.abspath(sys.argv[1])
    own_session_bus()
    require(list(tools) + ["dbus-send"])
    try:
        import pyatspi
    except ImportError:
        skip("python3-pyatspi is not installed (scripts/install-deps.sh installs it)")
    children = Children()
    try:
        test(program, children, pyatspi)
    finally:
        children.close()
