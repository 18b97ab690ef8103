// MediaEngine: stateless operations that read, convert and write files. Include
// this header for the whole engine.
#pragma once

#include "engine/bytes.h"
#include "engine/file_error.h"
#include "engine/formats.h"
#include "engine/image_codec.h"
#include "engine/output_placement.h"
#include "engine/pipeline.h"
#include "engine/working_files.h"
