#!/usr/bin/env python3
"""Writes the package's short test tone, resources/RT_RCDATA/TONE.wav.

A 40 ms, 880 Hz sine at 22,050 samples per second, 16-bit mono, with 5 ms
fades at both ends so it starts and stops without a click. It is short on
purpose: the tests play it through the silent device, which takes the sound's
length in real time.
"""
import math
import os
import struct

RATE = 22050
FREQ = 880.0
MS = 40
FADE_MS = 5
AMPLITUDE = 0.4


def samples():
    count = RATE * MS // 1000
    fade = RATE * FADE_MS // 1000
    for i in range(count):
        gain = min(1.0, i / fade, (count - 1 - i) / fade)
        yield int(round(32767 * AMPLITUDE * gain * math.sin(2 * math.pi * FREQ * i / RATE)))


def wave(pcm):
    data = b"".join(struct.pack("<h", s) for s in pcm)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    path = os.path.join(root, "resources", "RT_RCDATA", "TONE.wav")
    with open(path, "wb") as f:
        f.write(wave(samples()))
    print(path)


if __name__ == "__main__":
    main()
