// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image.h"

namespace MediaEngine {
bool withinPixelBudget(long long width, long long height) {
  return width >= 1 && height >= 1 && width <= pixelBudget / height;
}

Image::Image(const vips::VImage& pixels) {
  const VipsImageType type = pixels.get_image()->dtype;
  const vips::VImage memory = type == VIPS_IMAGE_SETBUF || type == VIPS_IMAGE_SETBUF_FOREIGN
                                  ? pixels
                                  : pixels.copy_memory();
  VipsImage* owner = memory.get_image();
  VipsImage* bare =
      vips_image_new_from_memory(VIPS_IMAGE_ADDR(owner, 0, 0), VIPS_IMAGE_SIZEOF_IMAGE(owner),
                                 owner->Xsize, owner->Ysize, owner->Bands, owner->BandFmt);
  if (!bare) throw vips::VError();
  bare->Type = VIPS_INTERPRETATION_sRGB;
  bare->Xres = owner->Xres;
  bare->Yres = owner->Yres;
  // The bare header borrows the owner's pixels: it holds a reference to the
  // owner until it is closed itself, however long a copy of it lives.
  g_object_ref(owner);
  g_signal_connect(bare, "postclose",
                   G_CALLBACK(+[](VipsImage*, gpointer data) { g_object_unref(data); }), owner);
  pixels_ = vips::VImage(bare);
}

}  // namespace MediaEngine
