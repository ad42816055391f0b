// Loads one DIB stream, renders it at an angle, zoom and colour options taken from the
// first bytes, and saves it again: bytes 0-1 angle in tenths, byte 2 zoom, byte 3 flags,
// the rest the DIB file image.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "rotateimage/rotate_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kParameters = 4;
  if (size < kParameters) return 0;
  const int tenths = (data[0] | data[1] << 8) - 32768;
  const int zoom = 25 + data[2] * 375 / 255;
  const std::uint8_t flags = data[3];

  rotateimage::TRotateImage image;
  image.BeginUpdate();
  image.SetAngleEx(tenths);
  image.SetZoom(zoom);
  image.SetNegative(flags & 1);
  image.SetSketch(flags & 2);
  image.SetTransparent(flags & 4);
  if (flags & 8) image.SetTransparentColor(0xFFFFFF);
  if (flags & 16) image.SetSepia(true);
  image.EndUpdate();

  std::istringstream in(std::string(reinterpret_cast<const char*>(data + kParameters), size - kParameters));
  image.LoadFromStream(in);
  // The next image starts where this one's size field says, never past the end.
  const std::streamoff next = in.tellg();
  if (next < 0 || static_cast<std::size_t>(next) > size - kParameters) __builtin_trap();

  platform::Bitmap bitmap;
  image.SaveToBitmap(bitmap, rotateimage::clWhite);
  std::ostringstream out;
  image.SaveToStream(out, (flags & 32) ? rotateimage::clBlack : rotateimage::clWhite);

  // What was saved loads again.
  if (!out.str().empty()) {
    std::istringstream again(out.str());
    rotateimage::TRotateImage reader;
    reader.LoadFromStream(again);
    if (!rotateimage::IsValidDib(reader.Source())) __builtin_trap();
  }
  return 0;
}
