#!/usr/bin/env python3
"""Builds Vantix.chm from the help sources with chmcmd (Debian package fp-utils).

    make_help.py SOURCE_DIR WORK_DIR OUTPUT_CHM

SOURCE_DIR holds pages/ (one hand-written page per dialog, page and menu; a page names its
topic number in <meta name="vantix-topic">; beside them the style sheet and the pictures the
pages show) and popups.txt (the pop-up text of every control).
The script writes into WORK_DIR:
  - the pages, each with the list of its controls put where it says <!-- controls -->;
  - c<ID>.htm, one page per control id, holding that control's pop-up text;
  - cshelp.txt, the same texts in the text pop-up form HTML Help reads;
  - vantix_help.h, the context-id map: every topic number of the program -> its page;
  - vantix.hhc (contents) and vantix.hhp (the project),
then runs chmcmd there, mends the context map it wrote (tools/chm_contexts.py) and copies the
result to OUTPUT_CHM. Standard library only.
"""
import html
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import chm_contexts  # noqa: E402

TITLE = "Vantix Help"
CHM_NAME = "Vantix.chm"

# The contents, in the order a reader meets the program.
TOC = [
    ("index.htm", None),
    ("main.htm", ["options.htm", "processes.htm", "windows.htm", "taskman.htm", "capture.htm"]),
    ("find.htm", None),
    ("context.htm", None),
    ("processinfo.htm", None),
    ("moduleinfo.htm", None),
    ("windowinfo.htm", ["movewindow.htm", "style.htm"]),
    ("classinfo.htm", None),
    ("viewer.htm", None),
    ("tray.htm", None),
    ("shared.htm", None),
    ("about.htm", None),
]


class Popup:
    def __init__(self, topic, label, page, group):
        self.topic, self.label, self.page, self.group = topic, label, page, group
        self.lines = []

    @property
    def text(self):
        return " ".join(line.strip() for line in self.lines).strip()


def read_popups(path):
    popups, groups = [], {}
    page = group = None
    current = None
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if line.startswith(";"):
                continue
            if line.startswith("== "):
                page, group = line[3:].split(" ", 1)
                groups[page] = group
                current = None
            elif line.startswith(".topic "):
                m = re.match(r"\.topic (\d+) (.+)$", line)
                if not m or not page:
                    raise SystemExit("%s:%d: a topic needs a number, a label and a group above it" % (path, n))
                current = Popup(int(m.group(1)), m.group(2).strip(), page, group)
                popups.append(current)
            elif not line.strip():
                current = None
            elif current is not None:
                current.lines.append(line)
            else:
                raise SystemExit("%s:%d: text outside a topic" % (path, n))
    seen = {}
    for p in popups:
        if p.topic in seen:
            raise SystemExit("popups.txt: topic %d twice (%s, %s)" % (p.topic, seen[p.topic], p.label))
        if not p.text:
            raise SystemExit("popups.txt: topic %d has no text" % p.topic)
        seen[p.topic] = p.label
    return popups, groups


def page_topic(text):
    m = re.search(r'<meta name="vantix-topic" content="(\d*)">', text)
    return int(m.group(1)) if m and m.group(1) else None


def page_title(text):
    m = re.search(r"<title>(.*?)</title>", text, re.S)
    return html.unescape(m.group(1).strip()) if m else ""


def controls_html(popups):
    if not popups:
        return ""
    rows = ['<h2>Controls</h2>', '<dl>']
    for p in sorted(popups, key=lambda p: p.topic):
        rows.append('<dt><a href="c%d.htm">%s</a></dt>' % (p.topic, html.escape(p.label)))
        rows.append("<dd>%s</dd>" % html.escape(p.text))
    rows.append("</dl>")
    return "\n".join(rows)


def popup_page(p):
    title = "%s: %s" % (p.group, p.label)
    return """<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<meta name="vantix-topic" content="%d">
<title>%s</title>
<link rel="stylesheet" href="vantix.css">
</head>
<body>
<h1>%s</h1>
<p class="popup">%s</p>
<p class="seealso">See also: <a href="%s">%s</a></p>
</body>
</html>
""" % (p.topic, html.escape(title), html.escape(p.label), html.escape(p.text), p.page, html.escape(p.group))


def sitemap_item(name, local):
    return ('<li><object type="text/sitemap"><param name="Name" value="%s"><param name="Local" value="%s">'
            "</object>" % (html.escape(name), local))


def write(path, text):
    with open(path, "w", encoding="cp1252", newline="\r\n") as f:
        f.write(text)


def build(source, work, output):
    chmcmd = shutil.which("chmcmd")
    if not chmcmd:
        raise SystemExit("make_help: chmcmd is missing (Debian package fp-utils)")
    popups, groups = read_popups(os.path.join(source, "popups.txt"))
    pages_dir = os.path.join(source, "pages")
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)

    files, topics, titles = [], {}, {}
    for name in sorted(os.listdir(pages_dir)):
        src = os.path.join(pages_dir, name)
        if name.endswith((".css", ".png")):
            shutil.copy(src, os.path.join(work, name))
            files.append(name)
            continue
        if not name.endswith(".htm"):
            continue
        with open(src, encoding="utf-8") as f:
            text = f.read()
        text = text.replace("<!-- controls -->", controls_html([p for p in popups if p.page == name]))
        write(os.path.join(work, name), text)
        files.append(name)
        titles[name] = page_title(text)
        topic = page_topic(text)
        if topic is not None:
            if topic in topics:
                raise SystemExit("make_help: topic %d on %s and %s" % (topic, topics[topic], name))
            topics[topic] = name
    for page in groups:
        if page not in titles:
            raise SystemExit("make_help: popups.txt names %s, which does not exist" % page)

    for p in popups:
        if p.topic in topics:
            raise SystemExit("make_help: topic %d is both a control and %s" % (p.topic, topics[p.topic]))
        name = "c%d.htm" % p.topic
        write(os.path.join(work, name), popup_page(p))
        files.append(name)
        topics[p.topic] = name

    write(os.path.join(work, "cshelp.txt"),
          "".join(".topic %d\n%s\n\n" % (p.topic, p.text) for p in sorted(popups, key=lambda p: p.topic)))
    files.append("cshelp.txt")
    write(os.path.join(work, "vantix_help.h"),
          "".join("#define IDH_%d %d\n" % (t, t) for t in sorted(topics)))

    toc = ["<html><body>", "<ul>"]
    for name, children in TOC:
        toc.append(sitemap_item(titles[name], name))
        if children:
            toc.append("<ul>")
            toc.extend(sitemap_item(titles[c], c) for c in children)
            toc.append("</ul>")
    toc += ["</ul>", "</body></html>"]
    write(os.path.join(work, "vantix.hhc"), "\n".join(toc) + "\n")

    hhp = [
        "[OPTIONS]",
        "Compatibility=1.1 or later",
        "Compiled file=%s" % CHM_NAME,
        "Contents file=vantix.hhc",
        "Default topic=index.htm",
        "Display compile progress=No",
        "Language=0x409 English (United States)",
        "Title=%s" % TITLE,
        "",
        "[FILES]",
    ] + files + ["", "[ALIAS]"] + ["IDH_%d=%s" % (t, topics[t]) for t in sorted(topics)] + [
        "", "[MAP]", "#include vantix_help.h", "",
        "[TEXT POPUPS]", "vantix_help.h", "cshelp.txt", "",
    ]
    write(os.path.join(work, "vantix.hhp"), "\n".join(hhp))

    # chmcmd resolves the project's files against the current directory.
    result = subprocess.run([chmcmd, "vantix.hhp"], cwd=work, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, universal_newlines=True)
    built = os.path.join(work, CHM_NAME)
    if result.returncode != 0 or not os.path.exists(built) or "corrupt" in result.stdout:
        sys.stdout.write(result.stdout)
        raise SystemExit("make_help: chmcmd failed")
    chm_contexts.mend(built, work)
    shutil.copyfile(built, output)
    pages = [f for f in files if f.endswith(".htm")]
    print("make_help: %s with %d pages and %d topics" % (output, len(pages), len(topics)))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    build(sys.argv[1], sys.argv[2], sys.argv[3])
