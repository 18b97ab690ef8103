#include "engine/engine_entry.h"

#include "engine/compression.h"
#include "engine/file_error.h"
#include "whirlpane/metadata.h"
#include "engine/pipeline.h"
#include "engine/working_files.h"

extern "C" __attribute__((visibility("default"))) const WhirlpaneEngine* whirlpaneEngine() {
  static const WhirlpaneEngine table{
      WhirlpaneEngine::currentVersion,
      &MediaEngine::convert,
      &MediaEngine::metadata,
      &MediaEngine::compress,
      &MediaEngine::stripMetadata,
      &MediaEngine::describe,
      &MediaEngine::WorkingFiles::removeAll,
  };
  return &table;
}
