#!/usr/bin/env python3
"""Prints the benchmark figures of vantrel-cli and the window program.

Run by scripts/bench after the default preset is built. Times are printed,
never judged: a slow machine prints slow figures and still passes. Only the
system-call audit, which counts bytes rather than time, gives a verdict.
"""

import ctypes
import json
import math
import os
import platform
import re
import shlex
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "default"
CLI = BUILD / "src" / "cli" / "vantrel-cli"
# The program the Debian package installs: the package preset's, stripped
# as CPack strips it (scripts/bench builds it).
PACKAGE_CLI = ROOT / "build" / "package" / "src" / "cli" / "vantrel-cli"
RELEASE_CLI = ROOT / "build" / "release" / "src" / "cli" / "vantrel-cli"
WINDOW = BUILD / "src" / "shell" / "qt" / "vantrel"
MINIMAL_WINDOW = BUILD / "bench" / "minimal_window" / "vantrel_minimal_window"
CORE_FIGURES = BUILD / "bench" / "vantrel_core_figures"
# On the build folder's disk, not in memory: the flush to disk is part of
# what a write costs.
IMAGES = BUILD / "bench-images"

CRY_OFFSET = 0x791EE
HEADER_SIZE = 0xC0
# What the tool reads of the start of an image: the header and the second
# header's language and names table's address.
HEADER_READ = 0x148
# The species names table: 412 entries of 11 bytes.
NAME_ENTRIES, NAME_SIZE = 412, 11
# The title screen's code around the cry byte, which Vantrel finds it by.
CODE_BEFORE = bytes.fromhex("80200840000605 0e002d5bd1")
CODE_AFTER = bytes.fromhex("200021f8f7fdfd207b00f0")
# The cry call's code around its two words that hold the cry table's
# address, which Vantrel finds the table by: (offset from the first word,
# bytes).
CRY_CALL_CODE = ((-12, bytes.fromhex("4800401880000149 34e00000")),
                 (4, bytes.fromhex("4b46002b06d04800 4018800000 4929e0")),
                 (0x24 - 12, bytes.fromhex("4800401880000149 22e00000")))
# FireRed 1.0's two words.
CRY_TABLE_WORDS = (0x72114, 0x72138)
MIB = 1 << 20
PAGE = os.sysconf("SC_PAGE_SIZE")
# The plainest one-byte patch, and the read of the byte's page past the cache
# that gives it the durability check set makes; both dd started directly.
PATCH = ("dd if={byte} of={image} bs=1 seek=" + str(CRY_OFFSET) +
         " count=1 conv=notrunc,fsync status=none")
DIRECT_READ = (f"dd if={{image}} of=/dev/null bs={PAGE} skip={CRY_OFFSET // PAGE} count=1 "
               "iflag=direct status=none")
# The page cache's largest folio around the cry byte (2 MiB with 4 KiB pages).
FOLIO = 512 * PAGE


def header(game_code=b"BPRE"):
    """A header naming FireRed 1.0 (or another game): fixed byte and complement right."""
    data = bytearray(HEADER_SIZE)
    data[0xA0:0xAC] = b"VANTRELBENCH"
    data[0xAC:0xB0] = game_code
    data[0xB0:0xB2] = b"01"
    data[0xB2] = 0x96
    data[0xBD] = -(0x19 + sum(data[0xA0:0xBD])) & 0xFF
    return bytes(data)


def make_image(name, size, sparse=False, cry=6, code=True, game_code=b"BPRE"):
    """An image written in one call, as a copy made in large blocks leaves it:
    the page cache then holds it in folios of up to 2 MiB."""
    path = IMAGES / name
    start = CRY_OFFSET - len(CODE_BEFORE)
    placed = ((CODE_BEFORE if code else bytes(len(CODE_BEFORE))) + bytes([cry]) +
              (CODE_AFTER if code else b""))
    with open(path, "wb") as image:
        if sparse:
            image.write(header(game_code))
            image.truncate(size)
            image.seek(start)
            image.write(placed)
        else:
            data = bytearray(size)
            data[:HEADER_SIZE] = header(game_code)
            data[start:start + len(placed)] = placed
            image.write(data)
        image.flush()
        # Flushed now, so that the first timed write does not pay for it.
        os.fsync(image.fileno())
    return path


def hyperfine_times(command, runs, prepare=None):
    """Seconds of each run, the command started without a shell; `prepare`
    runs before each, untimed."""
    with tempfile.TemporaryDirectory() as folder:
        report = Path(folder) / "times.json"
        run = subprocess.run(
            ["hyperfine", "-N", "--style", "none", "--warmup", "1", "--runs", str(runs),
             "--export-json", str(report), *(["--prepare", prepare] if prepare else []), command],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if run.returncode != 0:
            sys.exit(f"bench: hyperfine failed on {command}:\n{run.stderr}")
        return json.loads(report.read_text())["results"][0]["times"]


def alternating_medians(commands, rounds, runs):
    """Runs the (label, command) entries in turn, `runs` at a time, so that a
    change in the machine's load meets each of them alike."""
    times = {label: [] for label, _ in commands}
    for _ in range(rounds):
        for label, command in commands:
            times[label] += hyperfine_times(command, runs)
    return {label: statistics.median(values) for label, values in times.items()}


def milliseconds(seconds):
    return f"{seconds * 1000:8.3f} ms"


def cry_byte(image):
    with open(image, "rb") as data:
        data.seek(CRY_OFFSET)
        return data.read(1)[0]


def device_sectors(path):
    """Sectors read and written so far on the device that holds `path`, or
    None where it has no block device of its own (tmpfs, overlay)."""
    device = os.stat(path).st_dev
    stat = Path(f"/sys/dev/block/{os.major(device)}:{os.minor(device)}/stat")
    if not stat.exists():
        return None
    fields = stat.read_text().split()
    return int(fields[2]), int(fields[6])


def fresh_folio(image):
    """The cry byte's 2 MiB as a fresh copy leaves them: rewritten in one call
    and flushed, so that the page cache holds them in one large folio."""
    start = CRY_OFFSET - CRY_OFFSET % FOLIO
    fd = os.open(image, os.O_RDWR)
    region = os.pread(fd, FOLIO, start)
    # Out of the cache first: a write into cached pages keeps their folios.
    os.posix_fadvise(fd, start, FOLIO, os.POSIX_FADV_DONTNEED)
    os.pwrite(fd, region, start)
    os.fsync(fd)
    os.close(fd)


def device_traffic(command, image, runs=100):
    """KiB read and written on the device per run of `command`, each on the
    image as a fresh copy leaves it."""
    read = written = 0
    for _ in range(runs):
        fresh_folio(image)
        os.sync()
        before = device_sectors(image)
        if before is None:
            return None
        subprocess.run(shlex.split(command), check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        os.sync()
        after = device_sectors(image)
        read += after[0] - before[0]
        written += after[1] - before[1]
    return read * 512 / 1024 / runs, written * 512 / 1024 / runs


def packaged_cli():
    """The packaged program, stripped, beside the images; None when it is not built."""
    if not PACKAGE_CLI.exists():
        return None
    stripped = IMAGES / "vantrel-cli-packaged"
    subprocess.run(["strip", "-o", str(stripped), str(PACKAGE_CLI)], check=True)
    return stripped


def against_dd_patch():
    print("\n(a) set against the dd patch, 16 MiB image, 20 rounds of 10 runs each, alternating,"
          " every command started directly")
    image = make_image("16mib.gba", 16 * MIB, cry=0)  # so that the writes show
    byte = IMAGES / "byte.bin"
    byte.write_bytes(bytes([6]))
    patch = PATCH.format(byte=byte, image=image)
    direct_read = DIRECT_READ.format(image=image)
    # The Release build as a packager makes it (the shared C++ runtime), and
    # the packaged program (hardened, the C++ runtime linked in).
    programs = [("release", RELEASE_CLI if RELEASE_CLI.exists() else CLI)]
    packaged = packaged_cli()
    if packaged:
        programs.append(("packaged", packaged))
    commands = [("patch", patch), ("direct read", direct_read), ("dd start", "dd --version")]
    for label, program in programs:
        commands += [(f"{label} set", f"{program} set {image} 6"),
                     (f"{label} show", f"{program} show {image}"),
                     (f"{label} start", f"{program} --version")]
    medians = alternating_medians(commands, rounds=20, runs=10)
    durable_patch = medians["patch"] + medians["direct read"]
    print(f"  dd patch (one byte, fsync)       median {milliseconds(medians['patch'])}")
    print(f"  dd read of the page, O_DIRECT    median {milliseconds(medians['direct read'])}")
    print(f"  dd --version                     median {milliseconds(medians['dd start'])}")
    for label, program in programs:
        print(f"  {label} ({program.relative_to(ROOT)}, {program.stat().st_size // 1024} KiB):")
        print(f"    vantrel-cli set                median {milliseconds(medians[label + ' set'])}")
        print(f"    vantrel-cli show               median {milliseconds(medians[label + ' show'])}")
        print(f"    vantrel-cli --version          median {milliseconds(medians[label + ' start'])}")
        print(f"    ratio set / dd patch:                      "
              f"{medians[label + ' set'] / medians['patch']:.2f}")
        print(f"    ratio set / (dd patch + dd direct read):   "
              f"{medians[label + ' set'] / durable_patch:.2f}")
        print(f"    ratio show / dd direct read:               "
              f"{medians[label + ' show'] / medians['direct read']:.2f}")
    print(f"  cry byte before 0, afterwards {cry_byte(image)}")
    # Each run on the image as a fresh copy leaves it, where set must first
    # take the byte's page out of its large folio.
    fresh = f"{sys.executable} {Path(__file__).resolve()} --fresh-folio {image}"
    copied = {label: statistics.median(hyperfine_times(command, 60, prepare=fresh))
              for label, command in [(label, f"{program} set {image} 6")
                                     for label, program in programs] + [("patch", patch)]}
    print("  each run on the byte's 2 MiB freshly copied (a large folio), 60 runs each:")
    for label, _ in programs:
        print(f"  {label:<9} vantrel-cli set        median {milliseconds(copied[label])}, "
              f"ratio to the dd patch {copied[label] / copied['patch']:.2f}")
    print(f"  dd patch                         median {milliseconds(copied['patch'])}")
    print("  device traffic per run, 100 runs each, the byte's 2 MiB freshly copied before each:")
    for label, command in [(label, f"{program} set {image} 6") for label, program in programs] + [
            ("dd patch", patch)]:
        traffic = device_traffic(command, image)
        if traffic is None:
            print(f"  {label}: the build folder has no block device of its own")
            continue
        print(f"  {label:<9} read {traffic[0]:7.1f} KiB, written {traffic[1]:7.1f} KiB")


# The title screen's 14 bytes from 10 before the cry byte, in the wide form
# that loads Rayquaza (406 inside the game: 0x01, 0x96).
WINDOW_AT = CRY_OFFSET - 10
WIDE_RAYQUAZA = bytes.fromhex("08 40 5e d1 00 25 01 20 00 02 96 30 00 21")


def window_bytes(image):
    with open(image, "rb") as data:
        data.seek(WINDOW_AT)
        return data.read(len(WIDE_RAYQUAZA))


def past_251():
    print("\n(a2) a species past 251, the title screen's 14 bytes rewritten, 16 MiB images,"
          " every command started directly")
    stock = make_image("16mib-stock.gba", 16 * MIB)
    wide = make_image("16mib-wide.gba", 16 * MIB)
    subprocess.run([str(CLI), "set", str(wide), "384"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    window = IMAGES / "window.bin"
    window.write_bytes(WIDE_RAYQUAZA)
    byte = IMAGES / "byte.bin"
    byte.write_bytes(bytes([25]))
    # dd writes the same bytes in one write, with the same flush.
    patch = (f"dd if={window} of={wide} bs={len(WIDE_RAYQUAZA)} count=1 seek={WINDOW_AT} "
             "oflag=seek_bytes conv=notrunc,fsync status=none")
    one_byte_patch = PATCH.format(byte=byte, image=stock)
    # Rewriting the wide window on a wide image stores, flushes and reads back
    # what a first write past 251 does on a stock one: the 14 bytes, in the
    # same page.
    medians = alternating_medians(
        [("set 25", f"{CLI} set {stock} 25"), ("dd 1", one_byte_patch),
         ("set 384", f"{CLI} set {wide} 384"), ("dd 14", patch), ("show", f"{CLI} show {wide}")],
        rounds=20, runs=10)
    print("  20 rounds of 10 runs each, alternating, each run writing the same bytes again:")
    print(f"  vantrel-cli set 25 (the one byte)          median {milliseconds(medians['set 25'])}")
    print(f"  dd patch of the one byte (fsync)           median {milliseconds(medians['dd 1'])}")
    print(f"  vantrel-cli set 384 (the 14 bytes)         median {milliseconds(medians['set 384'])}")
    print(f"  dd patch of the 14 bytes (fsync)           median {milliseconds(medians['dd 14'])}")
    print(f"  vantrel-cli show of the wide image         median {milliseconds(medians['show'])}")
    print(f"  ratio set 384 / dd 14-byte patch:          {medians['set 384'] / medians['dd 14']:.2f}")
    print(f"  ratio set 384 / set 25:                    {medians['set 384'] / medians['set 25']:.2f}")
    # Each timed run changing the form, the other form written untimed
    # before it (with its own flush, which the timed run then waits behind).
    to_wide = f"{CLI} set {stock} 384"
    to_stock = f"{CLI} set {stock} 6"
    changing = {
        "to wide": hyperfine_times(to_wide, 60, prepare=to_stock),
        "back": hyperfine_times(to_stock, 60, prepare=to_wide),
        "dd": hyperfine_times(patch.replace(str(wide), str(stock)), 60, prepare=to_stock),
    }
    changed = {label: statistics.median(times) for label, times in changing.items()}
    print("  60 runs each, each timed run changing the form, the other one written before it:")
    print(f"  vantrel-cli set 384 (stock to wide)        median {milliseconds(changed['to wide'])}")
    print(f"  vantrel-cli set 6 (wide back to stock)     median {milliseconds(changed['back'])}")
    print(f"  dd patch of the 14 bytes on the stock form median {milliseconds(changed['dd'])}")
    print(f"  ratio set 384 / dd 14-byte patch:          {changed['to wide'] / changed['dd']:.2f}")
    subprocess.run(shlex.split(to_wide), check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    print(f"  window afterwards is the wide form: {window_bytes(stock) == WIDE_RAYQUAZA}")
    print("  device traffic per run, 100 runs each, the window's 2 MiB freshly copied before each:")
    for label, command in (("set 384", f"{CLI} set {wide} 384"), ("dd patch", patch)):
        traffic = device_traffic(command, wide)
        if traffic is None:
            print(f"  {label}: the build folder has no block device of its own")
            continue
        print(f"  {label:<12} read {traffic[0]:7.1f} KiB, written {traffic[1]:7.1f} KiB")


def game_text(name):
    """A name in the game's character set: capitals, digits, blank, '.', '-'
    and ', ended by 0xFF and padded to the entry's size."""
    signs = {" ": 0x00, ".": 0xAD, "-": 0xAE, "'": 0xB4}
    text = bytes(0xBB + ord(c) - ord("A") if "A" <= c <= "Z" else
                 0xA1 + ord(c) - ord("0") if "0" <= c <= "9" else signs[c] for c in name)
    return (text + b"\xff" * NAME_SIZE)[:NAME_SIZE]


def put_names(image, names, at=0x200000, language=3):
    """A second header of `language` pointing at a names table of `names`
    (412, by the game's numbers)."""
    with open(image, "r+b") as data:
        data.seek(0x104)
        data.write(struct.pack("<I", language))
        data.seek(0x144)
        data.write(struct.pack("<I", 0x08000000 + at))
        data.seek(at)
        data.write(b"".join(game_text(name) for name in names))


def english_names():
    """The built-in names in capitals as an English image spells them, at
    the game's numbers: the national list, then placeholders and the later
    species in the game's order are left as made-up names, which costs the
    same to show."""
    listed = subprocess.run([str(CLI), "species"], check=True, capture_output=True,
                            text=True).stdout.splitlines()
    names = [f"SPECIES{n}" for n in range(NAME_ENTRIES)]
    for line in listed[:251]:
        number, name = line.split("\t")
        names[int(number)] = name.strip().upper().replace("-F", "-").replace("-M", "-")
    return names


def names_cost():
    print("\n(a3) the image's own names against the built-in ones, 16 MiB images")
    french = make_image("16mib-french.gba", 16 * MIB)
    put_names(french, [f"SPECIES{n}" for n in range(NAME_ENTRIES)])
    english = make_image("16mib-english.gba", 16 * MIB)
    put_names(english, english_names(), language=2)
    medians = alternating_medians(
        [("french", f"{CLI} show {french}"), ("english", f"{CLI} show {english}"),
         ("none", f"{CLI} show {make_image('16mib-nonames.gba', 16 * MIB)}")],
        rounds=10, runs=10)
    print(f"  vantrel-cli show, own names (French-like)    median {milliseconds(medians['french'])}")
    print(f"  vantrel-cli show, English names              median {milliseconds(medians['english'])}")
    print(f"  vantrel-cli show, no names table             median {milliseconds(medians['none'])}")
    print(f"  ratio own / English:                         {medians['french'] / medians['english']:.2f}")
    if not os.environ.get("DISPLAY") or not WINDOW.exists():
        print("  window: no display or no window program: run scripts/bench")
        return
    with tempfile.TemporaryDirectory() as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        for label, image in (("own names", french), ("English names", english)):
            times = window_open(image, env)
            print(f"  vantrel IMAGE, start to the box of the image opened, {label:<13} "
                  f"median {milliseconds(statistics.median(times))}")


def window_open(image, env, runs=7):
    """Seconds from the window's start with `image` until the box of the
    image opened shows, each run."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        program = subprocess.Popen([str(WINDOW), str(image)], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            while not vantrel_windows(env)[1]:
                time.sleep(0.002)
            times.append(time.perf_counter() - start)
        finally:
            program.kill()
            program.wait()
    return times


def across_sizes():
    print("\n(b) set on images of growing size, 5 rounds of 10 runs each, alternating")
    images = [("1 MiB", make_image("1mib.gba", MIB)),
              ("16 MiB", make_image("16mib.gba", 16 * MIB)),
              ("32 MiB", make_image("32mib.gba", 32 * MIB)),
              ("4 GiB sparse", make_image("4gib-sparse.gba", 4096 * MIB, sparse=True))]
    medians = alternating_medians(
        [(label, f"{CLI} set {image} 6") for label, image in images], rounds=5, runs=10)
    for label, median in medians.items():
        print(f"  {label:<14} median {milliseconds(median)}")
    print(f"  largest / smallest: {medians['4 GiB sparse'] / medians['1 MiB']:.2f}")


def write_cry_table_words(image, blocks):
    """The cry call's code at FireRed 1.0's words, which point at `blocks`."""
    for at, code in CRY_CALL_CODE:
        image.seek(CRY_TABLE_WORDS[0] + at)
        image.write(code)
    for word, block in zip(CRY_TABLE_WORDS, blocks):
        image.seek(word)
        image.write(struct.pack("<I", 0x08000000 + block))


def cry_image():
    """A FireRed 1.0 image whose title screen plays a one-second compressed
    cry of synthetic samples, its table where that release's words say."""
    path = make_image("cry.gba", 16 * MIB, cry=25)
    table, wave, rate, count = 0x100000, 0x101000, 10512, 10512
    with open(path, "r+b") as image:
        write_cry_table_words(image, (table, table + 0x600))
        image.seek(table + 12 * 24)
        image.write(bytes([0x20, 60, 0, 0]) + struct.pack("<I", 0x08000000 + wave))
        image.seek(wave)
        image.write(struct.pack("<HHIII", 1, 0, rate * 1024, 0, count))
        blocks = (count + 63) // 64
        image.write(bytes([0x40, 0x01] + [0x12] * 31) * blocks)
    return path


def core_figures():
    print("\n(b2) inside one process, median of 21 runs (bench/core_figures.cpp)")
    # An unknown game's header sends the locator to the search, and with no
    # code in the image it reads all 32 MiB.
    searched = make_image("32mib-none.gba", 32 * MIB, code=False, game_code=b"AXVE")
    printed = subprocess.run([str(CORE_FIGURES), str(searched), str(cry_image())],
                             check=True, capture_output=True, text=True).stdout
    figures = dict(line.split() for line in printed.splitlines())
    print(f"  search of 32 MiB, no code, the title screen's alone (a write)  "
          f"{float(figures['search']):8.3f} ms")
    print(f"  search of 32 MiB, no code, both codes (a read)                 "
          f"{float(figures['search-neither']):8.3f} ms")
    print(f"  search of 32 MiB holding both codes in its second half         "
          f"{float(figures['search-both']):8.3f} ms")
    print(f"  one-second cry decoded, made a WAV   {float(figures['cry']):8.3f} ms "
          "(with the image's open, header and locating)")


def traced_calls(arguments, image):
    """The system calls vantrel-cli makes on `image`: (name, text, result)."""
    with tempfile.TemporaryDirectory() as folder:
        log = Path(folder) / "strace.txt"
        subprocess.run(["strace", "-f", "-y", "-o", str(log), str(CLI), *arguments],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        lines = log.read_text().splitlines()
    real = re.escape(str(image.resolve()))
    on_fd = re.compile(r"^(?:\d+ +)?(\w+)\(\d+<" + real + r">(.*)\) += (-?\d+)")
    opened = re.compile(r"^(?:\d+ +)?(open\w*)\((.*)\) += (\d+)<" + real + ">")
    # A mapping names the descriptor as its fifth argument.
    mapped = re.compile(r"^(?:\d+ +)?(mmap)\((.*\d+<" + real + r">.*)\) += (0x[0-9a-f]+)")
    calls = []
    for line in lines:
        match = on_fd.match(line) or opened.match(line) or mapped.match(line)
        if match:
            calls.append((match.group(1), match.group(2), match.group(3)))
    return calls
def summarize(calls):
    counts = {}
    for name, _, _ in calls:
        counts[name] = counts.get(name, 0) + 1
    return ", ".join(f"{name} {count}" for name, count in counts.items())


def transferred(calls, kind):
    """Bytes read or written, and each transfer's (offset, size) where known."""
    names = {"read": ("read", "pread64", "readv", "preadv", "preadv2"),
             "write": ("write", "pwrite64", "writev", "pwritev", "pwritev2")}[kind]
    spans = []
    for name, text, result in calls:
        if name in names and int(result) > 0:
            offset = re.search(r", (\d+)$", text) if name.startswith("p") else None
            spans.append((int(offset.group(1)) if offset else None, int(result)))
    return spans


def audit():
    print("\n(c) system calls on the image, traced with strace")
    image = make_image("audit.gba", 16 * MIB)
    ok = True

    before = image.read_bytes()
    calls = traced_calls(["set", str(image), "25"], image)
    after = image.read_bytes()
    reads = transferred(calls, "read")
    writes = transferred(calls, "write")
    read_bytes = sum(size for _, size in reads)
    page = PAGE
    # A plain read or write has no offset in the trace: its size alone
    # counts. The title screen's code is read around the cry byte, and after
    # the flush the cry byte's page is read back from the disk.
    code = (CRY_OFFSET - len(CODE_BEFORE), len(CODE_BEFORE) + 1 + len(CODE_AFTER))
    within = all(offset is None or offset + size <= HEADER_READ or (offset, size) == code or
                 (offset == CRY_OFFSET - CRY_OFFSET % page and size == page)
                 for offset, size in reads)
    # The byte is stored through a shared mapping of its page, which strace
    # cannot see: the mapping must be that page alone, and the file must
    # differ from before in that byte alone.
    maps = [text for name, text, _ in calls if name == "mmap"]
    one_page = len(maps) == 1 and maps[0].startswith(f"NULL, {page}, PROT_READ|PROT_WRITE, "
                                                     "MAP_SHARED,") and maps[0].endswith(
                                                         hex(CRY_OFFSET - CRY_OFFSET % page))
    changed = [i for i in range(len(before)) if before[i] != after[i]] if len(before) == len(
        after) else None
    one_byte = not writes and one_page and changed == [CRY_OFFSET]
    set_ok = within and read_bytes <= HEADER_READ + code[1] + page and one_byte
    print(f"  set:  {summarize(calls)}")
    print(f"        read {read_bytes} bytes {reads}, mapped {maps}, changed {changed}: "
          f"{'OK' if set_ok else 'FAIL'} (at most the header, the code around the cry byte "
          f"and its page read, that page mapped, exactly the cry byte changed)")
    ok &= set_ok

    # Past 251 the same: one mapping of the page, and only the window changed,
    # whole.
    before = image.read_bytes()
    calls = traced_calls(["set", str(image), "Rayquaza"], image)
    after = image.read_bytes()
    maps = [text for name, text, _ in calls if name == "mmap"]
    changed = [i for i in range(len(before)) if before[i] != after[i]]
    window_ok = (not transferred(calls, "write") and len(maps) == 1 and
                 all(WINDOW_AT <= i < WINDOW_AT + len(WIDE_RAYQUAZA) for i in changed) and
                 window_bytes(image) == WIDE_RAYQUAZA)
    print(f"  set Rayquaza: {summarize(calls)}")
    print(f"        mapped {maps}, changed {changed}: {'OK' if window_ok else 'FAIL'} (one page "
          "mapped, only the 14 bytes of the window changed, now the wide form)")
    ok &= window_ok

    # show reads the header, the code, the species it names and, through the
    # second header's word, the names table, each once.
    table = 0x200000
    put_names(image, [f"SPECIES{n}" for n in range(NAME_ENTRIES)], at=table)
    calls = traced_calls(["show", str(image)], image)
    writes = transferred(calls, "write")
    reads = transferred(calls, "read")
    wide_species = (CRY_OFFSET - 4, 5)
    expected = [(0, HEADER_READ), code, wide_species, (table, NAME_ENTRIES * NAME_SIZE)]
    read_only = all("O_RDONLY" in text for name, text, _ in calls if name.startswith("open"))
    show_ok = not writes and read_only and reads == expected
    print(f"  show: {summarize(calls)}")
    print(f"        read {reads}, wrote {writes}, opened read-only: {read_only}: "
          f"{'OK' if show_ok else 'FAIL'} (the header, the code, the species and the names table"
          " once each)")
    return ok and show_ok


def visible(title, env):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return found.returncode == 0


def peak_memory_kib(pid):
    status = Path(f"/proc/{pid}/status").read_text()
    return int(re.search(r"^VmHWM:\s+(\d+) kB", status, re.MULTILINE).group(1))


def cpu_seconds(pid):
    """The processor time all threads of the process have had so far: on a
    shared machine it moves less than the time on the clock."""
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        total += int((task / "schedstat").read_text().split()[0])
    return total / 1e9


def window_start(program, title, env, runs=7, timeout=15.0):
    """Median seconds from start until the window is mapped and visible, the
    median processor time it took to get there, and the median peak resident
    memory in KiB; or why it never showed."""
    seconds, cpu, memory = [], [], []
    for _ in range(runs):
        errors = tempfile.TemporaryFile(mode="w+")
        start = time.perf_counter()
        process = subprocess.Popen([str(program)], env=env, stdout=subprocess.DEVNULL,
                                   stderr=errors)
        try:
            # xdotool's own --sync polls only twice a second: poll here instead.
            while not visible(title, env):
                if process.poll() is not None:
                    errors.seek(0)
                    said = errors.read().strip().splitlines()
                    return (f"exited with status {process.returncode} before showing {title}"
                            + (f": {said[-1]}" if said else ""))
                if time.perf_counter() - start > timeout:
                    return f"showed no window titled {title} within {timeout:.0f} s"
                time.sleep(0.002)
            seconds.append(time.perf_counter() - start)
            cpu.append(cpu_seconds(process.pid))
            time.sleep(0.5)  # let the first paint and its allocations finish
            memory.append(peak_memory_kib(process.pid))
        finally:
            process.kill()
            process.wait()
            errors.close()
    return statistics.median(seconds), statistics.median(cpu), statistics.median(memory)


def windows():
    print("\n(d) window cold start to visible (on the clock, and processor time), and peak memory"
          " (VmHWM),\n    median of 7, under Xvfb")
    # scripts/bench runs this on a virtual display of its own (scripts/with-xvfb).
    if not os.environ.get("DISPLAY"):
        print("  no display: run scripts/bench")
        return
    with tempfile.TemporaryDirectory() as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        for label, program, title in [("vantrel (Qt)", WINDOW, "^Vantrel"),
                                      ("minimal Qt window", MINIMAL_WINDOW, "^Minimal Qt window$")]:
            if not program.exists():
                print(f"  {label:<18} not built ({program.relative_to(ROOT)})")
                continue
            result = window_start(program, title, env)
            if isinstance(result, str):
                print(f"  {label:<18} {result}")
            else:
                print(f"  {label:<18} {milliseconds(result[0])}, processor {milliseconds(result[1])},"
                      f" peak {result[2] / 1024:.1f} MiB")


# The cry the Play figure plays: a tone of the bench's own in a cry table
# the image's FireRed 1.0 words point at, as Charizard's entry.
CRY_TABLE, CRY_WAVE = 0x10000, 0x20000
CRY_RATE = 10512
RECORD_RATE = 44100


def image_with_cry(name):
    path = make_image(name, 0x80000)
    tone = bytes(int(128 + 100 * math.sin(2 * math.pi * 440 * i / CRY_RATE)) & 0xFF ^ 0x80
                 for i in range(CRY_RATE // 4))
    with open(path, "r+b") as image:
        write_cry_table_words(image, (CRY_TABLE, CRY_TABLE))
        image.seek(CRY_TABLE + 12 * 5)
        image.write(bytes([0, 60, 0, 0]) + (0x08000000 + CRY_WAVE).to_bytes(4, "little"))
        image.seek(CRY_WAVE)
        image.write(bytes(4) + (CRY_RATE * 1024).to_bytes(4, "little") + bytes(4) +
                    len(tone).to_bytes(4, "little") + tone)
    return path


def vantrel_windows(env):
    """The program's visible windows titled Vantrel: (main, boxes)."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vantrel$"],
                           env=env, capture_output=True, text=True).stdout.split()
    boxes = [w for w in found if "window id" in subprocess.run(
        ["xprop", "-id", w, "WM_TRANSIENT_FOR"], env=env, capture_output=True, text=True).stdout]
    main = [w for w in found if w not in boxes]
    return (main[0] if main else None), boxes


class Recorder:
    """parec on the sink's monitor, read as it comes: the time each read
    arrived and its samples."""

    def __init__(self, server, sink):
        self.process = subprocess.Popen(
            ["parec", f"--server={server}", "-d", f"{sink}.monitor", "--raw", "--format=s16le",
             f"--rate={RECORD_RATE}", "--channels=1", "--latency-msec=5"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.reads = []
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        while chunk := os.read(self.process.stdout.fileno(), 4096):
            self.reads.append((time.perf_counter(), chunk))

    def first_sound_after(self, start):
        """When the first sample louder than a whisper reached the monitor,
        taken as its read's arrival less the samples that came after it."""
        for arrived, chunk in list(self.reads):
            if arrived < start:
                continue
            samples = struct.unpack(f"<{len(chunk) // 2}h", chunk[:len(chunk) // 2 * 2])
            for i, sample in enumerate(samples):
                if abs(sample) > 256:
                    return arrived - (len(samples) - i) / RECORD_RATE
        return None

    def stop(self):
        self.process.send_signal(signal.SIGINT)
        self.process.wait()


class Mouse:
    """The mouse's left button, pressed and released through XTest from this
    process: xdotool takes tens of milliseconds of its own around a click."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtest = ctypes.CDLL("libXtst.so.6")  # xdotool's own dependency
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.display = ctypes.c_void_p(self.x11.XOpenDisplay(None))

    def button(self, pressed):
        self.xtest.XTestFakeButtonEvent(self.display, 1, int(pressed), 0)
        self.x11.XFlush(self.display)

    def close(self):
        self.x11.XCloseDisplay(self.display)


def play_latency(rounds=7):
    print(f"\n(e) Play click to the first sample at the sink, median of {rounds}, under Xvfb")
    if not os.environ.get("DISPLAY") or not WINDOW.exists():
        print("  no display or no window program: run scripts/bench")
        return
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, XDG_RUNTIME_DIR=folder, PULSE_RUNTIME_PATH=folder, HOME=folder)
        sink = "vantrel_bench"
        server_address = f"unix:{folder}/native"
        server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             f"--load=module-null-sink norewinds=1 sink_name={sink}",
             f"--load=module-native-protocol-unix auth-anonymous=1 socket={folder}/native"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        program = None
        recorder = None
        try:
            while subprocess.run(["pactl", f"--server={server_address}", "info"],
                                 capture_output=True).returncode != 0:
                time.sleep(0.05)
            recorder = Recorder(server_address, sink)
            program = subprocess.Popen([str(WINDOW), str(image_with_cry("play.gba"))],
                                       env=dict(env, PULSE_SERVER=server_address),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            main, boxes = None, []
            while not (main and boxes):  # the window, and the box of the image opened
                time.sleep(0.05)
                main, boxes = vantrel_windows(env)
            subprocess.run(["xdotool", "windowfocus", "--sync", boxes[0], "key", "Return"],
                           env=env, check=True)
            while vantrel_windows(env)[1]:
                time.sleep(0.05)
            subprocess.run(["xdotool", "mousemove", "--window", main, "216", "148"], env=env,
                           check=True)
            mouse = Mouse()
            latencies = []
            for _ in range(rounds):
                time.sleep(0.6)  # the cry before has ended
                mouse.button(True)
                time.sleep(0.05)
                # A button is clicked when it is let go.
                mouse.button(False)
                clicked = time.perf_counter()
                time.sleep(0.4)
                heard = recorder.first_sound_after(clicked)
                if heard is not None:
                    latencies.append(heard - clicked)
            mouse.close()
            if latencies:
                print(f"  click to first sample    median {milliseconds(statistics.median(latencies))}"
                      f" (min {milliseconds(min(latencies))}, max {milliseconds(max(latencies))},"
                      f" {len(latencies)} of {rounds} heard)")
            else:
                print("  no click was heard")
        finally:
            if program:
                program.kill()
                program.wait()
            if recorder:
                recorder.stop()
            server.terminate()
            server.wait()


def machine():
    model = re.search(r"^model name\s*: (.*)$", Path("/proc/cpuinfo").read_text(), re.MULTILINE)
    disk = subprocess.run(["df", "-hT", str(BUILD)], capture_output=True, text=True).stdout
    print("machine")
    print(f"  cpu:    {model.group(1) if model else platform.processor()}, {os.cpu_count()} cores")
    memory = re.search(r"^MemTotal:\s+(\d+) kB", Path("/proc/meminfo").read_text(), re.MULTILINE)
    print(f"  memory: {int(memory.group(1)) / MIB:.1f} GiB")
    print(f"  kernel: {platform.system()} {platform.release()}")
    print(f"  disk:   {' '.join(disk.splitlines()[-1].split()[:3])} (build folder)")
    # Other work on the machine moves every figure: say how busy it was.
    print(f"  load:   {os.getloadavg()[0]:.2f} (1-minute average at the start)")
    version = subprocess.run(["hyperfine", "--version"], capture_output=True, text=True).stdout
    print(f"  timing: {version.strip()}")


def main():
    if not CLI.exists():
        sys.exit(f"bench: {CLI} is not built: run scripts/bench")
    IMAGES.mkdir(parents=True, exist_ok=True)
    try:
        machine()
        against_dd_patch()
        past_251()
        names_cost()
        across_sizes()
        core_figures()
        audit_ok = audit()
        windows()
        play_latency()
    finally:
        shutil.rmtree(IMAGES, ignore_errors=True)
    if not audit_ok:
        sys.exit("bench: the system-call audit failed")


if __name__ == "__main__":
    if sys.argv[1:2] == ["--fresh-folio"]:
        fresh_folio(sys.argv[2])
    else:
        main()
