#!/usr/bin/env python3
"""Opens every picture, sound, module, MIDI file and clip of a generated data tree with
readers that other programs use (Pillow, Python's wave module, libopenmpt's player, mido,
FFmpeg's prober) and names each file a reader refuses.

    open_data_tree.py DATA_DIR

Exit status 0 when every reader opened every file of its kinds, 1 otherwise."""

import importlib.util
import pathlib
import shutil
import subprocess
import sys
import wave


def open_picture(path):
    from PIL import Image

    with Image.open(path) as image:
        image.load()
        if image.width < 1 or image.height < 1:
            return f"an empty picture ({image.width} x {image.height})"
    return None


def open_wave(path):
    with wave.open(str(path), "rb") as sound:
        frames = sound.getnframes()
        data = sound.readframes(frames)
        expected = frames * sound.getnchannels() * sound.getsampwidth()
        if frames == 0:
            return "no samples"
        if len(data) != expected:
            return f"{len(data)} bytes of samples where the header promises {expected}"
    return None


def open_module(path):
    # The player reports a module it cannot load on its output, not in its exit status.
    done = subprocess.run(["openmpt123", "--info", "--", str(path)], capture_output=True, text=True, timeout=60)
    output = done.stdout + done.stderr
    if done.returncode != 0 or "error" in output.lower() or "Duration" not in output:
        lines = [line for line in output.splitlines() if "error" in line.lower()]
        return "; ".join(lines) or f"no module information (exit status {done.returncode})"
    return None


def open_midi(path):
    import mido

    song = mido.MidiFile(str(path))
    if not any(len(track) for track in song.tracks):
        return "no events"
    if song.length <= 0:
        return "plays for no time"
    return None


def open_clip(path):
    # Decodes every frame; any complaint on the error level is a refusal.
    command = ["ffprobe", "-v", "error", "-count_frames", "-select_streams", "v",
               "-show_entries", "stream=codec_name,nb_read_frames", "-of", "csv=p=0", str(path)]
    done = subprocess.run(command, capture_output=True, text=True, timeout=120)
    if done.returncode != 0 or done.stderr.strip():
        return done.stderr.strip().replace("\n", "; ") or f"exit status {done.returncode}"
    frames = [field for line in done.stdout.splitlines() for field in line.split(",")[1:]]
    if not frames or not all(f.isdigit() and int(f) > 0 for f in frames):
        return f"no video frames decoded ({done.stdout.strip() or 'no video stream'})"
    return None


def module(name):
    return lambda: importlib.util.find_spec(name) is not None


def program(name):
    return lambda: shutil.which(name) is not None


# Each reader, the file suffixes it opens, how to tell it is there and the package it comes in.
READERS = [
    ("Pillow", open_picture, (".pcx", ".png"), module("PIL"), "python3-pil"),
    ("wave", open_wave, (".wav",), module("wave"), "python3"),
    ("openmpt123", open_module, (".mod", ".xm", ".s3m", ".it"), program("openmpt123"), "openmpt123"),
    ("mido", open_midi, (".mid",), module("mido"), "python3-mido"),
    ("ffprobe", open_clip, (".avi",), program("ffprobe"), "ffmpeg"),
]


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    root = pathlib.Path(sys.argv[1])
    files = sorted(p for p in root.rglob("*") if p.is_file())
    refused = []
    for name, reader, suffixes, present, package in READERS:
        mine = [p for p in files if p.suffix.lower() in suffixes]
        if not present():
            refused.append(f"{name}: not installed for {sys.executable} (the package {package})")
            continue
        if not mine:
            refused.append(f"{name}: the tree holds no {'/'.join(suffixes)} file")
            continue
        failures = 0
        for path in mine:
            try:
                problem = reader(path)
            except Exception as error:  # a reader that raises refuses the file
                problem = f"{type(error).__name__}: {error}"
            if problem:
                failures += 1
                refused.append(f"{path.relative_to(root)}: {name}: {problem}")
        print(f"{name}: opened {len(mine) - failures} of {len(mine)} files")
    for line in refused:
        print(f"refused: {line}")
    return 1 if refused else 0


if __name__ == "__main__":
    sys.exit(main())
