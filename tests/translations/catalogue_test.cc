// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped catalogues: each translates every text of the code, holds no
// text the code no longer has, and keeps every placeholder of its sources.
// "Current with the code" is asked of lupdate itself: a copy of each
// catalogue brought up to date from the code must come out with nothing new
// (unfinished) and nothing gone (vanished).
#include "tests/translations/catalogue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace Whirlpane::Catalogues {
namespace {

QString shipped(const QString& language) { return folder() + "/whirlpane_" + language + ".ts"; }

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Brings `catalogues` up to date with the code as the build's
// update_translations does, keeping what the code no longer has.
void updateFromCode(const QStringList& catalogues) {
  QProcess lupdate;
  lupdate.start(WHIRLPANE_LUPDATE,
                QStringList{"-silent", "-locations", "none", "-I", WHIRLPANE_SOURCE_DIR} +
                    translatedFolders() + QStringList{"-ts"} + catalogues);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
}

std::string lines(const QStringList& list) { return list.join('\n').toStdString(); }

TEST(Catalogues, EachShippedLanguageTranslatesEveryTextOfTheCodeAndNothingElse) {
  QStringList inFolder;
  for (const QString& name : QDir(folder()).entryList({"whirlpane_*.ts"}, QDir::Files)) {
    inFolder << name.mid(10, name.size() - 13);
  }
  QStringList built = languages();
  inFolder.sort();
  built.sort();
  EXPECT_EQ(inFolder.join(' ').toStdString(), built.join(' ').toStdString())
      << "a catalogue that the build does not compile, or a language without one";

  QTemporaryDir scratch;
  QStringList copies;
  for (const QString& language : languages()) {
    copies << scratch.filePath(QFileInfo(shipped(language)).fileName());
    ASSERT_TRUE(QFile::copy(shipped(language), copies.back()));
  }
  updateFromCode(copies);
  for (int i = 0; i < copies.size(); ++i) {
    SCOPED_TRACE(languages()[i].toStdString());
    const Catalogue current = read(copies[i]);
    EXPECT_GT(current.messages.size(), 100u) << "the catalogue was read";
    EXPECT_TRUE(faults(current).isEmpty()) << lines(faults(current));
    EXPECT_EQ(current.messages.size(), read(shipped(languages()[i])).messages.size());
  }
}

TEST(Catalogues, ATextNewToTheCodeOrGoneFromItIsFound) {
  QTemporaryDir scratch;
  const QString copy = scratch.filePath("whirlpane_de.ts");
  const QByteArray german = contents(shipped("de"));
  // The catalogue lacks a text of the code, and has one the code lacks.
  const QByteArray message = "<message>\n        <source>Show Wheel</source>";
  const int at = german.indexOf(message);
  ASSERT_GE(at, 0);
  const int end = german.indexOf("</message>", at) + int(sizeof("</message>") - 1);
  QByteArray changed = german;
  changed.replace(at, end - at,
                  "<message>\n        <source>Show the Old Wheel</source>\n"
                  "        <translation>Altes Rad anzeigen</translation>\n    </message>");
  ASSERT_TRUE(write(copy, changed));
  EXPECT_TRUE(faults(read(copy)).isEmpty()) << "a translated catalogue, as it stands";
  updateFromCode({copy});
  const QStringList found = faults(read(copy));
  EXPECT_TRUE(found.contains("Whirlpane::TrayApplication: \u201CShow Wheel\u201D is unfinished"))
      << lines(found);
  EXPECT_TRUE(
      found.contains("Whirlpane::TrayApplication: \u201CShow the Old Wheel\u201D is vanished"))
      << lines(found);
}

TEST(Catalogues, ATranslationThatDropsOrAddsAPlaceholderOrIsNotFinishedFails) {
  const QByteArray german = contents(shipped("de"));
  EXPECT_TRUE(faults(read(shipped("de"))).isEmpty()) << lines(faults(read(shipped("de"))));
  const struct {
    const char* find;
    const char* replace;
    const char* fault;
  } cases[] = {
      {"<translation>Umwandlung in %1</translation>",
       "<translation>Umwandlung in PNG</translation>", "\u201CConverting to %1\u201D drops %1"},
      {"<numerusform>%n Dateien</numerusform>", "<numerusform>viele Dateien</numerusform>",
       "\u201C%n files\u201D drops %n"},
      {"<translation>Whirlpane beenden</translation>",
       "<translation>Whirlpane %2 beenden</translation>", "\u201CQuit Whirlpane\u201D adds %2"},
      {"<translation>Rad anzeigen</translation>",
       "<translation type=\"unfinished\">Rad anzeigen</translation>",
       "\u201CShow Wheel\u201D is unfinished"},
      {"<translation>Rad anzeigen</translation>",
       "<translation type=\"obsolete\">Rad anzeigen</translation>",
       "\u201CShow Wheel\u201D is obsolete"},
      {"<translation>Rad anzeigen</translation>", "<translation></translation>",
       "\u201CShow Wheel\u201D has an empty translation"},
  };
  QTemporaryDir scratch;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replace);
    QByteArray changed = german;
    ASSERT_GE(changed.indexOf(c.find), 0);
    changed.replace(c.find, c.replace);
    const QString copy = scratch.filePath("whirlpane_de.ts");
    ASSERT_TRUE(write(copy, changed));
    const QStringList found = faults(read(copy));
    ASSERT_EQ(found.size(), 1) << lines(found);
    EXPECT_TRUE(found.front().endsWith(QString::fromUtf8(c.fault))) << lines(found);
  }
}

}  // namespace
}  // namespace Whirlpane::Catalogues
