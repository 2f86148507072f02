#!/usr/bin/env python3
"""Makes the files the copy tests expand: originals and their compressed forms.

Usage: make_compressed_fixtures.py <mscompress> <folder>

Writes into <folder>, for each original <name>, the original and <name>.szdd,
the original compressed by mscompress as an installation disk holds it:
  small.txt     a short text with CR LF, a lone LF and a Ctrl-Z in it
  allbytes.bin  4 KB holding every byte value, some in runs the compressor
                shortens and some in an order it cannot
  empty.bin     no bytes at all
  big.bin       1 MB, stretches of repeated text between stretches of
                pseudo-random bytes
The contents are the same on every build.
"""
import os
import subprocess
import sys


def small_text():
    return (b"Network card on-line manual\r\n"
            b"Second line, LF only\n"
            b"\x1a after a Ctrl-Z\r\n")


def pseudo_random(count, seed):
    # A linear congruential generator: the same bytes on every machine.
    state = seed
    out = bytearray()
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append((state >> 16) & 0xFF)
    return bytes(out)


def all_bytes():
    ascending = bytes(range(256))
    runs = b"".join(bytes([value]) * 4 for value in range(256))
    scattered = bytes((value * 167 + 13) & 0xFF for value in range(256 * 8))
    data = ascending * 4 + runs + scattered
    assert len(data) == 4096 and set(data) == set(range(256))
    return data


def big():
    text = b"The quick brown fox jumps over the lazy dog. 0123456789\r\n" * 300
    data = bytearray()
    seed = 1
    while len(data) < 1024 * 1024:
        data += text
        data += pseudo_random(16 * 1024, seed)
        seed += 1
    return bytes(data[:1024 * 1024])


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    mscompress, folder = argv
    os.makedirs(folder, exist_ok=True)
    originals = {
        "small.txt": small_text(),
        "allbytes.bin": all_bytes(),
        "empty.bin": b"",
        "big.bin": big(),
    }
    for name, data in originals.items():
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(data)
        # mscompress writes <path>_ beside the original.
        subprocess.run([mscompress, path], check=True)
        os.replace(path + "_", path + ".szdd")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
