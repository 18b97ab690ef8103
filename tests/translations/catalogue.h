// SPDX-License-Identifier: GPL-3.0-or-later
// The translation tests' reading of a Qt catalogue (.ts): its messages with
// their state, and what is wrong with a catalogue that is to be shipped.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace Whirlpane::Catalogues {

struct Message {
  QString context;
  QString source;
  QString comment;       // the disambiguation, if any
  QString state;         // "unfinished", "vanished", "obsolete", or empty when finished
  bool numerus = false;  // one translation per plural form
  QStringList translations;
};

struct Catalogue {
  QString language;
  std::vector<Message> messages;
};

// The catalogue in the .ts file at `path`; no messages when it cannot be read.
Catalogue read(const QString& path);

// What keeps `catalogue` from shipping, one line per fault: a message not
// translated or empty, no longer in the code (vanished, obsolete), or whose
// translation drops a placeholder of its source (%1 ... %99, %n) or brings
// one the source lacks.
QStringList faults(const Catalogue& catalogue);

// The folder of the catalogues, the shipped languages, and the files of the
// folders whose texts they translate, as the build names them.
QString folder();
QStringList languages();
QStringList translatedFolders();

}  // namespace Whirlpane::Catalogues
