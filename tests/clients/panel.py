# SPDX-License-Identifier: GPL-3.0-or-later
"""The real panel mq7410 on the virtual supply, on a display of its own, serving SCPI: for
the tests and benchmarks that talk to it with clients we did not write."""

import ctypes
import json
import os
import socket
import subprocess
import tempfile
import time


def die_with_parent():
    """In the child, before it runs: SIGKILL when this process ends (Linux PR_SET_PDEATHSIG)."""
    ctypes.CDLL(None, use_errno=True).prctl(1, 9)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for(what, check, seconds=20.0, context=lambda: ""):
    """`check()` once it is true; after `seconds`, a TimeoutError with what `context()` says."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = check()
        if value:
            return value
        time.sleep(0.05)
    raise TimeoutError("waited %.0f s for %s\n%s" % (seconds, what, context()))


class Panel:
    """Xvfb, then `mq7410-sim --log LOG -- mq7410 --scpi PORT`; the start-up question is
    answered Yes with xdotool, as a user answers it."""

    def __init__(self, panel, sim, scpi=None):
        # What it starts dies with it, should CTest end the test for running too long (the
        # sim then ends the panel it started).
        self.dir = tempfile.TemporaryDirectory(prefix="mq7410-scpi-")
        self.port = free_port()
        self.log = os.path.join(self.dir.name, "sim.jsonl")
        read_end, write_end = os.pipe()
        self.display = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
             "1280x1024x24"], pass_fds=[write_end], stderr=subprocess.DEVNULL,
            preexec_fn=die_with_parent)
        os.close(write_end)
        with os.fdopen(read_end) as number:
            self.env = dict(os.environ, DISPLAY=":" + number.readline().strip(),
                            XDG_CONFIG_HOME=self.dir.name)
        self.env.pop("QT_QPA_PLATFORM", None)
        # On X11, libxkbcommon-x11 hands strndup a buffer without a NUL, which AddressSanitizer's
        # strict string checks report in that system library: the offscreen suites keep them.
        if "ASAN_OPTIONS" in self.env:
            self.env["ASAN_OPTIONS"] = ":".join(
                option for option in self.env["ASAN_OPTIONS"].split(":")
                if not option.startswith("strict_string_checks"))
        self.err = open(os.path.join(self.dir.name, "panel.err"), "w+")
        self.sim = subprocess.Popen(
            [sim, "--log", self.log, "--", panel, "--scpi", scpi or str(self.port)],
            env=self.env, stdout=subprocess.DEVNULL, stderr=self.err, preexec_fn=die_with_parent)
        for _ in ("Find Com 1, Using it?", "Using COM1:"):
            box = wait_for("the box 'Power Supply'", lambda: self._window("^Power Supply$"),
                           context=self.stderr)
            self._xdotool("windowfocus", "--sync", box, "key", "Return")
            wait_for("the box to go", lambda: self._window("^Power Supply$") != box)
        wait_for("the window", lambda: self._window("^MQ-7410$"))
        self.pid = int(wait_for("the panel's process", self._panel_pid))

    def _xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True,
                              text=True).stdout.split()

    def _window(self, name):
        found = self._xdotool("search", "--onlyvisible", "--name", name)
        return found[0] if found else None

    def _panel_pid(self):
        for task in os.listdir("/proc/%d/task" % self.sim.pid):
            with open("/proc/%d/task/%s/children" % (self.sim.pid, task)) as children:
                found = children.read().split()
                if found:
                    return found[0]
        return None

    def rss_kib(self):
        with open("/proc/%d/status" % self.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        raise RuntimeError("no VmRSS")

    def events(self, kind="frame"):
        with open(self.log) as log:
            return [e for e in map(json.loads, log) if e["event"] == kind]

    def frames(self):
        return [e["frame"] for e in self.events()]

    def stderr(self):
        self.err.flush()
        self.err.seek(0)
        return self.err.read()

    def close(self):
        self.sim.terminate()
        try:
            self.sim.wait(10)
        except subprocess.TimeoutExpired:
            self.sim.kill()
            self.sim.wait()
        self.display.terminate()
        self.display.wait()
        self.err.close()
        self.dir.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()
