// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/translations/catalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

namespace Whirlpane::Catalogues {
namespace {

// The placeholders QString::arg() and tr()'s plural count fill in.
QSet<QString> placeholders(const QString& text) {
  static const QRegularExpression pattern("%L?(\\d{1,2}|n)");
  QSet<QString> found;
  for (const QRegularExpressionMatch& match : pattern.globalMatch(text)) {
    found.insert("%" + match.captured(1));
  }
  return found;
}

QStringList split(const char* list) {
  return QString::fromUtf8(list).split(',', Qt::SkipEmptyParts);
}

}  // namespace

Catalogue read(const QString& path) {
  Catalogue catalogue;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return catalogue;
  QXmlStreamReader xml(&file);
  QString context;
  Message message;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
      catalogue.messages.push_back(message);
    }
    if (!xml.isStartElement()) continue;
    const QString name = xml.name().toString();
    const QXmlStreamAttributes attributes = xml.attributes();
    if (name == "TS") {
      catalogue.language = attributes.value("language").toString();
    } else if (name == "name") {
      context = xml.readElementText();
    } else if (name == "message") {
      message =
          Message{context, {}, {}, {}, attributes.value("numerus") == QLatin1String("yes"), {}};
    } else if (name == "source") {
      message.source = xml.readElementText();
    } else if (name == "comment") {
      message.comment = xml.readElementText();
    } else if (name == "translation") {
      message.state = attributes.value("type").toString();
      if (!message.numerus) message.translations << xml.readElementText();
    } else if (name == "numerusform") {
      message.translations << xml.readElementText();
    }
  }
  return catalogue;
}

QStringList faults(const Catalogue& catalogue) {
  QStringList found;
  for (const Message& message : catalogue.messages) {
    const QString where = message.context + ": \u201C" + message.source + "\u201D";
    if (!message.state.isEmpty()) found << where + " is " + message.state;
    if (message.translations.isEmpty()) found << where + " has no translation";
    const QSet<QString> wanted = placeholders(message.source);
    for (const QString& translation : message.translations) {
      if (translation.isEmpty()) {
        found << where + " has an empty translation";
        continue;
      }
      const QSet<QString> given = placeholders(translation);
      for (const QString& lost : wanted - given) found << where + " drops " + lost;
      for (const QString& extra : given - wanted) found << where + " adds " + extra;
    }
  }
  return found;
}

QString folder() { return QString::fromUtf8(WHIRLPANE_SOURCE_DIR "/translations"); }

QStringList languages() { return split(WHIRLPANE_LANGUAGES); }

QStringList translatedFolders() { return split(WHIRLPANE_TRANSLATED_FOLDERS); }

}  // namespace Whirlpane::Catalogues
