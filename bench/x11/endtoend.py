#!/usr/bin/env python3
"""Times the built program end to end on a private X server, as a user meets it.

For each file: F8, the path typed into the open dialog, Enter; the clock runs
from Enter until the window's title names the file (the first screen is
shown), then until a Ctrl+S typed at once has written the file again (the
whole document is in: saving waits for nothing less).  Then 400 keys
are typed as fast as xdotool sends them (20 lines of 19 letters), then
Ctrl+S; the time until the saved file holds them, less that of a save alone,
over the 400 keys, bounds the time per key.

    bench/x11/endtoend.py [build/quillnest4]

Needs Xvfb and xdotool (both in scripts/packages.txt).  Prints medians of
three rounds.  A measuring tool, not a test: nothing here runs in CI.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

EXE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/quillnest4")
DISPLAY = ":73"


def table_page(size):
    row = (b"<TR><TD>\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67</TD>"
           b"<TD>\xb6\xc0\xb6\xc5</TD><TD ALIGN=\"right\">12345</TD></TR>\r\n")
    return b"<HTML>\r\n<BODY>\r\n<TABLE>\r\n" + row * (size // len(row)) + b"</TABLE>\r\n</BODY>\r\n</HTML>\r\n"


def minified_page(size):
    unit = (b"<div class=\"c1\"><a href=\"/p/123\">\x93\xfa\x96\x7b\x8c\xea</a>"
            b"<span style=\"color:#333\">text &amp; more text</span></div>")
    return b"<!DOCTYPE html><html><body>" + unit * (size // len(unit)) + b"</body></html>"


def x(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True,
                          env=dict(os.environ, DISPLAY=DISPLAY)).stdout.strip()


def wait(cond, timeout=120.0, step=0.002):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if cond():
            return time.monotonic()
        time.sleep(step)
    raise TimeoutError


def title(win):
    return subprocess.run(["xprop", "-id", win, "_NET_WM_NAME"], capture_output=True, text=True,
                          env=dict(os.environ, DISPLAY=DISPLAY)).stdout


def main():
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=open("/tmp/qn4e2e-xvfb.log", "w"))
    time.sleep(1.0)
    work = tempfile.mkdtemp(prefix="qn4e2e-")
    files = {
        "32 MB, 480k lines": table_page(32 << 20),
        "2 MB on one line": minified_page(2 << 20),
        "8 MB on one line": minified_page(8 << 20),
    }
    env = dict(os.environ, DISPLAY=DISPLAY, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
               HOME=work, XDG_CONFIG_HOME=work, XDG_STATE_HOME=work, XDG_CACHE_HOME=work)
    try:
        for name, data in files.items():
            opened, whole, per_key, saves = [], [], [], []
            for _ in range(3):
                path = os.path.join(work, "page.html")
                with open(path, "wb") as f:
                    f.write(data)
                prog = subprocess.Popen([EXE], env=env, stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(work, "log"), "ab"))
                try:
                    win = ""
                    wait(lambda: bool(x("search", "--onlyvisible", "--name", "^Quillnest4$")), 30, 0.05)
                    win = x("search", "--onlyvisible", "--name", "^Quillnest4$").split("\n")[0]
                    x("windowfocus", "--sync", win)
                    x("key", "F8")
                    wait(lambda: bool(x("search", "--onlyvisible", "--name", "^Open$")), 30, 0.02)
                    time.sleep(0.3)
                    x("type", "--delay", "0", path)
                    before = os.stat(path).st_mtime_ns
                    start = time.monotonic()
                    x("key", "Return")
                    shown = wait(lambda: path in title(win))
                    # Without a window manager the focus does not come back
                    # from the closed dialog by itself.
                    x("windowfocus", "--sync", win)
                    x("key", "ctrl+s")
                    saved = wait(lambda: os.stat(path).st_mtime_ns != before)
                    opened.append(shown - start)
                    whole.append(saved - start)
                    # A save alone, to take out of the typing figure below.
                    time.sleep(0.5)
                    before = os.stat(path).st_mtime_ns
                    s0 = time.monotonic()
                    x("key", "b", "ctrl+s")
                    save = wait(lambda: os.stat(path).st_mtime_ns != before) - s0
                    saves.append(save)
                    # Typing: 20 lines of 19 characters (400 keys with the
                    # Enters), then save, then look at the bytes.
                    time.sleep(0.5)
                    before = os.stat(path).st_mtime_ns
                    t0 = time.monotonic()
                    x("key", "--delay", "0", *((["a"] * 19 + ["Return"]) * 20))
                    x("key", "ctrl+s")
                    t1 = wait(lambda: os.stat(path).st_mtime_ns != before)
                    with open(path, "rb") as f:
                        grown = len(f.read()) - len(data)
                    per_key.append((t1 - t0 - save) / 400 if grown == 1 + 20 * 21 else float("nan"))
                finally:
                    prog.kill()
                    prog.wait()
            print(f"{name}: first screen {statistics.median(opened) * 1000:.0f} ms, "
                  f"all in and saved {statistics.median(whole) * 1000:.0f} ms "
                  f"(a key and a save alone {statistics.median(saves) * 1000:.0f} ms), "
                  f"per typed key at most {statistics.median(per_key) * 1000:.2f} ms")
    finally:
        xvfb.terminate()   # lets it remove its lock file
        xvfb.wait()


if __name__ == "__main__":
    main()
