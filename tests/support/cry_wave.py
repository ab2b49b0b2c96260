#!/usr/bin/env python3
"""A cry of the tests' own for an image made by smoke.sh's make_image, and
a check that a recording of a sound server's sink holds it.

  cry_wave.py put IMAGE        Charizard's wave becomes half a second of a
                               tone sweeping from 300 to 2400 Hz at 10512 Hz
  cry_wave.py match RECORDING  passes when the recording (mono 16-bit at
                               44100 Hz) holds the sweep: correlation 0.9 or
                               more where it matches best
"""
import math
import struct
import sys

CRY_RATE = 10512
RECORD_RATE = 44100
WAVE = 0x20000


def sweep(seconds=0.5):
    """As tests/support/cry_image.cpp's SweepCry makes it."""
    count = int(seconds * CRY_RATE)
    samples, phase = [], 0.0
    for i in range(count):
        progress = i / count
        phase += 2 * math.pi * (300 + 2100 * progress) / CRY_RATE
        envelope = min(1.0, progress * 20, (1 - progress) * 20)
        samples.append(round(100 * envelope * math.sin(phase)))
    return samples


def put(image):
    samples = sweep()
    with open(image, "r+b") as out:
        out.seek(WAVE + 4)
        out.write((CRY_RATE * 1024).to_bytes(4, "little") + bytes(4) +
                  len(samples).to_bytes(4, "little") + bytes(s & 0xFF for s in samples))


def resampled(samples):
    step = CRY_RATE / RECORD_RATE
    out = []
    for i in range(round(len(samples) * RECORD_RATE / CRY_RATE)):
        at = i * step
        before = min(int(at), len(samples) - 1)
        after = min(before + 1, len(samples) - 1)
        out.append(samples[before] + (samples[after] - samples[before]) * (at - before))
    return out


def correlation(recording, cry, at, step=1):
    both = heard = made = 0.0
    for i in range(0, min(len(cry), len(recording) - at), step):
        both += recording[at + i] * cry[i]
        heard += recording[at + i] ** 2
        made += cry[i] ** 2
    return both / math.sqrt(heard * made) if heard and made else 0.0


def match(recording_path):
    data = open(recording_path, "rb").read()
    recording = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
    loud = next((i for i, s in enumerate(recording) if abs(s) > 256), None)
    if loud is None:
        sys.exit(f"cry_wave: the recording ({len(recording)} samples) is silent")
    cry = resampled(sweep())
    lags = range(max(0, loud - RECORD_RATE // 10), loud + RECORD_RATE // 10)
    coarse = max(lags[::8], key=lambda at: correlation(recording, cry, at, 8))
    best = max(range(max(0, coarse - 8), coarse + 8), key=lambda at: correlation(recording, cry, at))
    found = correlation(recording, cry, best)
    print(f"cry_wave: correlation {found:.3f} at sample {best}")
    if found < 0.9:
        sys.exit("cry_wave: the recording does not hold the cry")


if __name__ == "__main__":
    {"put": put, "match": match}[sys.argv[1]](sys.argv[2])
