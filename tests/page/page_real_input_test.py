#!/usr/bin/env python3
"""The property page as a user meets it: quillet-host --edit driven from
outside the process with real X input (xdotool), the written song read
back by midicsv.

One run makes a user's edits with mouse and keyboard (the playback filter
reached through the toolbar from the keyboard) and ends with OK: the song
must carry exactly those edits.  Three more make edits and end with
Cancel, Escape and the close box: nothing may be written, and the tool
must say so.  Leaves the README's picture of the page in
build/screenshots/quillet_host_edit.png.

  page_real_input_test.py BUILD-DIR SOURCE-DIR
"""
import os
import shutil
import subprocess
import sys
import time

BUILD = os.path.abspath(sys.argv[1])
SOURCE = os.path.abspath(sys.argv[2])
WINE_RUN = os.path.join(SOURCE, "scripts", "wine-run")
PREFIX = os.path.join(BUILD, "wineprefix")
# A folder of the prefix's own, so that no machine folder shows on the page.
SONGS = os.path.join(PREFIX, "drive_c", "Songs")
SONG = "demo-song.mid"

# Where things are in the frame, from its top-left corner (the page's
# layout with Wine's Tahoma 8; the frame is not resizable).
ROWS = {1: 115, 2: 131, 3: 147}
COLUMN = {"channel": 404, "mute": 438, "solo": 472, "volume": 514}
PITCH_EDIT = (172, 71)
OK, CANCEL, CLOSE_BOX = (500, 327), (578, 327), (696, 12)

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def xdo(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout.strip()


def wait_for_window(name, seconds=40):
    end = time.time() + seconds
    while time.time() < end:
        found = xdo("search", "--name", name).split()
        if found:
            return found[0]
        time.sleep(0.2)
    return None


class Frame:
    """quillet-host --edit running on the song, and its frame."""

    def __init__(self, output):
        self.output = output
        env = dict(os.environ, QUILLET_BUILD_DIR=BUILD)
        self.tool = subprocess.Popen(
            [WINE_RUN, "--timeout", "120", os.path.join(BUILD, "bin", "quillet-host.exe"),
             "--module", "Z:" + os.path.join(BUILD, "bin", "quillet.dll"), "--edit",
             "C:\\Songs\\" + SONG, "-o", "C:\\Songs\\" + output],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=env)
        self.window = wait_for_window("Properties for " + SONG)
        check(self.window is not None, "the frame opens")
        self.x = self.y = 0
        if self.window:
            geometry = xdo("getwindowgeometry", "--shell", self.window)
            values = dict(line.split("=") for line in geometry.splitlines() if "=" in line)
            self.x, self.y = int(values.get("X", 0)), int(values.get("Y", 0))
        time.sleep(1.0)  # painted

    def at(self, point):
        return self.x + point[0], self.y + point[1]

    def click(self, point, repeat=1):
        x, y = self.at(point)
        xdo("mousemove", "--sync", x, y)
        xdo("click", "--repeat", repeat, "--delay", 80, 1)
        time.sleep(0.3)

    def drag(self, start, end):
        x, y = self.at(start)
        xdo("mousemove", "--sync", x, y)
        xdo("mousedown", 1)
        steps = 6
        for i in range(1, steps + 1):
            xdo("mousemove", "--sync", x + (end[0] - start[0]) * i // steps, y + (end[1] - start[1]) * i // steps)
            time.sleep(0.05)
        xdo("mouseup", 1)
        time.sleep(0.3)

    def keys(self, *names):
        for name in names:
            xdo("key", "--delay", 60, name)
            time.sleep(0.15)

    def type(self, text):
        xdo("type", "--delay", 60, text)
        time.sleep(0.2)

    def cell(self, row, column):
        return COLUMN[column], ROWS[row]

    def screenshot(self, name):
        folder = os.path.join(BUILD, "screenshots")
        os.makedirs(folder, exist_ok=True)
        geometry = dict(line.split("=") for line in xdo("getwindowgeometry", "--shell", self.window).splitlines()
                        if "=" in line)
        crop = "%sx%s+%s+%s" % (geometry["WIDTH"], geometry["HEIGHT"], geometry["X"], geometry["Y"])
        subprocess.run(["/usr/bin/convert-im6.q16", "x:root", "-crop", crop, "+repage",
                        os.path.join(folder, name + ".png")], check=False)

    def finish(self):
        try:
            out, err = self.tool.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            self.tool.kill()
            out, err = self.tool.communicate()
        return self.tool.returncode, out, err


def midicsv(path):
    lines = subprocess.run(["midicsv", path], capture_output=True, text=True, check=True).stdout.splitlines()
    return [[field.strip() for field in line.split(",")] for line in lines]


def channel_event(e):
    return e[2].endswith("_c")


def expected_from(events):
    """The input with the edits made in the OK run applied, as a host plays
    it: sub-track 1 (track 2, channel 1) muted and, with 2 and 3 soloed,
    silent; sub-track 2 (track 3) on channel 5 with its notes two semitones
    up; program changes removed by the playback filter; channel 10's notes
    as they were."""
    kept = []
    for e in events:
        track = int(e[0])
        if channel_event(e):
            if track == 2 or e[2] == "Program_c":
                continue
            if track == 3:
                e = e[:3] + ["4"] + e[4:]
                if e[2] in ("Note_on_c", "Note_off_c", "Poly_aftertouch_c"):
                    e = e[:4] + [str(int(e[4]) + 2)] + e[5:]
        kept.append(e)
    return kept


def start_values(events):
    """The controller 7 and 10 events at tick 0 the filter starts each
    sub-track with, by (track, channel, controller)."""
    found = {}
    for e in events:
        if e[2] == "Control_c" and e[1] == "0" and e[4] in ("7", "10"):
            found[(e[0], e[3], e[4])] = int(e[5])
    return found


def without_start_values(events):
    return [e for e in events if not (e[2] == "Control_c" and e[1] == "0" and e[4] in ("7", "10"))]


def song_path(name):
    return os.path.join(SONGS, name)


def ok_run():
    frame = Frame("edited.mid")
    if not frame.window:
        return
    frame.click(frame.cell(1, "solo"), repeat=2)       # a double-click toggles twice: no solo
    frame.click(frame.cell(1, "mute"))                 # mute sub-track 1
    frame.click(frame.cell(2, "solo"))                 # solo sub-track 2
    frame.click(frame.cell(2, "channel"))              # typing starts the editor
    frame.type("5")
    frame.keys("Return")
    frame.click(frame.cell(3, "channel"))              # the focus on row 3 ...
    frame.keys("Right", "Right", "space")              # ... then Space on its Solo
    vx, vy = frame.cell(3, "volume")
    frame.drag((vx, vy), (vx - 14, vy))                # sub-track 3's volume down
    frame.click(PITCH_EDIT)
    frame.keys("End", "BackSpace", "BackSpace", "BackSpace")
    frame.type("2")
    frame.keys("Tab")                                  # the edit keeps the shift when it loses the focus
    frame.keys("Down", "Down", "Down")                 # root note: Don't transpose, C, C#, D
    # To the track toolbar from the keyboard: past the six information
    # fields, then along Add, Delete and Chase Filter to Playback Filter.
    frame.keys(*["Tab"] * 7, "Right", "Right", "Right", "space")
    dialog = wait_for_window("MIDI Event Filter", 15)
    check(dialog is not None, "the playback filter dialog opens")
    if dialog:
        time.sleep(0.5)
        frame.keys("Home", "Down", "Down", "space", "Return")  # Patch Change, then OK
        time.sleep(0.5)
    x, y = frame.at((150, 300))
    xdo("mousemove", "--sync", x, y)                   # no hot button, no tooltip in the picture
    time.sleep(0.8)
    frame.screenshot("quillet_host_edit")
    frame.click(OK)
    code, out, err = frame.finish()
    check(code == 0, "OK writes the song (exit %s: %s)" % (code, err.strip()))
    check("written to:" in out, "OK says where it wrote")
    check("pitch shift:      +2 semitones" in out, "the summary names the pitch shift: " + out)
    check("root note:        D\n" in out, "the summary names the root note: " + out)
    if code != 0 or not os.path.exists(song_path("edited.mid")):
        return
    source = midicsv(song_path(SONG))
    written = midicsv(song_path("edited.mid"))
    expected = without_start_values(expected_from(source))
    got = without_start_values(written)
    key = lambda e: (int(e[0]), int(e[1]) if e[1].isdigit() else 0, e[2], e[3:])
    missing = [e for e in expected if e not in got]
    extra = [e for e in got if e not in expected]
    check(sorted(expected, key=key) == sorted(got, key=key),
          "the song carries exactly the edits: missing %s, extra %s" % (missing[:5], extra[:5]))
    starts = start_values(written)
    check(starts.get(("4", "9", "7"), 100) < 100, "the volume drag lowered channel 10's start volume: %s" % starts)
    check(starts.get(("4", "9", "10")) == 64, "channel 10's pan is untouched: %s" % starts)


def cancel_run(output, close):
    frame = Frame(output)
    if not frame.window:
        return
    frame.click(frame.cell(1, "mute"))
    frame.click(frame.cell(2, "channel"))
    frame.type("7")
    frame.keys("Return")
    close(frame)
    code, out, err = frame.finish()
    check(code == 3, "%s: exit code 3 (got %s: %s)" % (output, code, err.strip()))
    check(out.strip() == "edits cancelled; nothing written", "%s: says nothing was written: %r" % (output, out))
    check(not os.path.exists(song_path(output)), "%s: nothing written" % output)


def main():
    if not shutil.which("xdotool") or not os.environ.get("DISPLAY"):
        print("needs xdotool and a display (scripts/bootstrap, scripts/run-tests)")
        return 1
    os.makedirs(SONGS, exist_ok=True)
    for name in os.listdir(SONGS):
        os.remove(song_path(name))
    shutil.copy(os.path.join(SOURCE, "demo", SONG), song_path(SONG))
    ok_run()
    cancel_run("cancelled.mid", lambda f: f.click(CANCEL))
    cancel_run("escaped.mid", lambda f: f.keys("Escape"))
    cancel_run("closed.mid", lambda f: f.click(CLOSE_BOX))
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
