#!/usr/bin/env python3
"""Start-up of the game as a player meets it: time from exec to the title's first frame, and
the peak resident memory with sound on.

  bench/startup.py BUILD_DIR [RUNS]

Runs in the X display DISPLAY names (e.g. Xvfb), else on SDL's offscreen driver. Each run starts the game with
`--screenshot OUT --frames 1`, which writes the title's first frame and quits; the time is
taken when that file appears, so it includes the picture's read-back and PNG encoding (a few
milliseconds) and is an upper bound. A first start (the driver's shader cache empty) and
later starts are timed apart. Memory: a second kind of run plays the title for 200
frames (about 4 s, music and sounds mixing into SDL's disk writer) and reads the peak resident
set from the kernel (wait4's ru_maxrss). The figures are medians over RUNS (default 7).
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time


def first_frame_seconds(game, out, env):
    if os.path.exists(out):
        os.unlink(out)
    start = time.monotonic()
    proc = subprocess.Popen([game, "--screenshot", out, "--frames", "1"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seen = None
    while seen is None:
        if os.path.exists(out):
            seen = time.monotonic() - start
        elif proc.poll() is not None:
            break
        else:
            time.sleep(0.0005)
    proc.wait()
    if seen is None or proc.returncode != 0:
        sys.exit(f"startup: the game ended with {proc.returncode} and wrote no picture")
    return seen


def peak_rss_mb(game, out, env):
    proc = subprocess.Popen([game, "--screenshot", out, "--frames", "200"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        sys.exit(f"startup: the game ended with status {status}")
    return usage.ru_maxrss / 1024.0


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    game = os.path.join(sys.argv[1], "zandrel")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    with tempfile.TemporaryDirectory() as scratch:
        env = dict(os.environ)
        env["SDL_AUDIODRIVER"] = "disk"
        env["SDL_DISKAUDIOFILE"] = os.path.join(scratch, "mixed.raw")
        env["SDL_DISKAUDIODELAY"] = "23"  # one buffer of real time, as a sound card takes it
        env["XDG_CONFIG_HOME"] = scratch  # a first start: no settings from an earlier run
        out = os.path.join(scratch, "first.png")
        # A first start: the driver's shader cache is empty, so the shaders are compiled.
        cold = []
        for run in range(runs):
            env["MESA_SHADER_CACHE_DIR"] = os.path.join(scratch, f"cold{run}")
            cold.append(first_frame_seconds(game, out, env))
        # Later starts find the compiled shaders in the cache.
        env["MESA_SHADER_CACHE_DIR"] = os.path.join(scratch, "warm")
        first_frame_seconds(game, out, env)
        times = [first_frame_seconds(game, out, env) for _ in range(runs)]
        rss = [peak_rss_mb(game, out, env) for _ in range(max(3, runs // 2))]
    for name, seconds in (("first start", cold), ("later starts", times)):
        print(f"title's first frame, {name}: median {statistics.median(seconds) * 1000:.0f} ms "
              f"(min {min(seconds) * 1000:.0f}, max {max(seconds) * 1000:.0f}, {runs} runs)")
    print(f"peak resident memory with sound: median {statistics.median(rss):.1f} MB "
          f"(min {min(rss):.1f}, max {max(rss):.1f})")


if __name__ == "__main__":
    main()
