#!/usr/bin/env python3
"""Builds the benchmark's installation disk: source files and SETUP.INP.

Usage: bench/make_disk.py [--out DIR] [--seed N]

The disk (default build/bench/disk) holds 2,000 source files that expand to
200 MiB in all, every other one compressed with mscompress, and a SETUP.INP
that installs them into 20 directories under the Windows directory, makes a
program folder with 200 shortcuts and writes 500 registry values under
HKEY_CURRENT_USER\\Software\\InstallBenchScratch. Content depends on the seed
only. A disk already built from the same seed and the same version of this
file is left as it is.
"""

import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

FILE_COUNT = 2000
TOTAL_BYTES = 200 * 1024 * 1024
GROUPS = 4
DIRS_PER_GROUP = 5  # 20 destination directories
LINK_COUNT = 200
REG_KEYS = 10
REG_VALUE_COUNT = 500
REG_KEY = "Software\\InstallBenchScratch"
FOLDER = "Install Bench"
APP_DIR = "BENCHAPP"
BLOCK = 4096

WORDS = (
    "device driver modem adapter port line speed dial answer protocol buffer "
    "register channel status error retry timeout carrier signal config setup "
    "install option network card slot bus address interrupt memory window menu "
    "help index topic update version release serial number vendor product file"
).split()


def destination_dirs():
    """The 20 leaf directories, relative to the Windows directory."""
    return [f"{APP_DIR}\\G{g + 1}\\D{g * DIRS_PER_GROUP + d + 1:02d}"
            for g in range(GROUPS) for d in range(DIRS_PER_GROUP)]


def file_sizes(rng):
    """Sizes with a long tail, adding up to TOTAL_BYTES exactly."""
    weights = [rng.lognormvariate(0.0, 1.1) for _ in range(FILE_COUNT)]
    scale = TOTAL_BYTES / sum(weights)
    sizes = [max(512, int(w * scale)) for w in weights]
    sizes[-1] += TOTAL_BYTES - sum(sizes)
    if sizes[-1] < 512:
        raise SystemExit("make_disk: size table does not add up")
    return sizes


def content_pools(rng):
    """Text (resource and help text, compresses well) and binary (code and
    images, barely compresses) from which file content is cut."""
    lines = []
    size = 0
    while size < 2 * 1024 * 1024:
        kind = rng.randrange(3)
        if kind == 0:
            line = f"{rng.choice(WORDS).capitalize()}{rng.randrange(100)}=" + \
                " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 6)))
        elif kind == 1:
            line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(6, 16))) + "."
        else:
            line = f"[{rng.choice(WORDS).upper()} {rng.randrange(1000):03d}]"
        lines.append(line)
        size += len(line) + 2
    text = ("\r\n".join(lines)).encode("ascii")
    binary = rng.randbytes(2 * 1024 * 1024)
    return text, binary


def file_content(rng, size, text, binary):
    out = bytearray()
    while len(out) < size:
        pool = text if rng.random() < 0.6 else binary
        start = rng.randrange(len(pool) - BLOCK)
        out += pool[start:start + BLOCK]
    del out[size:]
    return bytes(out)


def source_name(index):
    """Odd-numbered files are compressed: their name ends in "_"."""
    return f"F{index:04d}.DA_" if index % 2 == 1 else f"F{index:04d}.DAT"


def script_text(family):
    dirs = destination_dirs()
    lines = [f"; Benchmark installation script ({family} sections)"]

    lines.append(f"[{family} Dirs]")
    lines.append(f"%W%,{APP_DIR}")
    for g in range(GROUPS):
        lines.append(f"%W%\\{APP_DIR},G{g + 1}")
    for d in dirs:
        parent, name = d.rsplit("\\", 1)
        lines.append(f"%W%\\{parent},{name}")

    lines.append(f"[{family} Files]")
    for i in range(1, FILE_COUNT + 1):
        d = dirs[(i - 1) % len(dirs)]
        lines.append(f"%C%\\{source_name(i)},%W%\\{d}\\F{i:04d}.DAT")

    lines.append(f"[{family} Folders]")
    lines.append(f"%P%,{FOLDER}")

    lines.append(f"[{family} Links]")
    step = FILE_COUNT // LINK_COUNT
    for n in range(1, LINK_COUNT + 1):
        i = (n - 1) * step + 1
        d = dirs[(i - 1) % len(dirs)]
        lines.append(f"%W%\\{d}\\F{i:04d}.DAT,%P%\\{FOLDER}\\Item {n:03d}.lnk,"
                     f"Benchmark item {n} of {LINK_COUNT}")

    lines.append(f"[{family} Regs]")
    for v in range(1, REG_VALUE_COUNT + 1):
        key = f"{REG_KEY}\\Key{(v - 1) % REG_KEYS + 1:02d}"
        if v % 2 == 0:
            lines.append(f"HKEY_CURRENT_USER,{key},Count{v:03d},REG_DWORD,{v * 37}")
        else:
            lines.append(f"HKEY_CURRENT_USER,{key},Name{v:03d},REG_SZ,"
                         f"Benchmark value {v} of {REG_VALUE_COUNT}")
    lines.append("")
    return lines


def build(out, seed):
    rng = random.Random(seed)
    sizes = file_sizes(rng)
    text, binary = content_pools(rng)
    work = out + ".partial"
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    to_compress = []
    for i in range(1, FILE_COUNT + 1):
        # One generator per file, so a file's content depends on its number
        # and the seed only.
        data = file_content(random.Random(f"{seed}/{i}"), sizes[i - 1], text, binary)
        plain = os.path.join(work, f"F{i:04d}.DAT")
        with open(plain, "wb") as f:
            f.write(data)
        if i % 2 == 1:
            to_compress.append(plain)

    def compress(batch):
        subprocess.run(["mscompress", *batch], check=True)
        for path in batch:
            os.rename(path + "_", path[:-1] + "_")
            os.remove(path)

    batches = [to_compress[k:k + 25] for k in range(0, len(to_compress), 25)]
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        list(pool.map(compress, batches))

    # Both families' sections, as a disk for either carries them; the NT
    # sections come second, so NT runs read past the 9x ones.
    lines = script_text("Win9X") + script_text("WinNT")
    with open(os.path.join(work, "SETUP.INP"), "wb") as f:
        f.write("\r\n".join(lines).encode("ascii"))

    shutil.rmtree(out, ignore_errors=True)
    os.rename(work, out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "build", "bench", "disk"))
    parser.add_argument("--seed", type=int, default=19960401)
    args = parser.parse_args()
    out = os.path.abspath(args.out)

    with open(os.path.abspath(__file__), "rb") as f:
        stamp = f"seed={args.seed} generator={hashlib.sha256(f.read()).hexdigest()}\n"
    stamp_path = out + ".stamp"
    if os.path.isdir(out) and os.path.exists(stamp_path):
        with open(stamp_path) as f:
            if f.read() == stamp:
                print(f"make_disk: {out} is up to date")
                return
    if shutil.which("mscompress") is None:
        sys.exit("make_disk: mscompress is missing (Debian package mscompress)")

    print(f"make_disk: building {out} (seed {args.seed}); compressing takes a few minutes")
    if os.path.exists(stamp_path):
        os.remove(stamp_path)
    build(out, args.seed)
    with open(stamp_path, "w") as f:
        f.write(stamp)
    total = sum(os.path.getsize(os.path.join(out, n)) for n in os.listdir(out))
    print(f"make_disk: {out}: {len(os.listdir(out))} files, {total / 2**20:.1f} MiB on disk")


if __name__ == "__main__":
    main()
