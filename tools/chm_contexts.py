#!/usr/bin/env python3
"""Mends the context map of a compiled help file made by chmcmd.

    chm_contexts.py HELPFILE.chm PROJECT_DIR

HTML Help finds the page of a context number (HH_HELP_CONTEXT, the topic numbers of Vantix)
through two internal files: #IVB maps each number to an offset into #STRINGS, and #STRINGS holds
the page's path inside the help file ("/options.htm"). chmcmd 3.2 writes the page's absolute
path on the build machine there instead ("/home/me/build/help/options.htm"), so every context
lookup names a page that does not exist in the file.

This script reads #STRINGS back with chmls (same package as chmcmd), cuts the project folder
off every path that starts with it and pads each mended string with zero bytes to its old length,
so that every offset in #IVB stays valid. #STRINGS lives in the compressed section; the mended
copy is appended to the uncompressed section 0 at the end of the file and its directory entry
is pointed there (directory chunk rewritten, quick-reference table included); the file-size
field of the header follows. A file that needs no mending is left alone. Standard library only.
"""
import os
import struct
import subprocess
import sys
import tempfile

HEADER_SECTION_TABLE = 0x38
ITSP_SIZE = 0x54
PMGL_HEADER = 0x14


def read_encint(buf, pos):
    value = 0
    while True:
        byte = buf[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def encint(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def parse_pmgl(chunk, chunk_size):
    free = struct.unpack_from("<I", chunk, 4)[0]
    end = chunk_size - free
    entries, pos = [], PMGL_HEADER
    while pos < end:
        length, pos = read_encint(chunk, pos)
        name = chunk[pos:pos + length]
        pos += length
        section, pos = read_encint(chunk, pos)
        offset, pos = read_encint(chunk, pos)
        size, pos = read_encint(chunk, pos)
        entries.append([name, section, offset, size])
    return entries


def build_pmgl(header, entries, chunk_size, density):
    """A directory chunk as chmcmd writes it: entries, free space, then from the end backwards
    the entry count and the offset of every (1 + 2^density)-th entry, counted from entry 0 as
    chmcmd counts them (the round trip in mend() proves the convention on every chunk)."""
    body, offsets = b"", []
    for name, section, offset, size in entries:
        offsets.append(len(body))
        body += encint(len(name)) + name + encint(section) + encint(offset) + encint(size)
    step = 1 + (1 << density)
    quick = [offsets[i] for i in range(step - 1, len(entries), step)]
    tail = b"".join(struct.pack("<H", q) for q in reversed(quick)) + struct.pack("<H", len(entries))
    free = chunk_size - PMGL_HEADER - len(body)
    if free < len(tail):
        raise SystemExit("chm_contexts: the mended directory chunk does not fit")
    head = header[:4] + struct.pack("<I", free) + header[8:PMGL_HEADER]
    return head + body + b"\0" * (free - len(tail)) + tail


def chmls_extract(chm, inner):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "part")
        subprocess.run(["chmls", "extract", chm, inner, out], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not os.path.exists(out):
            raise SystemExit("chm_contexts: chmls could not read %s from %s" % (inner, chm))
        with open(out, "rb") as f:
            return f.read()


def mended_strings(data, prefixes):
    """Every zero-terminated string that starts with a project folder loses it; the same length."""
    out, pos, changed = bytearray(), 0, 0
    while pos < len(data):
        end = data.find(b"\0", pos)
        if end < 0:
            end = len(data)
        text = data[pos:end]
        for prefix in prefixes:
            if text.startswith(prefix + b"/"):
                text = text[len(prefix):].ljust(end - pos, b"\0")
                changed += 1
                break
        out += text
        if end < len(data):
            out += b"\0"
        pos = end + 1
    return bytes(out), changed


def mend(chm, project_dir):
    dirs = {os.path.abspath(project_dir), os.path.realpath(project_dir)}
    prefixes = sorted((d.rstrip("/").encode() for d in dirs), key=len, reverse=True)
    strings = chmls_extract(chm, "/#STRINGS")
    fixed, changed = mended_strings(strings, prefixes)
    if not changed:
        print("chm_contexts: %s needs no mending" % os.path.basename(chm))
        return

    with open(chm, "rb") as f:
        data = bytearray(f.read())
    if data[:4] != b"ITSF":
        raise SystemExit("chm_contexts: %s is no compiled help file" % chm)
    hs0_off, _, dir_off, _, content_off = struct.unpack_from("<QQQQQ", data, HEADER_SECTION_TABLE)
    itsp = data[dir_off:dir_off + ITSP_SIZE]
    if itsp[:4] != b"ITSP":
        raise SystemExit("chm_contexts: no directory in %s" % chm)
    chunk_size, density = struct.unpack_from("<II", itsp, 0x10)
    chunk_count = struct.unpack_from("<I", itsp, 0x2C)[0]

    new_offset = len(data) - content_off
    found = False
    for n in range(chunk_count):
        start = dir_off + ITSP_SIZE + n * chunk_size
        chunk = bytes(data[start:start + chunk_size])
        if chunk[:4] != b"PMGL":
            continue
        entries = parse_pmgl(chunk, chunk_size)
        if build_pmgl(chunk, entries, chunk_size, density) != chunk:
            raise SystemExit("chm_contexts: directory chunk %d is not laid out as expected" % n)
        for entry in entries:
            if entry[0] == b"/#STRINGS":
                if entry[3] != len(strings):
                    raise SystemExit("chm_contexts: #STRINGS size does not match its entry")
                entry[1], entry[2] = 0, new_offset
                data[start:start + chunk_size] = build_pmgl(chunk, entries, chunk_size, density)
                found = True
    if not found:
        raise SystemExit("chm_contexts: no #STRINGS entry in %s" % chm)

    data += fixed
    struct.pack_into("<Q", data, hs0_off + 8, len(data))
    tmp = chm + ".mending"
    with open(tmp, "wb") as f:
        f.write(data)
    if chmls_extract(tmp, "/#STRINGS") != fixed:
        os.remove(tmp)
        raise SystemExit("chm_contexts: the mended file does not read back")
    os.replace(tmp, chm)
    print("chm_contexts: %d context path(s) made relative in %s" % (changed, os.path.basename(chm)))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    mend(sys.argv[1], sys.argv[2])
