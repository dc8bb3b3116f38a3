#!/usr/bin/env python3
"""Checks Keyvane's help: the compiled Keyvane.chm and the sources it was built from.

  check_help.py BUILT_CHM [SOURCE_DIR]      (SOURCE_DIR defaults to assets/help)

- The pages that Keyvane opens by name (Topic1.htm, Topic5.htm, Topic7.htm), the other pages
  the help must have, every file of the project's [FILES] list, the contents tree and the
  index are all stored in the .chm, each with the size of its source (a stale or truncated
  build fails here).
- Every link in the pages, the contents tree and the index points to a page that exists and
  is compiled in, and every #fragment names an anchor of that page.
- Every page can be reached from the contents tree and has a title.
Prints one line per problem and exits non-zero when there is any.
"""
import os
import re
import sys
from html.parser import HTMLParser

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chm_list import chm_entries  # noqa: E402

# Keyvane's Help button opens these three by name; the other pages are the help's chapters.
PAGES_OPENED_BY_KEYVANE = ["Topic1.htm", "Topic5.htm", "Topic7.htm"]
REQUIRED_PAGES = PAGES_OPENED_BY_KEYVANE + [
    "keys.htm", "tray.htm", "onoff.htm", "startup.htm", "files.htm", "trouble.htm"]
PROJECT = "Keyvane.hhp"


class PageScan(HTMLParser):
    """Collects link targets, anchors, sitemap "Local" values and the title of one file."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links, self.anchors, self.locals = [], set(), []
        self.title, self._in_title = "", False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for key in ("href", "src"):
            if a.get(key):
                self.links.append(a[key])
        for key in ("id", "name"):
            if a.get(key) and tag != "param":
                self.anchors.add(a[key])
        if tag == "param" and (a.get("name") or "").lower() == "local":
            self.locals.append(a.get("value") or "")
        if tag == "title":
            self._in_title = True

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def scan(path):
    p = PageScan()
    with open(path, encoding="utf-8") as f:
        p.feed(f.read())
    return p


def project_options_and_files(path):
    options, files, section = {}, [], None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
            elif section == "OPTIONS" and "=" in line:
                key, value = line.split("=", 1)
                options[key.strip().lower()] = value.strip()
            elif section == "FILES":
                files.append(line.replace("\\", "/"))
    return options, files


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    chm = argv[1]
    src = argv[2] if len(argv) > 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "help")
    problems = []
    options, files = project_options_and_files(os.path.join(src, PROJECT))
    contents, index = options.get("contents file", ""), options.get("index file", "")
    if not contents or not index:
        problems.append(f"{PROJECT}: needs both a Contents file and an Index file")

    # What the compiled file must hold, each at its source's size.
    try:
        stored = chm_entries(chm)
    except (OSError, ValueError) as e:
        print(f"cannot read {chm}: {e}")
        return 1
    wanted = dict.fromkeys(REQUIRED_PAGES + files + [contents, index])
    for name in wanted:
        if not name:
            continue
        source = os.path.join(src, name)
        if name not in files and name in REQUIRED_PAGES:
            problems.append(f"{PROJECT}: {name} is not in [FILES]")
        if "/" + name not in stored:
            problems.append(f"{chm}: /{name} is missing")
        elif os.path.exists(source) and stored["/" + name][1] != os.path.getsize(source):
            problems.append(f"{chm}: /{name} holds {stored['/' + name][1]} bytes, "
                            f"its source {os.path.getsize(source)}")

    # Links between the sources.
    sources = sorted(set(files + [contents, index]) - {""})
    scans = {n: scan(os.path.join(src, n)) for n in sources
             if n.endswith((".htm", ".html", ".hhc", ".hhk")) and os.path.exists(os.path.join(src, n))}
    for name in sources:
        if not os.path.exists(os.path.join(src, name)):
            problems.append(f"{PROJECT}: lists {name}, which does not exist")
    for name, page in scans.items():
        for link in page.links + page.locals:
            if re.match(r"^[a-z][a-z0-9+.-]*:", link, re.I):  # http:, mailto:, ms-its: ...
                continue
            target, _, fragment = link.partition("#")
            target = target or name
            if target not in files:
                problems.append(f"{name}: link to {link}: {target} is not a compiled page")
            elif fragment and target in scans and fragment not in scans[target].anchors:
                problems.append(f"{name}: link to {link}: {target} has no anchor '{fragment}'")

    in_tree = {loc.partition("#")[0] for loc in scans[contents].locals} if contents in scans else set()
    for name in files:
        if name.endswith((".htm", ".html")):
            if name not in in_tree:
                problems.append(f"{contents}: {name} is not in the contents tree")
            if name in scans and not scans[name].title.strip():
                problems.append(f"{name}: has no title")
    on_disk = {n for n in os.listdir(src) if n.endswith((".htm", ".html"))}
    for name in sorted(on_disk - set(files)):
        problems.append(f"{name}: not listed in {PROJECT} [FILES]")

    for p in problems:
        print(p)
    pages = [n for n in files if n.endswith((".htm", ".html"))]
    print(f"help: {len(pages)} pages, {len(stored)} stored entries, "
          f"{os.path.getsize(chm)} bytes, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
