#!/usr/bin/env python3
"""A cry of the tests' own for an image made by smoke.sh's make_image, and
a check that a recording of a sound server's sink holds it.

  cry_wave.py put IMAGE          Charizard's wave becomes a second of a tone
                                 sweeping from 300 to 2400 Hz at 10512 Hz,
                                 never the same twice, so that it matches a
                                 recording at one place only
  cry_wave.py match RECORDING N  the recording (mono 16-bit at 44100 Hz)
                                 holds the whole sweep, then silence; with
                                 N = 2, after its start cut off by a second
                                 Play 0.2 to 0.9 s later: correlation 0.9 or
                                 more where each matches
"""
import math
import struct
import sys

CRY_RATE = 10512
RECORD_RATE = 44100
WAVE = 0x20000


def sweep(seconds=1.0):
    count = int(seconds * CRY_RATE)
    samples, phase = [], 0.0
    for i in range(count):
        progress = i / count
        phase += 2 * math.pi * (300 + 2100 * progress) / CRY_RATE
        # Faded in and out, as a cry is, so that it starts and ends in silence.
        envelope = min(1.0, progress * 20, (1 - progress) * 20)
        samples.append(round(100 * envelope * math.sin(phase)))
    return samples


def put(image):
    samples = sweep()
    with open(image, "r+b") as out:
        out.seek(WAVE + 4)
        out.write((CRY_RATE * 1024).to_bytes(4, "little") + bytes(4) +
                  len(samples).to_bytes(4, "little") + bytes(s & 0xFF for s in samples))


def at_recording_rate(samples):
    step = CRY_RATE / RECORD_RATE
    out = []
    for i in range(round(len(samples) * RECORD_RATE / CRY_RATE)):
        before = min(int(i * step), len(samples) - 1)
        after = min(before + 1, len(samples) - 1)
        out.append(samples[before] + (samples[after] - samples[before]) * (i * step - before))
    return out


def correlation(recording, cry, at, step=1):
    both = heard = made = 0.0
    for i in range(0, min(len(cry), len(recording) - at), step):
        both += recording[at + i] * cry[i]
        heard += recording[at + i] ** 2
        made += cry[i] ** 2
    return both / math.sqrt(heard * made) if heard and made else 0.0


def best(recording, cry, lags):
    """Where the cry's first twentieth of a second fits best among `lags`."""
    start = cry[:RECORD_RATE // 20]
    coarse = max(lags[::8], key=lambda at: correlation(recording, start, at, 8))
    return max(range(max(0, coarse - 8), coarse + 8),
               key=lambda at: correlation(recording, start, at))


def match(path, plays):
    data = open(path, "rb").read()
    recording = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
    loud = next((i for i, s in enumerate(recording) if abs(s) > 256), None)
    if loud is None:
        sys.exit(f"cry_wave: the recording ({len(recording)} samples) is silent")
    cry = at_recording_rate(sweep())
    first = best(recording, cry, range(max(0, loud - RECORD_RATE // 10), loud + RECORD_RATE // 20))
    last, cut = first, 1.0
    if plays == "2":
        last = best(recording, cry, range(first + RECORD_RATE // 5, first + RECORD_RATE * 9 // 10))
        cut = correlation(recording, cry[:last - first], first)
    whole = correlation(recording, cry, last)
    # Wine ends an 8-bit sound with its last buffer's rest at zero bytes,
    # which unsigned are the lowest level: silence is looked for from 25 ms
    # after the cry, past that click of about 10 ms.
    after = next((i for i in range(last + len(cry) + RECORD_RATE // 40, len(recording))
                  if abs(recording[i]) > 256), None)
    print(f"cry_wave: cut off {cut:.3f} at sample {first}, whole {whole:.3f} at sample {last}, "
          f"sound after it at {after}")
    if min(cut, whole) < 0.9 or after is not None:
        sys.exit("cry_wave: the recording does not hold the cry as played")


if __name__ == "__main__":
    {"put": put, "match": match}[sys.argv[1]](*sys.argv[2:])
