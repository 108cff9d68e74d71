#!/usr/bin/env python3
"""Checks a built Vantix.chm from the inside, with chmls (Debian package fp-utils):

    check_help.py Vantix.chm POPUPS_TXT

- every context number in the file's map (#IVB) names a page (#STRINGS) that is in the file,
  and that page says it is the page of that very number (<meta name="vantix-topic">);
- every control of popups.txt has its number in the map, and its page holds its text;
- the whole-dialog topics of the program are all there;
- every picture a page shows is in the file, as the same bytes as its source beside the pages.
Run by ctest as vantix_helpfile. Standard library only.
"""
import html
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_help  # noqa: E402

WHOLE_DIALOG_TOPICS = [12, 13, 14, 15, 16, 11000, 12000, 13000, 14000, 15000, 17000, 18000, 19000]


def main(chm, popups_txt):
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["chmls", "extractall", chm, tmp], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(os.path.join(tmp, "#IVB"), "rb") as f:
            ivb = f.read()
        with open(os.path.join(tmp, "#STRINGS"), "rb") as f:
            strings = f.read()
        size = struct.unpack_from("<I", ivb, 0)[0]
        pairs = [struct.unpack_from("<II", ivb, 4 + i) for i in range(0, size, 8)]
        mapped = {}
        for topic, offset in pairs:
            path = strings[offset:strings.index(b"\0", offset)].decode("cp1252")
            mapped[topic] = path
            local = os.path.join(tmp, path.lstrip("/"))
            if not path.startswith("/") or not os.path.isfile(local):
                faults.append("topic %d names %r, which is not in the file" % (topic, path))
                continue
            with open(local, encoding="cp1252") as f:
                page = f.read()
            m = re.search(r'<meta name="vantix-topic" content="(\d+)">', page)
            if not m or int(m.group(1)) != topic:
                faults.append("topic %d opens %s, the page of %s" % (topic, path, m.group(1) if m else "no topic"))

        popups, _ = make_help.read_popups(popups_txt)
        for p in popups:
            if p.topic not in mapped:
                faults.append("control %d (%s) has no topic in the map" % (p.topic, p.label))
                continue
            local = os.path.join(tmp, mapped[p.topic].lstrip("/"))
            if not os.path.isfile(local):
                continue
            with open(local, encoding="cp1252") as f:
                if html.escape(p.text) not in f.read():
                    faults.append("the page of control %d does not hold its text" % p.topic)
        for topic in WHOLE_DIALOG_TOPICS:
            if topic not in mapped:
                faults.append("dialog topic %d is missing" % topic)

        pages_dir = os.path.join(os.path.dirname(os.path.abspath(popups_txt)), "pages")
        for name in sorted(os.listdir(pages_dir)):
            if not name.endswith(".htm"):
                continue
            with open(os.path.join(pages_dir, name), encoding="utf-8") as f:
                pictures = re.findall(r'<img\s[^>]*src="([^"]+)"', f.read())
            for picture in pictures:
                inside = os.path.join(tmp, picture)
                source = os.path.join(pages_dir, picture)
                if not os.path.isfile(inside):
                    faults.append("%s shows %s, which is not in the file" % (name, picture))
                    continue
                with open(inside, "rb") as a, open(source, "rb") as b:
                    if a.read() != b.read():
                        faults.append("%s shows %s, which differs from its source" % (name, picture))

    for fault in faults:
        print("check_help: " + fault)
    if faults:
        raise SystemExit(1)
    print("check_help: %d topics, each opening its own page" % len(mapped))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2])
