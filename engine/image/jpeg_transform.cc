// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_transform.h"

// jpeglib.h expects the standard I/O declarations before it.
#include <cstdio>
//
#include <jpeglib.h>
#include <turbojpeg.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "base/handles.h"

namespace MediaEngine::detail {
namespace {

// One pass of libjpeg over a stream, from its coefficients to new ones. The
// library reports errors by calling error_exit, which must not return: it
// jumps back to the setjmp in recoded(). Everything the jump skips is plain C
// data held here.
struct Recoding {
  jpeg_error_mgr errors;
  std::jmp_buf failed;
  jpeg_decompress_struct in;
  jpeg_compress_struct out;
  unsigned char* buffer = nullptr;  // malloc'd by libjpeg's memory destination
  unsigned long size = 0;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<Recoding*>(info->err)->failed, 1);
}

void staySilent(j_common_ptr) {}

bool isSegment(const jpeg_saved_marker_ptr marker, int code, const char* name, size_t length) {
  return marker->marker == code && marker->data_length >= length &&
         std::memcmp(marker->data, name, length) == 0;
}

// `jpeg`'s coefficients written again, unchanged, with Huffman tables made for
// them (the transform writes the standard tables, which cost a baseline photo
// a tenth of its size), in its own mode and with its segments. Returns
// whether it worked; the result is in job.buffer, job.size.
bool recoded(Recoding& job, const unsigned char* jpeg, unsigned long size) {
  job.in.err = jpeg_std_error(&job.errors);
  job.out.err = &job.errors;
  job.errors.error_exit = jumpBack;
  job.errors.output_message = staySilent;
  if (setjmp(job.failed) != 0) {
    jpeg_destroy_compress(&job.out);
    jpeg_destroy_decompress(&job.in);
    return false;
  }
  jpeg_create_decompress(&job.in);
  jpeg_create_compress(&job.out);
  jpeg_mem_src(&job.in, jpeg, size);
  for (int app = 0; app < 16; ++app) jpeg_save_markers(&job.in, JPEG_APP0 + app, 0xFFFF);
  jpeg_save_markers(&job.in, JPEG_COM, 0xFFFF);
  jpeg_read_header(&job.in, TRUE);
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&job.in);
  jpeg_copy_critical_parameters(&job.in, &job.out);
  job.out.optimize_coding = TRUE;
  if (job.in.progressive_mode) jpeg_simple_progression(&job.out);
  jpeg_mem_dest(&job.out, &job.buffer, &job.size);
  jpeg_write_coefficients(&job.out, coefficients);
  for (jpeg_saved_marker_ptr marker = job.in.marker_list; marker; marker = marker->next) {
    // The library writes the JFIF and Adobe segments itself, from the source's.
    if (isSegment(marker, JPEG_APP0, "JFIF", 5) || isSegment(marker, JPEG_APP0 + 14, "Adobe", 5))
      continue;
    jpeg_write_marker(&job.out, static_cast<int>(marker->marker), marker->data,
                      marker->data_length);
  }
  jpeg_finish_compress(&job.out);
  jpeg_finish_decompress(&job.in);
  jpeg_destroy_compress(&job.out);
  jpeg_destroy_decompress(&job.in);
  return true;
}

}  // namespace

namespace {

// `jpeg` through tjTransform with `transform`, then coded again with
// Huffman tables of its own.
std::optional<std::vector<unsigned char>> transformed(std::span<const std::byte> jpeg,
                                                      tjtransform transform) {
  const Owned<void, tjDestroy> transformer(tjInitTransform());
  if (!transformer) return std::nullopt;
  unsigned char* result = nullptr;
  unsigned long resultSize = 0;
  const int status =
      tjTransform(transformer.get(), reinterpret_cast<const unsigned char*>(jpeg.data()),
                  jpeg.size(), 1, &result, &resultSize, &transform, TJFLAG_STOPONWARNING);
  const Owned<unsigned char, tjFree> owned(result);
  if (status != 0) return std::nullopt;

  Recoding job{};
  const bool done = recoded(job, result, resultSize);
  const Owned<unsigned char, std::free> recodedBuffer(job.buffer);
  if (!done) return std::nullopt;
  return std::vector<unsigned char>(job.buffer, job.buffer + job.size);
}

}  // namespace

std::optional<std::vector<unsigned char>> croppedLosslessly(std::span<const std::byte> jpeg, int x,
                                                            int y, int width, int height) {
  const Owned<void, tjDestroy> reader(tjInitDecompress());
  int storedWidth = 0, storedHeight = 0, subsampling = 0, colourspace = 0;
  if (!reader ||
      tjDecompressHeader3(reader.get(), reinterpret_cast<const unsigned char*>(jpeg.data()),
                          jpeg.size(), &storedWidth, &storedHeight, &subsampling,
                          &colourspace) != 0 ||
      subsampling < 0 || subsampling >= TJ_NUMSAMP) {
    return std::nullopt;
  }
  if (x < 0 || y < 0 || width < 1 || height < 1 || x % tjMCUWidth[subsampling] != 0 ||
      y % tjMCUHeight[subsampling] != 0 || x > storedWidth - width || y > storedHeight - height) {
    return std::nullopt;
  }
  tjtransform crop{};
  crop.op = TJXOP_NONE;
  crop.options = TJXOPT_CROP | TJXOPT_COPYNONE;
  crop.r = tjregion{x, y, width, height};
  return transformed(jpeg, crop);
}

std::optional<std::vector<unsigned char>> turnedUpright(std::span<const std::byte> jpeg,
                                                        int orientation) {
  // What each EXIF orientation asks for, to show the stored pixels upright.
  static constexpr TJXOP turns[] = {TJXOP_NONE,   TJXOP_NONE,       TJXOP_HFLIP,
                                    TJXOP_ROT180, TJXOP_VFLIP,      TJXOP_TRANSPOSE,
                                    TJXOP_ROT90,  TJXOP_TRANSVERSE, TJXOP_ROT270};
  if (orientation < 2 || orientation > 8) return std::nullopt;
  tjtransform turn{};
  turn.op = turns[orientation];
  turn.options = TJXOPT_PERFECT;
  return transformed(jpeg, turn);
}

}  // namespace MediaEngine::detail
