#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The package's copyright file as Debian reads it: machine-readable (parsed by
python3-debian, strictly), GPL-3.0+ for every file not named otherwise, each
pattern matching a tracked file, each licence named in a Files paragraph given
its text and pointing at the copy in /usr/share/common-licenses, and the
AppStream metadata naming the same licences. Lintian checks these only in a
source package, which this project does not build.

Usage: copyright_test.py SOURCE_DIR"""
import fnmatch
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

from debian import copyright

source = sys.argv[1]
metainfo = "packaging/io.github.whirlpane.Whirlpane.metainfo.xml"
# The SPDX names AppStream uses for the short names Debian uses.
SPDX = {"GPL-3.0+": "GPL-3.0-or-later", "CC0-1.0": "CC0-1.0"}
failures = []


def fail(message):
    failures.append(message)


with open(os.path.join(source, "packaging/copyright"), encoding="utf-8") as file:
    text = file.read()
document = copyright.Copyright(text.splitlines(keepends=True), strict=True)
files = list(document.all_files_paragraphs())
tracked = subprocess.run(["git", "ls-files"], cwd=source, check=True, capture_output=True,
                         text=True).stdout.split()

# As written: the parser mends an old or insecure address without a word.
FORMAT = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
if text.splitlines()[0] != FORMAT:
    fail(f"the first line is not '{FORMAT}'")
if files[0].files != ("*",) or files[0].license.synopsis != "GPL-3.0+":
    fail(f"the first Files paragraph is {files[0].files} {files[0].license.synopsis}, "
         "not * GPL-3.0+")
for paragraph in files[1:]:
    for pattern in paragraph.files:
        if not fnmatch.filter(tracked, pattern):
            fail(f"Files: {pattern} matches no tracked file")

texts = {p.license.synopsis: p.license.text for p in document.all_license_paragraphs()}
used = {p.license.synopsis for p in files if not p.license.text}
for name in used - texts.keys():
    fail(f"{name} has no License paragraph")
for name in texts.keys() - used:
    fail(f"the License paragraph {name} is not used")
for name, body in texts.items():
    pointer = re.search(r'"(/usr/share/common-licenses/[^"]+)"', body)
    if not pointer or not os.path.isfile(pointer.group(1)):
        fail(f"{name} does not point at a licence in /usr/share/common-licenses")

component = ElementTree.parse(os.path.join(source, metainfo)).getroot()
for tag, path in [("project_license", "CMakeLists.txt"),
                  ("metadata_license", metainfo)]:
    stated = component.findtext(tag)
    expected = SPDX.get(document.find_files_paragraph(path).license.synopsis)
    if stated != expected:
        fail(f"{metainfo}: {tag} {stated}, the copyright file says {expected}")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
