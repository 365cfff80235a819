#!/usr/bin/env python3
"""Writes error612.wav, the error signal: two quick descending beeps.

44 100 Hz, 16 bits, 2 channels, exactly 25 532 data bytes (6 383 sample frames, about 0.145 s).
Each beep rises and falls with a raised-cosine envelope so that it starts and stops without a
click. Deterministic: running it again gives the same file.
"""
import math
import os
import struct
import wave

RATE = 44100
CHANNELS = 2
DATA_BYTES = 25532
FRAMES = DATA_BYTES // (2 * CHANNELS)
AMPLITUDE = 0.45 * 32767
RAMP = 0.006  # seconds of attack and of decay

# (start, length in seconds, frequency in Hz): a higher beep, then a lower one.
BEEPS = [(0.000, 0.062, 1318.5), (0.077, 0.066, 987.8)]


def sample(t):
    value = 0.0
    for start, length, frequency in BEEPS:
        local = t - start
        if 0.0 <= local < length:
            edge = min(local, length - local)
            envelope = 1.0 if edge >= RAMP else 0.5 - 0.5 * math.cos(math.pi * edge / RAMP)
            value += envelope * math.sin(2.0 * math.pi * frequency * local)
    return int(round(AMPLITUDE * value))


def main():
    frames = bytearray()
    for n in range(FRAMES):
        v = sample(n / RATE)
        frames += struct.pack("<hh", v, v)
    assert len(frames) == DATA_BYTES
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "error612.wav")
    with wave.open(path, "wb") as out:
        out.setnchannels(CHANNELS)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
