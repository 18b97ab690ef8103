// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <future>
#include <new>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "base/file_io.h"

namespace MediaEngine::detail {
namespace {

using vips::VImage;
using Row = std::vector<uint8_t>;

constexpr size_t pieceBytes = size_t{1} << 20;  // filtered bytes per deflated piece
constexpr size_t windowBytes = size_t{1} << 15;

void putBigEndian(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

// The file as it grows: in memory from malloc, so that Bytes adopts it whole,
// or written to a file a megabyte at a time.
class Output {
 public:
  Output() = default;
  Output(int fd, const std::filesystem::path& path) : fd_(fd), path_(&path) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output() { std::free(data_); }

  void chunk(const char (&type)[5], const uint8_t* body, size_t size) {
    std::array<uint8_t, 8> head{};
    putBigEndian(head.data(), static_cast<uint32_t>(size));
    std::memcpy(head.data() + 4, type, 4);
    append(head.data(), head.size());
    append(body, size);
    uLong crc = crc32_z(0, head.data() + 4, 4);
    if (size > 0) crc = crc32_z(crc, body, size);  // a null body would restart the sum
    std::array<uint8_t, 4> tail{};
    putBigEndian(tail.data(), static_cast<uint32_t>(crc));
    append(tail.data(), tail.size());
  }
  void append(const uint8_t* bytes, size_t count) {
    if (count == 0) return;
    if (writesFile() && size_ + count > writtenBytes) {
      flush();
      if (count >= writtenBytes) return writeOut(bytes, count);
    }
    if (size_ + count > capacity_) {
      const size_t capacity = std::max({capacity_ * 2, size_ + count, size_t{1} << 16});
      void* grown = std::realloc(data_, capacity);
      if (!grown) throw std::bad_alloc();
      data_ = static_cast<uint8_t*>(grown);
      capacity_ = capacity;
    }
    std::memcpy(data_ + size_, bytes, count);
    size_ += count;
  }
  bool writesFile() const { return fd_ >= 0; }
  // Writes out what is held, for a file; throws FileError.
  void flush() {
    if (!writesFile()) return;
    writeOut(data_, size_);
    size_ = 0;
  }
  Bytes release() {
    Bytes bytes = Bytes::adopt(data_, size_, std::free);
    data_ = nullptr;
    size_ = capacity_ = 0;
    return bytes;
  }

 private:
  static constexpr size_t writtenBytes = size_t{1} << 20;

  void writeOut(const uint8_t* bytes, size_t count) {
    if (count > 0) writeAll(fd_, std::as_bytes(std::span(bytes, count)), *path_);
  }

  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  const int fd_ = -1;
  const std::filesystem::path* path_ = nullptr;
};

uint8_t paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Row filters; out[0] is the filter type, out[1..n] the filtered bytes.
void filterRow(int type, const uint8_t* row, const uint8_t* prior, size_t n, size_t bpp,
               uint8_t* out) {
  out[0] = static_cast<uint8_t>(type);
  uint8_t* f = out + 1;
  switch (type) {
    case 0:
      std::memcpy(f, row, n);
      break;
    case 1:
      for (size_t i = 0; i < bpp; ++i) f[i] = row[i];
      for (size_t i = bpp; i < n; ++i) f[i] = static_cast<uint8_t>(row[i] - row[i - bpp]);
      break;
    case 2:
      for (size_t i = 0; i < n; ++i) f[i] = static_cast<uint8_t>(row[i] - prior[i]);
      break;
    case 3:
      for (size_t i = 0; i < bpp; ++i) f[i] = static_cast<uint8_t>(row[i] - (prior[i] >> 1));
      for (size_t i = bpp; i < n; ++i)
        f[i] = static_cast<uint8_t>(row[i] - ((row[i - bpp] + prior[i]) >> 1));
      break;
    default:
      for (size_t i = 0; i < bpp; ++i) f[i] = static_cast<uint8_t>(row[i] - prior[i]);
      for (size_t i = bpp; i < n; ++i)
        f[i] = static_cast<uint8_t>(row[i] - paeth(row[i - bpp], prior[i], prior[i - bpp]));
      break;
  }
}

// The least sum of the filtered bytes read as signed, libpng's own choice.
uint64_t signedSum(const uint8_t* filtered, size_t n) {
  uint64_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += filtered[i] < 128 ? filtered[i] : 256 - filtered[i];
  return sum;
}

struct Piece {
  Row deflated;
  uLong adler = 1;
  size_t length = 0;
};

// Raw deflate of `data`, primed with `dictionary` (what precedes it in the
// stream) and ended by a sync flush, so that pieces made apart join into one
// stream.
Piece deflatePiece(const Row& data, const Row& dictionary, int level, int strategy) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) throw std::bad_alloc();
  if (!dictionary.empty())
    deflateSetDictionary(&z, dictionary.data(), static_cast<uInt>(dictionary.size()));
  Piece piece;
  piece.length = data.size();
  piece.adler = adler32_z(1, data.data(), data.size());
  piece.deflated.resize(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  size_t written = 0;
  do {
    if (written == piece.deflated.size()) piece.deflated.resize(piece.deflated.size() * 2);
    z.next_out = piece.deflated.data() + written;
    z.avail_out = static_cast<uInt>(piece.deflated.size() - written);
    deflate(&z, Z_SYNC_FLUSH);
    written = piece.deflated.size() - z.avail_out;
  } while (z.avail_out == 0);
  deflateEnd(&z);
  piece.deflated.resize(written);
  return piece;
}

// How rows of one picture are filtered.
struct RowShape {
  size_t bytes;  // per row, without the filter type
  size_t bpp;    // bytes per pixel
  PngRowFilter filter;
};

struct FilteredRows {
  Row bytes;
  // With adaptive filters, the chosen filters' sums of the bytes read as
  // signed: how far the rows are from what the filters predict.
  uint64_t residual = 0;
};

// `raw`, whole rows, filtered; `prior` is the row above the first.
FilteredRows filterRows(const Row& raw, const Row& prior, const RowShape& shape) {
  const size_t n = shape.bytes;
  const size_t rows = raw.size() / n;
  FilteredRows filtered{Row(rows * (n + 1))};
  std::array<Row, 5> candidates;
  if (shape.filter == PngRowFilter::adaptive)
    for (Row& candidate : candidates) candidate.resize(n + 1);
  for (size_t y = 0; y < rows; ++y) {
    const uint8_t* row = raw.data() + y * n;
    const uint8_t* above = y == 0 ? prior.data() : row - n;
    uint8_t* out = filtered.bytes.data() + y * (n + 1);
    if (shape.filter == PngRowFilter::none) {
      filterRow(0, row, above, n, shape.bpp, out);
      continue;
    }
    int best = 0;
    uint64_t bestSum = UINT64_MAX;
    for (int type = 0; type < 5; ++type) {
      filterRow(type, row, above, n, shape.bpp, candidates[type].data());
      const uint64_t sum = signedSum(candidates[type].data() + 1, n);
      if (sum < bestSum) bestSum = sum, best = type;
    }
    std::memcpy(out, candidates[best].data(), n + 1);
    filtered.residual += bestSum;
  }
  return filtered;
}

// The zlib level for a piece of filtered rows. Where the filters leave much
// behind (grain and noise: on average 6 or more per byte), the repeats that
// the slower levels search for hardly exist, and level 1 comes within 1 % of
// level 5's size at a third of its time; between 3.5 and 6, level 3 comes
// within 1.5 %. Smooth pictures keep the level asked for: there level 1 is
// 10 to 30 % larger. (Measured piece by piece on camera photographs.)
int pieceLevel(int level, const FilteredRows& rows, PngRowFilter filter) {
  if (filter != PngRowFilter::adaptive || rows.bytes.empty()) return level;
  const double perByte =
      static_cast<double>(rows.residual) / static_cast<double>(rows.bytes.size());
  if (perByte >= 6) return std::min(level, 1);
  if (perByte >= 3.5) return std::min(level, 3);
  return level;
}

// Gathers rows as they come and hands them over a piece at a time to threads
// that filter and deflate them, writing each piece as an IDAT chunk in order.
// A piece's dictionary is the filtered end of the piece before it, which that
// piece's thread hands on as soon as it has filtered, before it deflates.
class RowDeflater {
 public:
  RowDeflater(size_t rowBytes, size_t bpp, const PngOptions& options, Output& out)
      : shape_{rowBytes, bpp, options.filter},
        level_(std::clamp(options.level, 1, 9)),
        out_(out),
        prior_(rowBytes, 0),
        inFlight_(2 * std::max(2u, std::thread::hardware_concurrency())) {
    // The zlib header: deflate with a 32 KiB window, and the level's class.
    const int levelClass = level_ == 1 ? 0 : level_ < 6 ? 1 : level_ == 6 ? 2 : 3;
    uint8_t header[2] = {0x78, static_cast<uint8_t>(levelClass << 6)};
    header[1] = static_cast<uint8_t>(header[1] + 31 - (0x7800 + header[1]) % 31);
    out_.chunk("IDAT", header, sizeof header);
  }
  RowDeflater(const RowDeflater&) = delete;
  RowDeflater& operator=(const RowDeflater&) = delete;

  void add(const uint8_t* row) {
    raw_.insert(raw_.end(), row, row + shape_.bytes);
    if (raw_.size() >= pieceBytes) submit();
  }

  // Ends the stream: the last piece, an empty final block and the checksum.
  void finish() {
    if (!raw_.empty()) submit(true);
    while (!pending_.empty()) collect();
    uint8_t tail[6] = {0x03, 0x00};  // a final block holding nothing but its end
    putBigEndian(tail + 2, static_cast<uint32_t>(adler_));
    out_.chunk("IDAT", tail, sizeof tail);
    out_.chunk("IEND", nullptr, 0);
  }

 private:
  // `last`: no row follows. A picture of one piece is then filtered and
  // deflated on this thread, sparing a small picture a thread of its own.
  void submit(bool last = false) {
    Row prior = std::exchange(
        prior_, Row(raw_.end() - static_cast<std::ptrdiff_t>(shape_.bytes), raw_.end()));
    std::promise<Row> end;
    std::shared_future<Row> previous = std::exchange(previousEnd_, end.get_future().share());
    const int strategy = shape_.filter == PngRowFilter::none ? Z_DEFAULT_STRATEGY : Z_FILTERED;
    const bool alone = last && pending_.empty();
    pending_.push_back(std::async(
        alone ? std::launch::deferred : std::launch::async,
        [raw = std::move(raw_), prior = std::move(prior), shape = shape_, level = level_, strategy,
         end = std::move(end), previous]() mutable {
          const FilteredRows filtered = filterRows(raw, prior, shape);
          const Row& bytes = filtered.bytes;
          const size_t keep = std::min(windowBytes, bytes.size());
          end.set_value(Row(bytes.end() - static_cast<std::ptrdiff_t>(keep), bytes.end()));
          return deflatePiece(bytes, previous.valid() ? previous.get() : Row(),
                              pieceLevel(level, filtered, shape.filter), strategy);
        }));
    raw_ = Row();
    raw_.reserve(pieceBytes + shape_.bytes);
    while (pending_.size() >= inFlight_) collect();
  }
  void collect() {
    Piece piece = pending_.front().get();
    pending_.pop_front();
    out_.chunk("IDAT", piece.deflated.data(), piece.deflated.size());
    adler_ = adler32_combine(adler_, piece.adler, static_cast<z_off_t>(piece.length));
  }

  const RowShape shape_;
  const int level_;
  Output& out_;
  Row prior_;  // the last row handed over, or zeros before the first
  Row raw_;
  std::shared_future<Row> previousEnd_;
  std::deque<std::future<Piece>> pending_;
  const size_t inFlight_;
  uLong adler_ = 1;
};

enum ColourType : uint8_t { grey = 0, rgb = 2, palette = 3, greyAlpha = 4, rgba = 6 };

// How the picture's pixels become PNG samples.
struct Layout {
  ColourType type;
  std::vector<uint32_t> colours;  // the palette, RGBA packed as 0xRRGGBBAA
};

uint32_t packed(const uint8_t* p, int bands) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 |
         (bands == 4 ? p[3] : 255u);
}

// Colours found so far, at most 256, by open addressing.
class ColourIndex {
 public:
  // The colour's index, added if new; -1 when a 257th colour is asked for.
  int find(uint32_t colour, std::vector<uint32_t>& colours) {
    if (colour == lastColour_ && lastIndex_ >= 0) return lastIndex_;
    size_t slot = (colour * 2654435761u) >> 22;  // 10 bits
    while (slots_[slot] >= 0 && colours[static_cast<size_t>(slots_[slot])] != colour)
      slot = (slot + 1) & (slots_.size() - 1);
    if (slots_[slot] < 0) {
      if (colours.size() == 256) return -1;
      slots_[slot] = static_cast<int>(colours.size());
      colours.push_back(colour);
    }
    lastColour_ = colour;
    return lastIndex_ = slots_[slot];
  }

 private:
  std::array<int, 1024> slots_ = [] {
    std::array<int, 1024> empty{};
    empty.fill(-1);
    return empty;
  }();
  uint32_t lastColour_ = 0;
  int lastIndex_ = -1;
};

Layout fewestChannels(const uint8_t* data, size_t pixels, int bands) {
  const Layout asItIs{bands == 4 ? rgba : rgb, {}};
  bool allGrey = true, opaque = true;
  for (size_t i = 0; i < pixels && (allGrey || opaque); ++i) {
    const uint8_t* p = data + i * static_cast<size_t>(bands);
    allGrey = allGrey && p[0] == p[1] && p[1] == p[2];
    opaque = opaque && (bands == 3 || p[3] == 255);
  }
  if (allGrey) return {opaque ? grey : greyAlpha, {}};
  Layout indexed{palette, {}};
  ColourIndex index;
  for (size_t i = 0; i < pixels; ++i) {
    if (index.find(packed(data + i * static_cast<size_t>(bands), bands), indexed.colours) < 0)
      return asItIs;
  }
  return indexed;
}

void writeHeader(Output& out, const VImage& pixels, const Layout& layout) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.append(signature, sizeof signature);
  uint8_t header[13] = {};
  putBigEndian(header, static_cast<uint32_t>(pixels.width()));
  putBigEndian(header + 4, static_cast<uint32_t>(pixels.height()));
  header[8] = 8;  // bits per sample; compression, filter method and interlacing stay 0
  header[9] = layout.type;
  out.chunk("IHDR", header, sizeof header);
  if (layout.type == palette) {
    std::vector<uint8_t> entries, alphas;
    for (uint32_t colour : layout.colours) {
      entries.insert(entries.end(),
                     {static_cast<uint8_t>(colour >> 24), static_cast<uint8_t>(colour >> 16),
                      static_cast<uint8_t>(colour >> 8)});
      alphas.push_back(static_cast<uint8_t>(colour));
    }
    out.chunk("PLTE", entries.data(), entries.size());
    while (!alphas.empty() && alphas.back() == 255) alphas.pop_back();
    if (!alphas.empty()) out.chunk("tRNS", alphas.data(), alphas.size());
  }
  // The resolution, in pixels per metre, as the library's saver states it.
  uint8_t resolution[9] = {};
  putBigEndian(resolution, static_cast<uint32_t>(std::lround(pixels.xres() * 1000)));
  putBigEndian(resolution + 4, static_cast<uint32_t>(std::lround(pixels.yres() * 1000)));
  resolution[8] = 1;
  out.chunk("pHYs", resolution, sizeof resolution);
}

int bandsOf(ColourType type) {
  switch (type) {
    case grey:
    case palette:
      return 1;
    case greyAlpha:
      return 2;
    case rgb:
      return 3;
    default:
      return 4;
  }
}

bool writable(const VImage& pixels) {
  if (pixels.format() != VIPS_FORMAT_UCHAR || pixels.get_image()->Coding != VIPS_CODING_NONE)
    return false;
  const VipsInterpretation interpretation = pixels.interpretation();
  switch (pixels.bands()) {
    case 1:
    case 2:
      return interpretation == VIPS_INTERPRETATION_B_W;
    case 3:
    case 4:
      return interpretation == VIPS_INTERPRETATION_sRGB ||
             interpretation == VIPS_INTERPRETATION_RGB;
    default:
      return false;
  }
}

struct SinkState {
  RowDeflater& deflater;
  std::exception_ptr failure;
};

int addRegionRows(VipsRegion* region, VipsRect* area, void* sink) {
  auto* state = static_cast<SinkState*>(sink);
  try {
    for (int y = area->top; y < area->top + area->height; ++y)
      state->deflater.add(VIPS_REGION_ADDR(region, area->left, y));
    return 0;
  } catch (...) {
    state->failure = std::current_exception();
    return -1;
  }
}

// Rows of an RGB(A) picture in memory, reduced to `layout` one at a time.
void addReducedRows(RowDeflater& deflater, const uint8_t* data, const VImage& pixels,
                    Layout& layout) {
  const int bands = pixels.bands();
  const size_t width = static_cast<size_t>(pixels.width());
  const int outBands = bandsOf(layout.type);
  Row row(width * static_cast<size_t>(outBands));
  ColourIndex index;
  for (int y = 0; y < pixels.height(); ++y) {
    const uint8_t* in = data + static_cast<size_t>(y) * width * static_cast<size_t>(bands);
    for (size_t x = 0; x < width; ++x) {
      const uint8_t* p = in + x * static_cast<size_t>(bands);
      if (layout.type == palette) {
        row[x] = static_cast<uint8_t>(index.find(packed(p, bands), layout.colours));
      } else {
        row[x * static_cast<size_t>(outBands)] = p[0];
        if (outBands == 2) row[x * 2 + 1] = p[3];
      }
    }
    deflater.add(row.data());
  }
}

// The PNG of writable `pixels` into `out`; false when the pixels could not be
// read. What writing to a file throws goes through.
bool encodeInto(const VImage& pixels, const PngOptions& options, Output& out) {
  const int bands = pixels.bands();
  if (options.fewestChannels && bands >= 3) {
    VImage held;
    try {
      held = pixels.copy_memory();
    } catch (const vips::VError&) {
      vips_error_clear();
      return false;
    }
    const auto* data = static_cast<const uint8_t*>(held.data());
    Layout layout = fewestChannels(
        data, static_cast<size_t>(held.width()) * static_cast<size_t>(held.height()), bands);
    writeHeader(out, held, layout);
    const int outBands = bandsOf(layout.type);
    PngOptions chosen = options;
    if (outBands == bands)
      chosen.level = options.fullColourLevel, chosen.filter = options.fullColourFilter;
    RowDeflater deflater(static_cast<size_t>(held.width()) * static_cast<size_t>(outBands),
                         static_cast<size_t>(outBands), chosen, out);
    if (outBands == bands) {
      for (int y = 0; y < held.height(); ++y)
        deflater.add(data + static_cast<size_t>(y) * static_cast<size_t>(held.width()) *
                                static_cast<size_t>(bands));
    } else {
      // The palette is rebuilt in the same order as it was found.
      layout.colours.clear();
      addReducedRows(deflater, data, held, layout);
    }
    deflater.finish();
    return true;
  }
  const Layout layout{bands == 1 ? grey : bands == 2 ? greyAlpha : bands == 3 ? rgb : rgba, {}};
  writeHeader(out, pixels, layout);
  RowDeflater deflater(static_cast<size_t>(pixels.width()) * static_cast<size_t>(bands),
                       static_cast<size_t>(bands), options, out);
  SinkState sink{deflater, nullptr};
  if (vips_sink_disc(pixels.get_image(), addRegionRows, &sink) != 0) {
    vips_error_clear();
    if (out.writesFile() && sink.failure) std::rethrow_exception(sink.failure);
    return false;
  }
  deflater.finish();
  return true;
}

}  // namespace

std::optional<Bytes> encodePng(const VImage& pixels, const PngOptions& options) {
  if (!writable(pixels)) return std::nullopt;
  Output out;
  if (!encodeInto(pixels, options, out)) return std::nullopt;
  return out.release();
}

bool writePng(const VImage& pixels, const PngOptions& options, int fd,
              const std::filesystem::path& path) {
  if (!writable(pixels)) return false;
  Output out(fd, path);
  if (!encodeInto(pixels, options, out)) return false;
  out.flush();
  return true;
}

}  // namespace MediaEngine::detail
