// SPDX-License-Identifier: GPL-3.0-or-later
// A pointer for a headless wlroots compositor, which has no mouse of its own:
// it adds one through the virtual pointer protocol and moves and presses it
// as it is told on its standard input, one command a line:
//   move X Y    the pointer to (X, Y) of the WIDTH × HEIGHT desktop
//   down / up   the left button
// Prints "ready" once the compositor has the pointer, and "ok" after each
// command has reached it.
// Usage: virtual-pointer WIDTH HEIGHT
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "virtual-pointer-client-protocol.h"

namespace {

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void announced(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat) {
    seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
  }
}

void withdrawn(void*, wl_registry*, uint32_t) {}

uint32_t milliseconds() {
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  const uint32_t width = std::stoul(argv[1]), height = std::stoul(argv[2]);
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "no Wayland display\n");
    return 1;
  }
  static const wl_registry_listener listener = {announced, withdrawn};
  wl_registry_add_listener(wl_display_get_registry(display), &listener, nullptr);
  wl_display_roundtrip(display);
  if (!manager) {
    std::fprintf(stderr, "the compositor offers no virtual pointer\n");
    return 1;
  }
  zwlr_virtual_pointer_v1* pointer =
      zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
  wl_display_roundtrip(display);
  std::cout << "ready" << std::endl;

  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "move") {
      uint32_t x = 0, y = 0;
      words >> x >> y;
      zwlr_virtual_pointer_v1_motion_absolute(pointer, milliseconds(), x, y, width, height);
    } else if (command == "down" || command == "up") {
      zwlr_virtual_pointer_v1_button(
          pointer, milliseconds(), BTN_LEFT,
          command == "down" ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
      std::fprintf(stderr, "unknown command: %s\n", line.c_str());
      continue;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    if (wl_display_roundtrip(display) < 0) return 1;
    std::cout << "ok" << std::endl;
  }
  zwlr_virtual_pointer_v1_destroy(pointer);
  wl_display_disconnect(display);
  return 0;
}
