#!/usr/bin/env python3
"""Writes the seed corpus of the script reader's fuzz target.

Usage: tests/fuzz/make_corpus.py [output-dir]   (default: tests/fuzz/corpus)

Each seed is two settings bytes (see tests/fuzz/script_fuzz.cpp) and then a
script's bytes. The seeds named here are rewritten; other files in the directory (crash
reproducers saved there by hand) are left alone.
"""

import os
import sys

LAN, MODEM, MANUAL = 1, 2, 4


def settings(mask=0, platform=0, prompts=False, fail=False, answers=0, shift=0, fail_at=0):
    """The two settings bytes. fail_at (0-255) places a read failure when
    fail is set; it shares byte 1 with answers and shift."""
    b0 = (mask & 0x0F) | ((platform & 3) << 4) | (0x40 if prompts else 0) | (0x80 if fail else 0)
    b1 = fail_at if fail else (answers & 0x0F) | ((shift & 0x0F) << 4)
    return bytes([b0, b1])


def crlf(text):
    """Text saved with CR LF line ends, as an editor saves it."""
    return text.replace("\n", "\r\n").encode("latin-1")


def script(family, drive="D"):
    """A whole script for one family, every step's section in it."""
    f = family
    return (
        f"; network card manual, {'Windows NT' if f == 'WinNT' else 'Windows 95/98'}\n"
        f"[{f} Dirs]\n"
        "%W%\\,NETCARD\n"
        "%W%\\NETCARD,MANUAL\n"
        "%R%\\,NETTOOLS\n"
        f"[{f} Files]\n"
        f"(Insert disk 1,%A%\\DISK1.TAG,#M)\n"
        "%C%\\INDEX.HTM,%W%\\NETCARD\\MANUAL\\INDEX.HTM\n"
        "#L\n"
        "%C%\\LANDIAG.EXE,%W%\\NETCARD\\LANDIAG.EXE\n"
        "#M\n"
        "%C%\\MODEM.INF,%S%\\MODEM.INF\n"
        f"(Insert disk 2,%A%\\DISK2.TAG,#O)\n"
        "#O\n"
        "%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL\\MANUAL.HLP\n"
        "%S%\\NETAPI.DL_,%S%\\NETAPI.DLL\n"
        f"[{f} Folders]\n"
        "%P%,Network Card\n"
        "%U%,Network Card Tools\n"
        f"[{f} Links]\n"
        "%W%\\NETCARD\\MANUAL\\INDEX.HTM,%P%\\Network Card\\On-line Manual.lnk,On-line Manual\n"
        "%W%\\NETCARD\\LANDIAG.EXE,%D%\\LAN Diagnostics.lnk,LAN Diagnostics\n"
        f"[{f} Regs]\n"
        "HKEY_LOCAL_MACHINE,SOFTWARE\\NetCard\\Manual,Path,REG_SZ,C:\\WINDOWS\\NETCARD\\MANUAL\n"
        "HKEY_CURRENT_USER,Software\\NetCard,Shown,REG_DWORD,1\n"
        f"[{f} Exes]\n"
        "%W%\\NOTEPAD.EXE,Notepad,SW_SHOW\n"
        "%S%\\REGSVR32.EXE /s NETAPI.DLL,Register,SW_HIDE\n"
    )


def seeds():
    yield "nt-full", settings(LAN | MODEM | MANUAL, platform=2, prompts=True, answers=0b0011), crlf(script("WinNT"))
    yield "9x-full", settings(LAN, platform=1, prompts=True, answers=0b0001), crlf(script("Win9X"))
    yield "both-families", settings(MANUAL, platform=0), crlf(script("Win9X") + script("WinNT"))

    gates = (
        "[WinNT Files]\n"
        "#L\nlan only,x\n#M\nmodem only,x\n#O\nmanual only,x\n"
        "#X\nstill as before,x\n#\n#L\n##\n#l\nlower case is no letter,x\n"
        "[WinNT Dirs]\n#O\nmanual dir,x\n"
    )
    yield "gates", settings(MODEM, platform=2), crlf(gates)

    prompts = (
        "[Win9X Files]\n"
        "#L\n"
        "(Insert disk 2,%A%\\DISK2.TAG,#M)\n"
        "after prompt,x\n"
        "(Insert disk 3,%X%\\DISK3.TAG)\n"
        "after second prompt,x\n"
        "(x\n(\n(()\n"
        "(Insert disk 4,%A%\\DISK4.TAG,#O)\r\n"
        "last,x\n"
    )
    yield "disk-prompts", settings(0, platform=1, prompts=True, answers=0b0101), crlf(prompts)

    long_field = "%W%\\" + "\\".join(["LONGDIRECTORY"] * 18)
    long_lines = (
        "[WinNT Dirs]\n"
        + "a" * 253 + "\n"
        + "b" * 254 + "\n"
        + "c" * 255 + "\n"
        + "d" * 300 + "\n"
        + ";" + "comment" * 60 + "\n"
        + "%S%\\" + "e" * 250 + ",%W%\\" + "f" * 240 + "\n"
        + long_field + "," + long_field + "\n"
        + "[" + "WinNT Files " * 30 + "]\n"
        + "%C%\\A.TXT,%S%\\A.TXT\n"
    )
    yield "long-lines", settings(MANUAL, platform=2, shift=3), crlf(long_lines)

    cr_only = (
        b"[Win9X Regs]\r"
        b"HKEY_LOCAL_MACHINE,SOFTWARE\\A,V,REG_SZ,x\r"
        b"\r\r\n"
        b"two\r\r\nlines\r\n"
        b"[Win9X Exes]\r\n"
        b"%W%\\A.EXE,A,SW_SHOW\r"
        b"%W%\\B.EXE,B\rSW_SHOW\r\n"
        b"\r\n\r\n\n\n"
    )
    yield "cr-only", settings(0, platform=1), cr_only

    nul = (
        b"[WinNT Links]\r\n"
        b"%W%\\A.EXE,%P%\\A.lnk,A\x00hidden after the NUL\r\n"
        b"ab\x00cdef\r\n"
        b"\x00[WinNT Exes]\r\n"
        b"%S%\\B.EXE\x00,B,SW_SHOW\r\n"
        b"xyz\x00\r\n"
        b"[WinNT Exes]\x00\r\n"
        b"%W%\\C.EXE,C,SW_SHOW\r\n"
    )
    yield "nul", settings(0, platform=2), nul

    ctrl_z = (
        crlf("[Win9X Folders]\n%P%,Before\n")
        + b"%P%,Cut here\x1Aafter the end\r\n"
        + crlf("[Win9X Links]\n%W%\\A.EXE,%D%\\A.lnk,A\n")
    )
    yield "ctrl-z", settings(0, platform=1), ctrl_z
    yield "ctrl-z-cr", settings(0, platform=1), crlf("[Win9X Regs]\nkey,value\n") + b"abc\r\x1A\n"

    path_vars = (
        "[WinNT Files]\n"
        "%S%\\A.DLL,%W%\\A.DLL\n"
        "%%,%\n"
        "%,%%%\n"
        "%S,%S%\n"
        "%C%\\B%C%\\C,%R%%D%\n"
        "%Q%\\unknown letter,%\\no letter\n"
        "%%S%\\doubled,plain\\path\n"
        "%S%%,%W%\\%\n"
        "(%A%\\DISK.TAG,%A%,%)\n"
    )
    yield "path-vars", settings(LAN, platform=2, prompts=True, shift=1), crlf(path_vars)
    yield "path-vars-long", settings(LAN, platform=2, shift=9), crlf(path_vars)

    # A CR LF pair split across two 4096-byte reads of the file.
    head = b"[Win9X Dirs]\r\n"
    filler = b""
    while len(head) + len(filler) < 4095 - 80:
        filler += b"%W%\\,FILLER" + str(len(filler)).encode() + b"\r\n"
    pad = 4095 - len(head) - len(filler)
    boundary = head + filler + b"%W%\\," + b"P" * (pad - 5) + b"\r\n" + b"%W%\\,AFTER\r\n"
    assert boundary[4095:4097] == b"\r\n", boundary[4090:4100]
    yield "read-boundary", settings(0, platform=1, shift=8), boundary

    yield "read-error", settings(MANUAL, platform=2, fail=True, fail_at=128), crlf(script("WinNT"))

    headers = (
        "ab\n[\n[]\n"
        "[Setup WinNT Files Extra]\n"
        "first,entry\n"
        "[WinNT File]\n"
        "[WinNT Dirs][WinNT Files]\n"
        "both,names\n"
        "[winnt files]\n"
        "x\n"
    )
    yield "headers", settings(0, platform=2, prompts=True), crlf(headers)

    fields = (
        "[WinNT Regs]\n"
        ",,,\n"
        ",a,,b\n"
        "a,b,c,d,e,f,g\n"
        "one\n"
        "tab\tseparated,x\n"
        " spaced , fields \n"
        "a,b\r,c\n"
    )
    yield "fields", settings(0, platform=2), crlf(fields)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    os.makedirs(out, exist_ok=True)
    for name, head, body in seeds():
        with open(os.path.join(out, name), "wb") as f:
            f.write(head + body)


if __name__ == "__main__":
    main()
