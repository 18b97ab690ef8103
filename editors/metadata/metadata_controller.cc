// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/metadata/metadata_controller.h"

#include <QFontDatabase>
#include <QStringList>

#include "chrome/accent.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "whirlpane/compression.h"

namespace Whirlpane {

MetadataController::MetadataController(const std::filesystem::path& file, const Entries& entries,
                                       std::optional<MediaEngine::FileStamp> opened)
    : EditorFrame(file,
                  //: The Metadata editor's window title: the file's facts (camera, dates, place).
                  tr("Metadata"),
                  //: The Metadata editor's Save button: save a copy without the metadata.
                  tr("Strip Metadata"), "metadata"),
      opened_(opened) {
  removeReset();
  auto* name = new EditorLabel(QRectF(20, 57, 380, 22), editorFont(12, QFont::Medium),
                               labelColor(1), surface());
  name->setText(QString::fromStdString(file.filename().string()));

  entries_ = new QTextEdit(surface());
  entries_->setGeometry(16, 91, 388, 438);
  entries_->setObjectName("editor.metadata.entries");
  //: The list of the file's metadata, named for screen readers.
  entries_->setAccessibleName(tr("Metadata entries"));
  entries_->setReadOnly(true);
  entries_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Read only: the keys select and scroll, and no caret suggests typing.
  entries_->setCursorWidth(0);
  entries_->setFrameShape(QFrame::NoFrame);
  entries_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  entries_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  entries_->viewport()->setAutoFillBackground(false);
  // A slim scroller without arrows, drawn on the surface like the other
  // controls rather than in the widget style's colours.
  entries_->setStyleSheet(
      "QTextEdit { background: transparent; border: 2px solid transparent; border-radius: 8px; }"
      "QTextEdit:focus { border-color: " +
      whirlAccent().name() +
      "; }"
      "QScrollBar:vertical { width: 10px; background: transparent; margin: 2px; }"
      "QScrollBar::handle:vertical { background: rgba(0, 0, 0, 46); border-radius: 3px;"
      " min-height: 24px; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");
  entries_->document()->setDocumentMargin(8);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  mono.setPixelSize(11);
  entries_->setFont(mono);
  QPalette palette = entries_->palette();
  palette.setColor(QPalette::Text, labelColor(1));
  entries_->setPalette(palette);
  entries_->setPlainText(metadataText(entries));

  auto* note = new EditorLabel(QRectF(24, 546, 372, 20), editorFont(10), hintColor(), surface(),
                               Qt::AlignLeft | Qt::AlignVCenter, 2);
  note->setText(tr("Save a new copy with metadata removed."));
}

void MetadataController::saveEditor() {
  performSave(
      [file = sourceFile(), opened = opened_] { return MediaEngine::stripMetadata(file, opened); });
}

QString metadataText(const MetadataController::Entries& entries) {
  if (entries.empty()) return MetadataController::tr("No metadata found.");
  QStringList parts;
  for (const auto& [key, value] : entries) {
    parts << QString::fromStdString(key) + "\n" + QString::fromStdString(value);
  }
  return parts.join("\n\n");
}

}  // namespace Whirlpane
