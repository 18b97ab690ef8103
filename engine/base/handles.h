// SPDX-License-Identifier: GPL-3.0-or-later
// Small owners for what C libraries and the kernel hand out: a file
// descriptor, and any pointer with its release function. Each releases what
// it holds however its scope is left, so no error path leaks one. Move-only.
// Internal to the engine; any thread (each owner belongs to one at a time).
#pragma once

#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

namespace MediaEngine {

class UniqueFd {
 public:
  UniqueFd() = default;
  // Takes `fd` (or -1, holding nothing).
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes now and returns close()'s errno (0 on success): for writers, whose
  // data may only be reported lost at close.
  int close() {
    const int fd = std::exchange(fd_, -1);
    // Linux releases the descriptor even when close() is interrupted.
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) return errno;
    return 0;
  }
  void reset() { close(); }

 private:
  int fd_ = -1;
};

// Calls `Release` on a non-null pointer: the deleter of Owned.
template <auto Release>
struct Releaser {
  template <typename T>
  void operator()(T* p) const {
    if (p) Release(p);
  }
};

// A unique_ptr that frees with the library's own function, for example
// Owned<cairo_t, cairo_destroy>.
template <typename T, auto Release>
using Owned = std::unique_ptr<T, Releaser<Release>>;

}  // namespace MediaEngine
