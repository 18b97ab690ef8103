#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the catalogue of the engine's and the command line's texts.

    catalogue_check.py FRESH_POT [FOLDER]

FRESH_POT is the template the build reads from the sources
(build/translations/whirlpane.pot); FOLDER holds whirlpane.pot and one
<language>.po per shipped language (default: this script's folder).

The template must hold exactly the texts the sources hold. Every language must
translate each of these texts (not fuzzy, no form empty) and nothing else; keep every
placeholder (%1$s, ...) and invent none; keep every option (--convert, ...) as
it is; pass msgfmt's own checks; and follow its typographic conventions
(LANGUAGES below). Prints one line per problem and exits 1 when there is any.
"""
import pathlib
import re
import subprocess
import sys

NBSP = "\u00a0"
NNBSP = "\u202f"

# Each shipped language's quotation marks, and its punctuation rules: French
# sets a no-break space before : ; ! ? and inside « », Chinese and Japanese
# write their punctuation full width.
LANGUAGES = {
    "de": {"quotes": ("„", "“")},
    "fr": {"quotes": ("«", "»"), "french_spacing": True},
    "es": {"quotes": ("«", "»")},
    "pt_BR": {"quotes": ("“", "”")},
    "zh_CN": {"quotes": ("“", "”"), "full_width": True},
    "ja": {"quotes": ("「", "」"), "full_width": True},
}

PLACEHOLDER = re.compile(r"%(\d+)\$s")
OPTION = re.compile(r"(?<![\w-])--[a-z][a-z-]*")
IDEOGRAPHIC = re.compile(r"[\u3040-\u30ff\u3400-\u4dbf\u4e00-\u9fff]")
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\"}


class Entry:
    def __init__(self):
        self.msgid = None
        self.plural = None
        self.forms = {}  # msgstr index -> text
        self.flags = set()
        self.obsolete = False


def unquote(line, path, number):
    match = re.fullmatch(r'"((?:[^"\\]|\\.)*)"', line.strip())
    if not match:
        raise ValueError(f"{path}:{number}: not a quoted string: {line.strip()}")
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), "\\" + m.group(1)), match.group(1))


def read_catalogue(path):
    """The entries of a .po or .pot file, the header left out."""
    entries, entry, field = [], Entry(), None

    def finish():
        nonlocal entry
        if entry.msgid is not None:
            entries.append(entry)
        entry = Entry()

    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw
        if line.startswith(("#|", "#~|")):
            continue  # a fuzzy entry's previous text
        if line.startswith("#~"):
            line = line[2:].lstrip()
            if line.startswith("msgid "):
                finish()
            entry.obsolete = True
        if not line.strip():
            finish()
            field = None
            continue
        if line.startswith("#,"):
            entry.flags.update(flag.strip() for flag in line[2:].split(","))
            continue
        if line.startswith("#"):
            continue
        keyword, _, rest = line.partition(" ")
        if line.startswith('"'):
            text = unquote(line, path, number)
        else:
            text = unquote(rest, path, number)
            if keyword == "msgid":
                if entry.msgid is not None:
                    finish()
                field = ("msgid", None)
                entry.msgid = ""
            elif keyword == "msgid_plural":
                field = ("plural", None)
                entry.plural = ""
            elif keyword == "msgstr":
                field = ("form", 0)
                entry.forms[0] = ""
            elif re.fullmatch(r"msgstr\[\d+\]", keyword):
                field = ("form", int(keyword[7:-1]))
                entry.forms[field[1]] = ""
            else:
                raise ValueError(f"{path}:{number}: unknown line: {line}")
        if field is None:
            raise ValueError(f"{path}:{number}: text outside an entry")
        if field[0] == "msgid":
            entry.msgid += text
        elif field[0] == "plural":
            entry.plural += text
        else:
            entry.forms[field[1]] += text
    finish()
    return [e for e in entries if e.msgid != ""]


def keys(entries):
    return {(e.msgid, e.plural) for e in entries if not e.obsolete}


def shown(key):
    text = key[0] if len(key[0]) <= 60 else key[0][:57] + "..."
    return '"' + text.replace("\n", "\\n") + '"'


def typography_problems(language, english, text):
    rules = LANGUAGES[language]
    problems = []
    if '"' in text:
        problems.append("ASCII quotation marks; this language writes %s…%s" % rules["quotes"])
    elif '"' in english and rules["quotes"][0] not in text:
        problems.append("the quotation marks are not %s…%s" % rules["quotes"])
    if "..." in text:
        problems.append('"..." where an ellipsis "…" belongs')
    if rules.get("french_spacing"):
        if re.search("«(?![%s])|(?<![%s])»" % (NNBSP, NNBSP), text):
            problems.append("« » without a narrow no-break space inside")
        if re.search("(?<![%s%s])[:;!?](?=\\s|$)" % (NBSP, NNBSP), text):
            problems.append("no no-break space before : ; ! or ?")
    if rules.get("full_width"):
        ascii_marks = "[,.:;!?()]"
        if re.search(IDEOGRAPHIC.pattern + ascii_marks + "|" + ascii_marks + IDEOGRAPHIC.pattern,
                     text):
            problems.append("ASCII punctuation beside ideographic text; use full-width marks")
    return problems


def entry_problems(language, entry):
    english = entry.msgid + (entry.plural or "")
    placeholders = set(PLACEHOLDER.findall(english))
    options = set(OPTION.findall(english))
    problems = []
    if "fuzzy" in entry.flags:
        problems.append("marked fuzzy")
    if not entry.forms or any(not text for text in entry.forms.values()):
        problems.append("untranslated")
        return problems
    for text in entry.forms.values():
        kept = set(PLACEHOLDER.findall(text))
        for lost in sorted(placeholders - kept):
            problems.append(f"placeholder %{lost}$s lost")
        for invented in sorted(kept - placeholders):
            problems.append(f"placeholder %{invented}$s invented")
        if "%" in PLACEHOLDER.sub("", text):
            problems.append("a % that is no placeholder")
        for option in sorted(options - set(OPTION.findall(text))):
            problems.append(f"option {option} not kept")
        problems += typography_problems(language, english, text)
    return problems


def msgfmt_problems(path):
    result = subprocess.run(["msgfmt", "--check", "--output-file=/dev/null", str(path)],
                            capture_output=True, text=True)
    if result.returncode == 0:
        return []
    return [f"{path.name}: {line}" for line in result.stderr.splitlines() if line.strip()]


def problems(fresh_pot, folder):
    """Every problem of the catalogue in `folder`, given the template the sources make."""
    found = []
    template = keys(read_catalogue(folder / "whirlpane.pot"))
    sources = keys(read_catalogue(fresh_pot))
    for key in sorted(sources - template):
        found.append(f"whirlpane.pot: {shown(key)} is in the sources but not in the template "
                     "(cmake --build build --target update-catalogue)")
    for key in sorted(template - sources):
        found.append(f"whirlpane.pot: {shown(key)} is no longer in the sources "
                     "(cmake --build build --target update-catalogue)")
    catalogues = sorted(folder.glob("*.po"))
    if not catalogues:
        found.append(f"{folder}: no language's catalogue")
    for path in catalogues:
        language = path.stem
        if language not in LANGUAGES:
            found.append(f"{path.name}: no typographic conventions known for {language}; "
                         "add them to LANGUAGES in catalogue_check.py")
            continue
        entries = read_catalogue(path)
        translated = {(e.msgid, e.plural): e for e in entries if not e.obsolete}
        for key in sorted(sources - translated.keys()):
            found.append(f"{path.name}: {shown(key)} missing")
        for entry in entries:
            key = (entry.msgid, entry.plural)
            if entry.obsolete or key not in sources:
                found.append(f"{path.name}: {shown(key)} stale: no longer in the sources")
                continue
            found += [f"{path.name}: {shown(key)} {p}" for p in entry_problems(language, entry)]
        found += msgfmt_problems(path)
    return found


def main(arguments):
    if len(arguments) not in (1, 2):
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    folder = pathlib.Path(arguments[1]) if len(arguments) == 2 else pathlib.Path(__file__).parent
    found = problems(pathlib.Path(arguments[0]), folder)
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
