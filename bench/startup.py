#!/usr/bin/env python3
"""Start-up of the game against an empty Qt window: exec to the first painted frame.

Runs build/bin/game-first-paint and build/bin/empty-window in turn (A B A B ...), under one Xvfb
server that stays up for all runs and then on Qt's offscreen platform, and prints the medians of
wall and CPU (user + system) time with the median of the pair-by-pair ratios. With --callgrind it
also prints each program's instruction count to the first paint.

    bench/startup.py [--build DIR] [--runs N] [--callgrind] [--text]

--text gives the empty window one line of text: it then pays for the font set-up too.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(command, env):
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"{command[0]} ended with {process.returncode}")
    return wall, usage.ru_utime + usage.ru_stime


def compare(game, empty, env, runs, label):
    run_once(game, env)  # warm the page cache and the font caches
    run_once(empty, env)
    a, b = [], []
    for _ in range(runs):
        a.append(run_once(game, env))
        b.append(run_once(empty, env))
    print(f"{label}: {runs} alternated runs, medians")
    for index, name in ((0, "wall"), (1, "cpu")):
        game_median = statistics.median(x[index] for x in a)
        empty_median = statistics.median(x[index] for x in b)
        ratio = statistics.median(x[index] / max(y[index], 1e-6) for x, y in zip(a, b))
        print(f"  {name:4}  game {game_median * 1000:7.1f} ms   empty window {empty_median * 1000:7.1f} ms"
              f"   game/empty {ratio:.2f}")


def instructions(command, env):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        result = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}"] + command,
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if result.returncode != 0:
            sys.exit(f"callgrind of {command[0]} failed")
        # The program's own total; children the platform may start are not counted.
        with open(out, encoding="utf-8", errors="replace") as dump:
            match = re.search(r"^summary: (\d+)", dump.read(), re.MULTILINE)
        return int(match.group(1))


def main():
    parser = argparse.ArgumentParser()
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--build", default=os.path.join(here, "..", "build"))
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--callgrind", action="store_true")
    parser.add_argument("--text", action="store_true")
    args = parser.parse_args()
    # The game lists its own folder at start-up, so both run from where the game is installed.
    game = [os.path.join(args.build, "bin", "game-first-paint")]
    empty = [os.path.join(args.build, "bin", "empty-window")] + (["--text"] if args.text else [])

    display = ":" + str(90 + os.getpid() % 500)
    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.0)
        x_env = dict(os.environ, DISPLAY=display)
        x_env.pop("QT_QPA_PLATFORM", None)
        offscreen_env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        compare(game, empty, x_env, args.runs, "Xvfb")
        compare(game, empty, offscreen_env, args.runs, "offscreen")
        if args.callgrind:
            for label, env in (("Xvfb", x_env), ("offscreen", offscreen_env)):
                a, b = instructions(game, env), instructions(empty, env)
                print(f"{label} instructions: game {a / 1e6:.1f} M   empty window {b / 1e6:.1f} M"
                      f"   game/empty {a / b:.2f}")
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
