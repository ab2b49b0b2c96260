#!/usr/bin/env python3
"""A cry of the tests' own, and a check that a recording holds it.

  cry_wave.py put IMAGE          Charizard's wave in an image of smoke.sh's
                                 make_image becomes a second of a tone
                                 sweeping from 300 to 2400 Hz, which matches
                                 a recording at one place only
  cry_wave.py match RECORDING N  the recording (mono 16-bit at the cry's
                                 rate) holds the whole sweep and then
                                 silence; with N = 2, after its start cut
                                 off 0.2 to 0.9 s in: correlation 0.9 or more,
                                 and of the whole sweep's hundredths 96 or
                                 more heard so
"""
import math
import struct
import sys

RATE = 10512
WAVE = 0x20000


def sweep():
    samples, phase = [], 0.0
    for i in range(RATE):
        progress = i / RATE
        phase += 2 * math.pi * (300 + 2100 * progress) / RATE
        # Faded in and out, as a cry is, so that it starts and ends in silence.
        samples.append(round(100 * min(1.0, progress * 20, (1 - progress) * 20) * math.sin(phase)))
    return samples


def put(image):
    with open(image, "r+b") as out:
        out.seek(WAVE + 4)
        out.write(struct.pack("<III", RATE * 1024, 0, RATE) + bytes(s & 0xFF for s in sweep()))


def correlation(recording, cry, at):
    pairs = list(zip(recording[at:at + len(cry)], cry))
    heard = sum(r * r for r, _ in pairs)
    made = sum(c * c for _, c in pairs)
    return sum(r * c for r, c in pairs) / math.sqrt(heard * made) if heard and made else 0.0


def best(recording, cry, lags):
    """Where the cry's first twentieth of a second fits best among `lags`."""
    return max(lags, key=lambda at: correlation(recording, cry[:RATE // 20], at))


def heard_whole(recording, cry, at):
    """The share of the cry's hundredths heard, each where it fits best from
    where the one before ended, and where the last one ends. A sound server
    starved of time under load inserts a gap of some milliseconds, which
    spoils the hundredth it falls in and moves the rest."""
    step, heard = len(cry) // 100, 0
    for start in range(0, step * 100, step):
        part = cry[start:start + step]
        if correlation(recording, part, at) < 0.9:
            at = max(range(at - step // 4, at + RATE // 10), key=lambda lag: correlation(recording, part, lag))
        heard += correlation(recording, part, at) >= 0.9
        at += step
    return heard / 100, at + len(cry) - step * 100


def match(path, plays):
    data = open(path, "rb").read()
    recording = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
    loud = next((i for i, s in enumerate(recording) if abs(s) > 256), None)
    if loud is None:
        sys.exit(f"cry_wave: the recording ({len(recording)} samples) is silent")
    cry = sweep()
    first = last = best(recording, cry, range(max(0, loud - RATE // 10), loud + RATE // 20))
    cut = 1.0
    if plays == "2":
        last = best(recording, cry, range(first + RATE // 5, first + RATE * 9 // 10))
        cut = correlation(recording, cry[:last - first], first)
    whole, end = heard_whole(recording, cry, last)
    # Wine ends an 8-bit sound with its last buffer's rest at zero bytes,
    # which unsigned are the lowest level: silence is looked for from 25 ms
    # after the cry, past that click of about 10 ms.
    after = next((i for i in range(end + RATE // 40, len(recording))
                  if abs(recording[i]) > 256), None)
    print(f"cry_wave: cut off {cut:.3f} at {first}, whole {whole:.3f} at {last}, after {after}")
    if cut < 0.9 or whole < 0.96 or after is not None:
        sys.exit("cry_wave: the recording does not hold the cry as played")


if __name__ == "__main__":
    {"put": put, "match": match}[sys.argv[1]](*sys.argv[2:])
