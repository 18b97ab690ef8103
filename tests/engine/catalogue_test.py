#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The translation catalogue's check, on the shipped catalogue and on copies of
it with one fault each: the shipped one passes, and every fault is reported
for what it is.

    catalogue_test.py FRESH_POT TRANSLATIONS_FOLDER"""
import pathlib
import shutil
import sys
import tempfile
import unittest

FRESH_POT, FOLDER = map(pathlib.Path, sys.argv[1:3])
sys.path.insert(0, str(FOLDER))
import catalogue_check  # noqa: E402

NNBSP = "\u202f"
NBSP = "\u00a0"
NEW_TEXT = '\n#, c-format\nmsgid "A text the sources lost"\nmsgstr "Ein Text"\n'

# (what is wrong, file, text replaced, replacement, the problem reported).
# Each replacement is made exactly once.
FAULTS = [
    ("a translation drops a placeholder", "de.po",
     'msgstr "„%1$s“ konnte nicht geöffnet werden: %2$s"',
     'msgstr "„%1$s“ konnte nicht geöffnet werden"', "placeholder %2$s lost"),
    ("a translation invents a placeholder", "es.po",
     'msgstr "No se pudo abrir «%1$s»: %2$s"',
     'msgstr "No se pudo abrir «%1$s» en %3$s: %2$s"', "placeholder %3$s invented"),
    ("a translation holds a stray %", "pt_BR.po",
     'msgstr "Formatos de saída:"', 'msgstr "Formatos de saída (100%):"',
     "a % that is no placeholder"),
    ("a translation is left empty", "ja.po",
     'msgstr "出力形式："', 'msgstr ""', "untranslated"),
    ("a translation is fuzzy", "zh_CN.po",
     '#, c-format\nmsgid "Output formats:"', '#, fuzzy, c-format\nmsgid "Output formats:"',
     "marked fuzzy"),
    ("a text has no translation", "de.po",
     '#, c-format\nmsgid "Output formats:"\nmsgstr "Ausgabeformate:"\n', "",
     '"Output formats:" missing'),
    ("a translation has no text left in the sources", "de.po",
     'msgstr "Ausgabeformate:"\n', 'msgstr "Ausgabeformate:"\n' + NEW_TEXT,
     '"A text the sources lost" stale'),
    ("an obsolete translation is kept", "de.po",
     'msgstr "Ausgabeformate:"\n',
     'msgstr "Ausgabeformate:"\n\n#~ msgid "Old formats:"\n#~ msgstr "Alte Formate:"\n',
     '"Old formats:" stale'),
    ("an option is translated", "de.po",
     'msgstr "Aufruf: whirlpane --strip /path/to/file"',
     'msgstr "Aufruf: whirlpane --entfernen /path/to/file"', "option --strip not kept"),
    ("German with ASCII quotation marks", "de.po",
     'msgstr "%1$s: „%2$s“"', 'msgstr "%1$s: \\"%2$s\\""', "ASCII quotation marks"),
    ("Spanish with another language's quotation marks", "es.po",
     'msgstr "%1$s: «%2$s»"', 'msgstr "%1$s: “%2$s”"', "quotation marks are not «…»"),
    ("French guillemets without their spaces", "fr.po",
     f'msgstr "Impossible d’ouvrir «{NNBSP}%1$s{NNBSP}»{NBSP}: %2$s"',
     f'msgstr "Impossible d’ouvrir «%1$s»{NBSP}: %2$s"', "without a narrow no-break space"),
    ("French with an ordinary space before a colon", "fr.po",
     f'msgstr "Formats de sortie{NBSP}:"', 'msgstr "Formats de sortie :"',
     "no no-break space before"),
    ("Japanese with ASCII punctuation", "ja.po",
     'msgstr "%1$s は対応している出力形式ではありません。"',
     'msgstr "%1$s は対応している出力形式ではありません."', "full-width"),
    ("three dots for an ellipsis", "pt_BR.po",
     'msgstr "Formatos de saída:"', 'msgstr "Formatos de saída..."', "ellipsis"),
    ("the template lacks a text of the sources", "whirlpane.pot",
     '#, c-format\nmsgid "Output formats:"\nmsgstr ""\n', "",
     '"Output formats:" is in the sources but not in the template'),
    ("the template holds a text the sources lost", "whirlpane.pot",
     'msgid "Output formats:"\nmsgstr ""\n',
     'msgid "Output formats:"\nmsgstr ""\n' + NEW_TEXT.replace('"Ein Text"', '""'),
     '"A text the sources lost" is no longer in the sources'),
]


class CatalogueCheck(unittest.TestCase):
    def setUp(self):
        self.scratch = pathlib.Path(tempfile.mkdtemp(prefix="whirlpane-catalogue-"))
        self.addCleanup(shutil.rmtree, self.scratch)
        self.folder = self.scratch / "translations"
        self.folder.mkdir()
        for name in ["whirlpane.pot", *(p.name for p in FOLDER.glob("*.po"))]:
            shutil.copy(FOLDER / name, self.folder / name)

    def test_the_shipped_catalogue_passes(self):
        self.assertEqual(catalogue_check.problems(FRESH_POT, self.folder), [])
        self.assertEqual({p.stem for p in self.folder.glob("*.po")},
                         {"de", "fr", "es", "pt_BR", "zh_CN", "ja"})

    def test_each_fault_is_reported_for_what_it_is(self):
        for fault, name, old, new, reported in FAULTS:
            with self.subTest(fault):
                self.setUp()
                path = self.folder / name
                text = path.read_text(encoding="utf-8")
                self.assertEqual(text.count(old), 1, f"{name} no longer holds {old!r}")
                path.write_text(text.replace(old, new), encoding="utf-8")
                found = catalogue_check.problems(FRESH_POT, self.folder)
                self.assertTrue(any(reported in line for line in found),
                                f"{reported!r} not among {found}")
                self.assertTrue(all(line.startswith(name) for line in found), found)

    def test_a_language_without_known_conventions_is_refused(self):
        shutil.copy(self.folder / "de.po", self.folder / "nl.po")
        self.assertEqual(catalogue_check.problems(FRESH_POT, self.folder),
                         ["nl.po: no typographic conventions known for nl; "
                          "add them to LANGUAGES in catalogue_check.py"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
