#!/usr/bin/env python3
"""Plays the installed program on a private X server and sound server, through
real X input only, and judges it by what the screen shows, what the disk holds
and what the sound server heard.

Usage: play_game.py CMAKE BUILD_DIR BUILT_PROGRAM ARTIFACT_DIR
"""

import array
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import wave
import zlib

CMAKE, BUILD_DIR, BUILT_PROGRAM, ARTIFACTS = sys.argv[1:5]

SCREEN_W, SCREEN_H = 1024, 768
CONTENT_H = 602  # the window's own height; the menu bar sits above it
# Square index -> (column, row); the numbering goes 0 1 2 / 5 4 3 / 7 6 8.
SQUARE_CELL = {0: (0, 0), 1: (1, 0), 2: (2, 0), 3: (2, 1), 4: (1, 1), 5: (0, 1), 6: (1, 2), 7: (0, 2), 8: (2, 2)}
COLOURS = {"red": (224, 58, 46), "blue": (26, 55, 150), "green": (78, 192, 94), "yellow": (247, 208, 42),
           "white": (255, 255, 255)}
WHEEL_BUTTON = {"red": 4, "blue": 5, "yellow": 6, "green": 7}
SAD_CENTRE, DIGIT_DARK = (250, 220, 106), (46, 46, 51)
TURN_RED = (0xDD, 0, 0)
START_BUTTON = (69, 378, 91, 20)
HIGH_SCORE = (221, 32, 42, 20)
YOUR_TURN = (58, 119, 194, 25)
# Flashes per round for nine right rounds: two squares, three from a score of 8, four from 20.
ROUNDS = [2, 2, 2, 2, 3, 3, 3, 3, 4]
FINAL_SCORE = sum(ROUNDS)  # 24
TONES = {"purr": 587.0, "ping": 1568.0, "basso": 131.0}
LENGTH = {"purr": 0.5, "ping": 0.25, "basso": 0.5}  # seconds, as the media hold them

failures = []
procs = []
shots = {}  # name -> frame, the moments worth seeing again


class Failed(Exception):
    pass


def check(ok, what):
    if not ok:
        failures.append(what)
        raise Failed(what)


def log(*a):
    print(time.strftime("%H:%M:%S"), *a, flush=True)


def start(args, env, out, **kw):
    p = subprocess.Popen(args, env=env, stdout=out, stderr=subprocess.STDOUT, start_new_session=True, **kw)
    procs.append(p)
    return p


def run(args, env, **kw):
    return subprocess.run(args, env=env, check=True, capture_output=True, text=True, **kw).stdout


# ---- Screen -------------------------------------------------------------------

class Frame:
    def __init__(self, data, origin):
        self.data, self.ox, self.oy = data, origin[0], origin[1]

    def px(self, x, y):
        """The colour at window content coordinates."""
        i = ((self.oy + y) * SCREEN_W + self.ox + x) * 3
        return tuple(self.data[i:i + 3])

    def square(self, index, dx, dy):
        col, row = SQUARE_CELL[index]
        return self.px(80 + 66 * col + dx, 156 + 66 * row + dy)

    def crop(self, rect):
        x, y, w, h = rect
        return b"".join(self.data[((self.oy + y + r) * SCREEN_W + self.ox + x) * 3:][:w * 3] for r in range(h))

    def count(self, rect, colour, tolerance=40):
        x, y, w, h = rect
        return sum(near(self.px(x + i, y + j), colour, tolerance) for j in range(h) for i in range(w))

    def save_png(self, path, width, height):
        rows = b"".join(b"\0" + self.data[(r * SCREEN_W) * 3:][:width * 3] for r in range(height))
        chunk = lambda kind, body: (len(body).to_bytes(4, "big") + kind + body +
                                    zlib.crc32(kind + body).to_bytes(4, "big"))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", width.to_bytes(4, "big") + height.to_bytes(4, "big") +
                                                   bytes([8, 2, 0, 0, 0])) +
                    chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def near(c, ref, tolerance):
    return sum((a - b) ** 2 for a, b in zip(c, ref)) <= tolerance ** 2


def classify(c):
    name = min(COLOURS, key=lambda k: sum((a - b) ** 2 for a, b in zip(c, COLOURS[k])))
    return name if near(c, COLOURS[name], 60) else "other"


class Screen:
    def __init__(self, env):
        self.env, self.origin = env, (0, 0)

    def grab(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env,
                              check=True, capture_output=True).stdout
        check(len(data) == SCREEN_W * SCREEN_H * 3, "a screen grab has the screen's size")
        return Frame(data, self.origin)

    def wait_for(self, condition, seconds):
        """The first frame that meets the condition, or the last one seen."""
        deadline = time.monotonic() + seconds
        while not condition(frame := self.grab()) and time.monotonic() < deadline:
            time.sleep(0.05)
        return frame

    def keep(self, name, frame=None):
        shots[name] = frame or self.grab()
        return shots[name]


def grid_colours(frame):
    # Off the centre, away from the number pictures' digit and the colours' corner symbol.
    return [classify(frame.square(i, 16, 16)) for i in range(9)]


def shows_sad_faces(frame):
    return all(near(frame.square(i, 32, 32), SAD_CENTRE, 45) and near(frame.square(i, 3, 3), (255, 255, 255), 30)
               for i in range(9))


def start_button_shown(frame):
    return frame.count(START_BUTTON, (0xCC, 0xCC, 0xCC), 0) < START_BUTTON[2] * START_BUTTON[3] * 0.8


def your_turn_shown(frame):
    return frame.count(YOUR_TURN, TURN_RED, 60) > 30


def watch_round(screen, expected, label):
    """Reads one play-back from the screen: the flashes, in order, up to "Your Turn"."""
    flashes, last_square, deadline = [], None, time.monotonic() + 4 + 2.5 * (expected + 1)
    blanked = False  # the squares the player just entered keep their colour for a moment
    while time.monotonic() < deadline:
        frame = screen.grab()
        colours = grid_colours(frame)
        check(not shows_sad_faces(frame), f"{label}: the game is not over")
        lit = [i for i, c in enumerate(colours) if c != "white"]
        blanked = blanked or not lit
        if blanked and len(lit) == 1 and colours[lit[0]] != "other" and lit[0] != last_square:
            last_square = lit[0]
            flashes.append((lit[0], colours[lit[0]]))
            screen.keep(f"{label}-flash{len(flashes)}", frame)
        if your_turn_shown(frame):
            screen.keep(f"{label}-your-turn", frame)
            check(colours == ["white"] * 9, f"{label}: the grid is blank at 'Your Turn', not {colours}")
            check(not start_button_shown(frame), f"{label}: START stays hidden during a game")
            check(len(flashes) == expected, f"{label}: {expected} flashes are seen, not {flashes}")
            return flashes
        time.sleep(0.05)
    check(False, f"{label}: 'Your Turn' shows after the flashes (seen so far: {flashes})")


# ---- Sound --------------------------------------------------------------------

def goertzel(samples, rate, freq):
    k = 2 * math.cos(2 * math.pi * freq / rate)
    p = q = 0.0
    for x in samples:
        p, q = x + k * p - q, p
    return math.sqrt(max(p * p + q * q - k * p * q, 0.0)) / len(samples)


def heard_sounds(path):
    """The sounds in a recording, in order, as (name, start s, length s)."""
    with wave.open(path) as w:
        rate, channels = w.getframerate(), w.getnchannels()
        data = array.array("h", w.readframes(w.getnframes()))[::channels]
    win = rate // 20
    events = []
    for n, i in enumerate(range(0, len(data) - win + 1, win)):
        s = data[i:i + win]
        if max(s) < 50:
            continue
        level = {name: goertzel(s, rate, f) for name, f in TONES.items()}
        name = max(level, key=level.get)
        rest = max(v for k, v in level.items() if k != name)
        # A sound is found by its loud part and measured down to its quiet tail.
        loud, audible = level[name] >= 300 and level[name] >= 4 * rest, level[name] >= 60 and level[name] >= 2 * rest
        if not audible:
            continue
        t = n / 20
        if events and events[-1][0] == name and t - (events[-1][1] + events[-1][2]) <= 0.1:
            events[-1][2] = t + 0.05 - events[-1][1]
            events[-1][3] |= loud
        else:
            events.append([name, t, 0.05, loud])
    return [(name, t, d) for name, t, d, loud in events if loud]


# ---- The game -----------------------------------------------------------------

def find_window(env, pid):
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", "^Corvessan$"],
                           env=env, capture_output=True, text=True)
        if r.returncode == 0 and r.stdout.split():
            wid = r.stdout.split()[0]
            geo = dict(l.strip().split(": ", 1) for l in run(["xdotool", "getwindowgeometry", wid], env)
                       .splitlines()[1:])
            x, y = (int(v) for v in geo["Position"].split()[0].split(","))
            w, h = (int(v) for v in geo["Geometry"].split("x"))
            check(w == 762 and h > CONTENT_H, f"the window is 762 wide with a menu bar, not {w}x{h}")
            time.sleep(0.5)  # the first paint
            return wid, (x, y + h - CONTENT_H)
        time.sleep(0.2)
    check(False, "the game's window appears")


def start_game(env, work, n):
    game = start([os.path.join(work, "bundle", "bin", "corvessan")], env, open(os.path.join(work, f"game{n}.log"), "w"))
    wid, origin = find_window(env, game.pid)
    return game, wid, origin


def quit_game(env, game, wid, work, n):
    run(["xdotool", "windowfocus", "--sync", wid], env)
    run(["xdotool", "key", "ctrl+q"], env)
    try:
        rc = game.wait(15)
    except subprocess.TimeoutExpired:
        check(False, "Ctrl+Q ends the program")
    check(rc == 0, f"the program exits with status 0 after Ctrl+Q, not {rc}")
    text = open(os.path.join(work, f"game{n}.log")).read()
    check("cannot load" not in text, f"the installed program finds all its media:\n{text}")


def click(env, x, y, *buttons):
    # No --sync: it waits for ever when the pointer is already there.
    args = ["xdotool", "mousemove", str(x), str(y)]
    for b in buttons:
        args += ["sleep", "0.05", "click", str(b)]
    run(args, env)


def answer(env, origin, flashes, wrong_first=False):
    for n, (square, colour) in enumerate(flashes):
        if wrong_first and n == 0:
            colour = "blue" if colour != "blue" else "red"
        col, row = SQUARE_CELL[square]
        click(env, origin[0] + 112 + 66 * col, origin[1] + 188 + 66 * row, WHEEL_BUTTON[colour], 1)
        time.sleep(0.1)


def play(env, work, screen):
    score_file = os.path.join(env["XDG_DATA_HOME"], "plovt.txt")
    check(not os.path.exists(score_file), "the high-score file does not exist before the first run")

    game, wid, screen.origin = start_game(env, work, 1)
    # The first run of a fresh account stores the default high score.
    check(open(score_file).read() == "20\n", "the first run stores the default high score 20")
    first = screen.keep("01-opened")
    check(grid_colours(first) == ["white"] * 9, "the grid opens blank")
    check(start_button_shown(first), "START shows at the opening")
    high_score_20 = first.crop(HIGH_SCORE)

    # START shows the first round's number picture on every square before the flashes.
    ox, oy = screen.origin
    click(env, ox + START_BUTTON[0] + 45, oy + START_BUTTON[1] + 10, 1)
    frame = screen.wait_for(lambda f: all(near(f.square(i, 32, 32), DIGIT_DARK, 40) for i in range(9)), 0.8)
    screen.keep("02-started", frame)
    check(all(near(frame.square(i, 32, 32), DIGIT_DARK, 40) for i in range(9)),
          "START shows the number picture on every square")

    # Nine right rounds: two squares per round, three from a score of 8, four from 20.
    for n, expected in enumerate(ROUNDS, 1):
        flashes = watch_round(screen, expected, f"round{n:02}")
        log(f"round {n}: {flashes}")
        answer(env, screen.origin, flashes)

    # A wrong round ends the game: sad faces, START back, the score stored as the new high score.
    flashes = watch_round(screen, 4, "round10")
    log(f"round 10 (answered wrong): {flashes}")
    answer(env, screen.origin, flashes, wrong_first=True)
    frame = screen.keep("03-game-over", screen.wait_for(lambda f: shows_sad_faces(f) and start_button_shown(f), 5))
    check(shows_sad_faces(frame), "a wrong round shows a sad face on every square")
    check(start_button_shown(frame), "a wrong round brings the START button back")
    check(open(score_file).read() == f"{FINAL_SCORE}\n", f"the high-score file holds {FINAL_SCORE}")
    high_score_24 = frame.crop(HIGH_SCORE)
    check(high_score_24 != high_score_20, "the high score shown changes to the new best")
    time.sleep(1)  # quitting cuts the buzz short

    # Ctrl+Q ends the program with status 0.
    quit_game(env, game, wid, work, 1)

    # The next run shows the stored high score.
    game, wid, screen.origin = start_game(env, work, 2)
    frame = screen.keep("04-reopened")
    check(frame.crop(HIGH_SCORE) == high_score_24, "the next run shows the stored high score 24, as at the end")
    check(open(score_file).read() == f"{FINAL_SCORE}\n", "the next run leaves the stored high score alone")
    quit_game(env, game, wid, work, 2)


def check_sounds(path):
    # Each round rings the bell at "Your Turn", a right round beeps and the wrong one buzzes.
    events = heard_sounds(path)
    log("heard: " + ", ".join(f"{n} at {t:.2f}s for {d:.2f}s" for n, t, d in events))
    names = [n for n, _, _ in events]
    expected = ["purr", "ping"] * len(ROUNDS) + ["purr", "basso"]
    check(names == expected, f"the sounds heard are {expected}, not {names}")
    for n, t, d in events:
        check(d > LENGTH[n] - 0.03, f"the {n} at {t:.2f}s is heard to its end, not cut to {d:.2f}s")


def main():
    if os.path.isdir(ARTIFACTS):
        shutil.rmtree(ARTIFACTS)
    os.makedirs(ARTIFACTS)
    missing = [t for t in ("Xvfb", "xdotool", "import", "pulseaudio", "pactl", "parecord") if not shutil.which(t)]
    if missing:
        print("missing tools (scripts/setup.sh installs them): " + " ".join(missing))
        return 1

    work = tempfile.mkdtemp(prefix="corvessan-e2e-")
    recording = os.path.join(work, "heard.wav")
    ok = False
    try:
        # The program under test is the one just built, installed fresh.
        run([CMAKE, "--install", BUILD_DIR, "--prefix", os.path.join(work, "bundle")], os.environ)
        installed = os.path.join(work, "bundle", "bin", "corvessan")
        check(open(installed, "rb").read() == open(BUILT_PROGRAM, "rb").read(), "the installed program is the built one")

        env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "PULSE_", "DBUS_", "QT_", "DISPLAY"))}
        for name in ("home", "data", "runtime"):
            os.makedirs(os.path.join(work, name), mode=0o700)
        env.update(HOME=os.path.join(work, "home"), XDG_DATA_HOME=os.path.join(work, "data"),
                   XDG_RUNTIME_DIR=os.path.join(work, "runtime"), QT_QPA_PLATFORM="xcb",
                   DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(work, "no-bus"))  # never autolaunch one
        env["PULSE_RUNTIME_PATH"] = os.path.join(env["XDG_RUNTIME_DIR"], "pulse")
        socket = os.path.join(env["PULSE_RUNTIME_PATH"], "native")
        env["PULSE_SERVER"] = "unix:" + socket

        # Xvfb picks a free display itself and tells which: no race with other tests.
        read_fd, write_fd = os.pipe()
        start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp",
               "-noreset"],
              env, open(os.path.join(work, "xvfb.log"), "w"), pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd, "rb") as f:
            display = f.readline().strip()
        check(display.isdigit(), "Xvfb starts")
        env["DISPLAY"] = ":" + display.decode()
        log("display", env["DISPLAY"], "work folder", work)

        # A sound server of our own, without D-Bus or a user session; -n skips the default script.
        start(["pulseaudio", "-n", "-F", "/dev/null", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1",
               "--disallow-exit", "--log-target=stderr",
               "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1",
               "-L", "module-null-sink sink_name=e2e"], env, open(os.path.join(work, "pulseaudio.log"), "w"))
        deadline = time.monotonic() + 20
        while subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode != 0:
            check(time.monotonic() < deadline, "the sound server starts")
            time.sleep(0.2)
        run(["pactl", "set-default-sink", "e2e"], env)
        recorder = start(["parecord", "--device=e2e.monitor", "--latency-msec=20", "--rate=8000", "--channels=1",
                          "--format=s16le", "--file-format=wav", recording], env,
                         open(os.path.join(work, "parecord.log"), "w"))
        while not os.path.exists(recording) or os.path.getsize(recording) <= 44:
            check(time.monotonic() < deadline + 10, "the recording starts")
            time.sleep(0.1)
        time.sleep(1)

        play(env, work, Screen(env))
        time.sleep(1)  # the last sound's tail
        recorder.send_signal(signal.SIGINT)
        recorder.wait(10)
        check_sounds(recording)
        ok = True
    except Failed:
        pass
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        keep = shots if not ok else {k: v for k, v in shots.items() if k[0].isdigit() or k.startswith("round09")}
        for name, frame in keep.items():
            frame.save_png(os.path.join(ARTIFACTS, name + ".png"), frame.ox + 762, frame.oy + CONTENT_H)
        for f in os.listdir(work):
            if f.endswith(".wav") or not ok and f.endswith(".log"):
                shutil.copy(os.path.join(work, f), ARTIFACTS)
        shutil.rmtree(work, ignore_errors=True)
    if not ok:
        print("FAILED: " + "; ".join(failures))
        print("screenshots, logs and the recording are in " + ARTIFACTS)
        return 1
    print("passed; key screenshots in " + ARTIFACTS)
    return 0


if __name__ == "__main__":
    sys.exit(main())
