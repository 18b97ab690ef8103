// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes: one owned, immutable-once-made buffer of file bytes, the currency of
// every encoder and writer in the engine. Move-only, so a 100 MB encoded image
// is never copied by accident; an encoder's own allocation can be adopted
// without a copy.
//
// Thread safety: a Bytes value belongs to one thread at a time, like any
// owning object; once made its contents never change, so a const Bytes may be
// read from several threads at once. Release functions run on the thread that
// destroys the value.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <string_view>

namespace MediaEngine {

class Bytes {
 public:
  using Release = void (*)(void*);

  Bytes() = default;
  Bytes(Bytes&&) noexcept = default;
  Bytes& operator=(Bytes&&) noexcept = default;
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;

  // A copy of `data`.
  static Bytes copyOf(std::span<const std::byte> data);
  static Bytes copyOf(std::string_view text) { return copyOf(std::as_bytes(std::span(text))); }
  // Takes ownership of `size` bytes at `data`, which `release` frees later
  // (free, g_free, ...). `data` may be null only when `size` is 0.
  static Bytes adopt(void* data, size_t size, Release release);

  const std::byte* data() const { return data_.get(); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::span<const std::byte> span() const { return {data(), size_}; }
  std::string_view text() const { return {reinterpret_cast<const char*>(data()), size_}; }

 private:
  struct Releaser {
    Release release;
    void operator()(std::byte* p) const {
      if (release) release(p);
    }
  };
  std::unique_ptr<std::byte, Releaser> data_{nullptr, Releaser{nullptr}};
  size_t size_ = 0;
};

inline Bytes Bytes::adopt(void* data, size_t size, Release release) {
  Bytes bytes;
  bytes.data_ =
      std::unique_ptr<std::byte, Releaser>(static_cast<std::byte*>(data), Releaser{release});
  bytes.size_ = size;
  return bytes;
}

inline Bytes Bytes::copyOf(std::span<const std::byte> data) {
  void* copy = std::malloc(data.empty() ? 1 : data.size());
  if (!copy) throw std::bad_alloc();
  if (!data.empty()) std::memcpy(copy, data.data(), data.size());
  return adopt(copy, data.size(), std::free);
}

}  // namespace MediaEngine
