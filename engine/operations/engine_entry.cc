// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/engine_entry.h"

#include "files/working_files.h"
#include "whirlpane/compression.h"
#include "whirlpane/failure.h"
#include "whirlpane/metadata.h"
#include "whirlpane/pipeline.h"
#include "whirlpane/startup.h"

extern "C" __attribute__((visibility("default"))) const WhirlpaneEngine* whirlpaneEngine() {
  static const WhirlpaneEngine table{
      WhirlpaneEngine::currentVersion, &MediaEngine::start,
      &MediaEngine::convert,           &MediaEngine::metadata,
      &MediaEngine::compress,          &MediaEngine::stripMetadata,
      &MediaEngine::describe,          &MediaEngine::usePDFPassword,
      &MediaEngine::needsPDFPassword,  &MediaEngine::WorkingFiles::removeAll,
  };
  return &table;
}
