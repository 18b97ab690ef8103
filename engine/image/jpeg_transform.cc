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

std::optional<std::vector<unsigned char>> turnedUpright(std::span<const std::byte> jpeg,
                                                        int orientation) {
  // What each EXIF orientation asks for, to show the stored pixels upright.
  static constexpr TJXOP turns[] = {TJXOP_NONE,   TJXOP_NONE,       TJXOP_HFLIP,
                                    TJXOP_ROT180, TJXOP_VFLIP,      TJXOP_TRANSPOSE,
                                    TJXOP_ROT90,  TJXOP_TRANSVERSE, TJXOP_ROT270};
  if (orientation < 2 || orientation > 8) return std::nullopt;
  const Owned<void, tjDestroy> transformer(tjInitTransform());
  if (!transformer) return std::nullopt;
  tjtransform turn{};
  turn.op = turns[orientation];
  turn.options = TJXOPT_PERFECT;
  unsigned char* turned = nullptr;
  unsigned long turnedSize = 0;
  const int status =
      tjTransform(transformer.get(), reinterpret_cast<const unsigned char*>(jpeg.data()),
                  jpeg.size(), 1, &turned, &turnedSize, &turn, TJFLAG_STOPONWARNING);
  const Owned<unsigned char, tjFree> owned(turned);
  if (status != 0) return std::nullopt;

  Recoding job{};
  const bool done = recoded(job, turned, turnedSize);
  const Owned<unsigned char, std::free> result(job.buffer);
  if (!done) return std::nullopt;
  return std::vector<unsigned char>(job.buffer, job.buffer + job.size);
}

}  // namespace MediaEngine::detail
