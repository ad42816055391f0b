#include "rotateimage/rotate_image.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <istream>
#include <numbers>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/little_endian.h"

namespace rotateimage {
namespace dib = platform::dib;

namespace {

constexpr int kMixBandPixels = 65536;  // see-through painting works on bands this large

// TColor (red low) to the DIB's packing (blue low), and back.
std::uint32_t swapRedBlue(std::uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

double roundEven(double v) { return std::nearbyint(v); }

// Stamps that no two pictures of any component share.
std::uint64_t newStamp() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

// The first stored pixel, the bottom-left one: an index for 8 bits, a colour for 24.
std::uint32_t firstPixel(const DibBuffer& buffer) {
  const DibInfo info = readDibInfo(buffer);
  if (info.bitCount == 8) return buffer[info.pixelOffset];
  return *platform::readU32(buffer, info.pixelOffset) & 0xFFFFFF;
}

// The `extent` bytes of a readable image at `start`, normalised; empty when the stream
// gives fewer or the image holds masks that cannot be used.  Nothing is read, let alone
// allocated, beyond what the stream holds.
DibBuffer readDib(std::istream& stream, std::streamoff start, std::uint64_t extent) {
  DibBuffer bytes(static_cast<std::size_t>(extent));
  stream.seekg(start);
  if (!stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return {};
  return normaliseDib(bytes).value_or(DibBuffer{});
}

}  // namespace

TCustomRotateImage::TCustomRotateImage() = default;

// --- the control's place ------------------------------------------------------------------

void TCustomRotateImage::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
}

void TCustomRotateImage::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (parent_) parent_->invalidateRect({left_, top_, left_ + width_, top_ + height_}, true);
}

void TCustomRotateImage::Invalidate() {
  if (parent_ && visible_) parent_->invalidateRect({left_, top_, left_ + width_, top_ + height_}, true);
}

void TCustomRotateImage::Loaded() {
  loading_ = false;
  UpdateImage(false);
}

// --- images -----------------------------------------------------------------------------

void TCustomRotateImage::ClearImage() {
  InvalidateMask();
  FSource.clear();
  FRotated.clear();
  FMask.clear();
}

void TCustomRotateImage::buildSketchIfWanted() {
  if (sketch_ && validSource()) FSketchDib = BuildSketch(FSource);
}

void TCustomRotateImage::LoadFromBitmap(const platform::Bitmap& bitmap) {
  ClearImage();
  if (bitmap.empty()) {
    UpdateImage(false);
    return;
  }
  const int bits = bitmap.bitsPerPixel();
  // An 8-bit picture without palette has no colours to keep; it goes the long way.
  if ((bits != 8 && bits != 24) || (bits == 8 && bitmap.palette().empty())) {
    if (auto loaded = normaliseDib(bitmap.saveToDib())) FSource = std::move(*loaded);
    buildSketchIfWanted();
    UpdateImage(false);
    return;
  }
  // The bitmap's DIB is in the normalised form already: palette and rows right after the
  // headers, bfSize the buffer's size.
  FSource = bitmap.saveToDib();
  if (bits == 24) FSource.push_back(0);
  buildSketchIfWanted();
  UpdateImage(false);
}

void TCustomRotateImage::LoadFromStream(std::istream& stream) {
  ClearImage();
  const std::streamoff start = stream.tellg();
  if (start >= 0) {
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(start);
    const std::uint64_t available = end > start ? static_cast<std::uint64_t>(end - start) : 0;
    // An image the format admits is passed over, shown or not, to where its header says
    // the next one starts (never past the end); anything else leaves the stream where it was.
    std::uint64_t next = 0;
    DibBuffer headers(dib::kHeadersSize);
    if (available >= dib::kHeadersSize &&
        stream.read(reinterpret_cast<char*>(headers.data()), static_cast<std::streamsize>(headers.size()))) {
      const dib::Judgement judgement = dib::judge(headers, available, kLoadRules);
      if (judgement.verdict == dib::Verdict::Readable) FSource = readDib(stream, start, judgement.layout.extent());
      // A size field smaller than the headers just read would leave a reading loop on the
      // same image for ever: the position moves past the headers at least.
      if (judgement.verdict == dib::Verdict::Unshowable || !FSource.empty())
        next = std::min<std::uint64_t>(std::max<std::uint64_t>(dib::readHeader(headers)->fileSize, dib::kHeadersSize),
                                       available);
    }
    stream.clear();
    stream.seekg(start + static_cast<std::streamoff>(next));
  }
  buildSketchIfWanted();
  UpdateImage(false);
}

void TCustomRotateImage::LoadFromFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::system_error(errno, std::generic_category(), "cannot open " + path.string());
  LoadFromStream(file);
}

void TCustomRotateImage::SaveToBitmap(platform::Bitmap& bitmap, TColor colour) {
  if (!IsValidDib(FRotated) || !bitmap.loadFromDib(FRotated)) {
    bitmap.clear();
    return;
  }
  if (!IsValidDib(FMask)) return;
  const DibInfo mask = readDibInfo(FMask);
  if (mask.width != bitmap.width() || mask.height != bitmap.height()) return;
  const std::uint32_t rgb = ColorToRGB(colour, systemColours_);
  std::uint32_t value = swapRedBlue(rgb);
  if (bitmap.bitsPerPixel() != 24) {
    // An indexed picture takes the colour's palette entry, added when there is room.
    auto palette = bitmap.palette();
    std::vector<std::uint8_t> entries;
    for (const auto& c : palette) entries.insert(entries.end(), {c.blue, c.green, c.red, 0});
    const auto capacity = std::size_t{1} << bitmap.bitsPerPixel();
    const auto choice =
        FindPaletteIndex(entries, palette.size() < capacity ? static_cast<std::uint32_t>(palette.size()) : 0, value);
    if (choice.appended) {
      palette.push_back({static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                         static_cast<std::uint8_t>(value)});
      bitmap.setPalette(palette);
    }
    value = choice.index;
  }
  for (int y = 0; y < mask.height; ++y) {
    const std::uint8_t* row =
        FMask.data() + mask.pixelOffset + static_cast<std::size_t>(mask.height - 1 - y) * mask.stride;
    for (int x = 0; x < mask.width; ++x)
      if (row[x] == 1) bitmap.setPixel(x, y, value);
  }
}

void TCustomRotateImage::SaveToStream(std::ostream& stream, TColor colour) {
  if (!IsValidDib(FRotated) || !IsValidDib(FMask)) return;
  writeRotated(stream, swapRedBlue(ColorToRGB(colour, systemColours_)));
}

void TCustomRotateImage::writeRotated(std::ostream& stream, std::uint32_t colour) {
  const DibInfo info = readDibInfo(FRotated);
  const DibInfo mask = readDibInfo(FMask);
  if (info.bitCount != 8 && info.bitCount != 24) throw std::runtime_error("TCustomRotateImage.SaveToStream");
  if (mask.width != info.width || mask.height != info.height) return;
  const bool newEntry = paintBackground(FRotated, FMask, colour);
  pictureStamp_ = newStamp();
  const auto write = [&stream](std::span<const std::uint8_t> bytes) {
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  };
  const std::size_t fileSize = dib::readHeader(FRotated)->fileSize;
  if (!newEntry) {
    write(std::span(FRotated).first(fileSize));
    return;
  }
  const auto pixelOffset = static_cast<std::size_t>(info.pixelOffset);
  write(headersWithEntry(FRotated, colour));
  write(std::span(FRotated).subspan(pixelOffset, fileSize - pixelOffset));
}

void TCustomRotateImage::SaveToFile(const std::filesystem::path& path, TColor colour) {
  // Made in memory, then put in place in one step: a save that fails leaves the file that
  // was there whole.  Without a picture there is nothing to put there, and the file stays.
  if (!IsValidDib(FRotated) || !IsValidDib(FMask))
    throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                            "no picture to save to " + path.string());
  std::ostringstream bytes;
  SaveToStream(bytes, colour);
  if (const std::error_code error = platform::writeFileAtomically(path, bytes.str()))
    throw std::system_error(error, "cannot create " + path.string());
}

// --- rendering --------------------------------------------------------------------------

bool TCustomRotateImage::fitsSource(const Dimension& d) const {
  if (!validSource()) return true;
  const DibInfo info = readDibInfo(FSource);
  return outputSize(d, info.width, info.height).has_value();
}

void TCustomRotateImage::SetDimension(float colStepX, float colStepY, float rowStepX, float rowStepY) {
  const Dimension next{colStepX, colStepY, rowStepX, rowStepY};
  // A matrix whose picture would be too large is refused before it is stored, so that the
  // matrix always describes the picture shown.
  if (!acceptsDimension(dimension_, next) || !fitsSource(next)) return;
  InvalidateMask();
  dimension_ = next;
  UpdateImage(false);
}

std::uint32_t TCustomRotateImage::transparentValue() const {
  if (!transparent_) return kNoTransparent;
  const DibInfo info = readDibInfo(FSource);
  if (transparentMode_ == TTransparentMode::tmAuto) return firstPixel(FSource);
  const std::uint32_t wanted = swapRedBlue(ColorToRGB(transparentColor_, systemColours_));
  if (info.bitCount == 24) return wanted;
  const auto clrUsed = dib::readHeader(FSource)->clrUsed;
  const std::size_t entries = std::min<std::size_t>(clrUsed == 0 ? 256 : clrUsed, info.paletteSize);
  for (std::size_t i = 0; i < entries; ++i)
    if (*platform::readU32(FSource, dib::kHeadersSize + 4 * i) == wanted) return static_cast<std::uint32_t>(i);
  return kNoTransparent;
}

bool TCustomRotateImage::UpdateImage(bool whiteFill) {
  if (FUpdateCount > 0 || loading_) return false;
  bool rendered = false;
  if (validSource()) {
    if (sketch_ && IsValidDib(FSketchDib)) {
      rendered = ExecuteDimension(FSketchDib, kNoTransparent, whiteFill);
    } else {
      rendered = ExecuteDimension(FSource, transparentValue(), whiteFill);
    }
  }
  InvalidateMask();
  return rendered;
}

bool TCustomRotateImage::ExecuteDimension(const DibBuffer& source, std::uint32_t transparent, bool whiteFill) {
  RenderOptions options;
  options.transparent = transparent;
  options.colorCode = colorCode_;
  options.negative = negative_;
  options.whiteFill = whiteFill;
  if (!rotateimage::ExecuteDimension(source, dimension_, options, FRotated, FMask)) return false;
  pictureStamp_ = newStamp();
  ++renderCount_;
  return true;
}

void TCustomRotateImage::SetColorCode(std::uint32_t code) {
  if (code == colorCode_) return;
  colorCode_ = code;
  UpdateImage(false);
}

int TCustomRotateImage::BeginUpdate() {
  InvalidateMask();
  return ++FUpdateCount;
}

int TCustomRotateImage::EndUpdate() {
  if (FUpdateCount <= 0) return 0;
  if (--FUpdateCount == 0) {
    InvalidateMask();
    UpdateImage(false);
  }
  return FUpdateCount;
}

std::optional<OutputSize> TCustomRotateImage::maskSize() const {
  if (!IsValidDib(FMask)) return std::nullopt;
  const DibInfo info = readDibInfo(FMask);
  return OutputSize{info.width, info.height};
}

void TCustomRotateImage::InvalidateMask() {
  if (FUpdateCount > 0 || !parent_) return;
  const auto size = maskSize();
  if (!size) return;
  Point corner{left_ + width_ / 2 - size->width / 2, top_ + height_ / 2 - size->height / 2};
  if (pivot_) OffsetPivot(corner);
  const Rect area = Rect{corner.x, corner.y, corner.x + size->width, corner.y + size->height}.intersected(
      {left_, top_, left_ + width_, top_ + height_});
  if (!area.empty()) parent_->invalidateRect(area, true);
}

Point TCustomRotateImage::pivotShift() const {
  const Dimension& d = dimension_;
  const float e =
      static_cast<float>(static_cast<double>(d.colStepX) * d.rowStepY - static_cast<double>(d.colStepY) * d.rowStepX);
  int w = 0, h = 0;
  if (validSource()) {
    const DibInfo info = readDibInfo(FSource);
    w = info.width;
    h = info.height;
  }
  const float f = static_cast<float>(w / 2.0 - pivotX_);
  const float g = static_cast<float>(h / 2.0 - pivotY_);
  const double dx = roundEven((static_cast<double>(d.rowStepY) * f + static_cast<double>(d.rowStepX) * g) / e);
  const double dy = roundEven((static_cast<double>(d.colStepY) * f + static_cast<double>(d.colStepX) * g) / e);
  // Far beyond any screen: kept inside int, the shift still moves the picture out of sight.
  constexpr double kLimit = 1 << 30;
  return {static_cast<int>(std::clamp(dx, -kLimit, kLimit)), static_cast<int>(std::clamp(dy, -kLimit, kLimit))};
}

void TCustomRotateImage::OffsetPivot(Point& point) const {
  const Point shift = pivotShift();
  point.x += shift.x;
  point.y += shift.y;
}

// --- painting ---------------------------------------------------------------------------

void TCustomRotateImage::Paint(Canvas& canvas) {
  const int level = canvas.deviceKind() == DeviceKind::RasterDisplay ? trnsIndex_ : 0;
  if (level == 0) {
    drawStep(canvas);
  } else {
    PaintMixed(canvas, level);
  }
}

bool TCustomRotateImage::showsFrame() const { return designing_ && !validSource(); }

bool TCustomRotateImage::showsPicture() const { return validSource() && IsValidDib(FRotated) && IsValidDib(FMask); }

Rect TCustomRotateImage::pictureRect(Point centre) const {
  if (pivot_) OffsetPivot(centre);
  const OutputSize size = *maskSize();
  const Point topLeft{centre.x - size.width / 2, centre.y - size.height / 2};
  return {topLeft.x, topLeft.y, topLeft.x + size.width, topLeft.y + size.height};
}

void TCustomRotateImage::drawStep(Canvas& canvas) {
  if (showsFrame()) canvas.drawDashedFrame({0, 0, ClientWidth(), ClientHeight()});
  if (showsPicture()) PaintTo(canvas, {ClientWidth() / 2, ClientHeight() / 2});
}

void TCustomRotateImage::PaintMixed(Canvas& canvas, int level) {
  Rect area = canvas.clipBox().intersected({0, 0, ClientWidth(), ClientHeight()});
  ++area.right;
  ++area.bottom;
  // Only what the draw step paints can change: a byte blended with itself stays as it is.
  if (showsPicture()) {
    area = area.intersected(pictureRect({ClientWidth() / 2, ClientHeight() / 2}));
  } else if (!showsFrame()) {
    return;
  }
  const int w = area.width();
  const int h = area.height();
  if (w <= 0 || h <= 0) return;
  if (static_cast<long long>(w) * h < kMixBandPixels + 1) {
    DrawMixRect(canvas, area, level);
    return;
  }
  const int band = std::max(1, kMixBandPixels / w);
  for (int top = area.top; top < area.bottom; top += band)
    DrawMixRect(canvas, {area.left, top, area.right, std::min(area.bottom, top + band)}, level);
}

void TCustomRotateImage::DrawMixRect(Canvas& canvas, const Rect& rect, int level) {
  if (rect.empty()) throw std::runtime_error("abnormal params in DrawMix");
  // On the device's own pixels where it lends them; otherwise on a copy, put back.
  if (const auto lent = canvas.lend(rect)) {
    MemoryCanvas memory(lent->pixels, {-lent->at.x, -lent->at.y}, level, &mixCache_);
    drawStep(memory);
    return;
  }
  Pixels pixels = canvas.grab(rect);
  MemoryCanvas memory(pixels, {-rect.left, -rect.top}, level, &mixCache_);
  drawStep(memory);
  canvas.put({rect.left, rect.top}, pixels);
}

void TCustomRotateImage::PaintTo(Canvas& canvas, Point centre) {
  if (!showsPicture()) return;
  canvas.setFontColor(clBlack);
  canvas.setBrushColor(clWhite);
  const Rect picture = pictureRect(centre);
  // In plain pixels the mask's region keeps exactly the pixels the mask keeps: the region
  // display draws through the mask there, which needs no region.
  if (canvas.deviceKind() == DeviceKind::Printer ||
      (dispMode_ == TRotateImageDispMode::ridmRegion && !canvas.mapping().plainPixels())) {
    paintClipped(canvas, {picture.left, picture.top});
    return;
  }
  canvas.drawDib(picture, {FRotated, FMask, pictureStamp_}, {});
}

void TCustomRotateImage::paintClipped(Canvas& canvas, Point topLeft) {
  const bool wasVisible = visible_;
  const Dimension screen = dimension_;
  const DeviceMapping mapping = canvas.mapping();
  const bool printer = canvas.deviceKind() == DeviceKind::Printer;
  // Device position of the image's top-left corner.
  DeviceMapping at = mapping;
  at.offsetX += topLeft.x * mapping.scaleX;
  at.offsetY += topLeft.y * mapping.scaleY;
  std::vector<Rect> region;
  double ratio = 1.0;
  if (mapping.plainPixels()) {
    region = MaskToRegion(FMask);
    for (Rect& r : region)
      r = {r.left + static_cast<int>(at.offsetX), r.top + static_cast<int>(at.offsetY),
           r.right + static_cast<int>(at.offsetX), r.bottom + static_cast<int>(at.offsetY)};
  } else {
    if (printer && printQuality_ != 1) {
      // Oversample: render finer so that the device draws the picture at its own resolution.
      // While updates are deferred, or when the finer picture would be too large, nothing
      // renders: the picture shown is printed as it is, at its own size.
      visible_ = false;
      const double finer = std::sqrt(static_cast<double>(printQuality_));
      dimension_ = {static_cast<float>(screen.colStepX / finer), static_cast<float>(screen.colStepY / finer),
                    static_cast<float>(screen.rowStepX / finer), static_cast<float>(screen.rowStepY / finer)};
      if (UpdateImage(true)) {
        ratio = finer;
        at.scaleX /= ratio;
        at.scaleY /= ratio;
      } else {
        dimension_ = screen;
      }
    }
    region = MaskToRegion(FMask, &at, printer);
  }
  // No picture pixel gives an empty region, which clips everything away; an empty list of
  // rectangles would mean no clipping at all.
  if (const auto size = maskSize(); size && !region.empty()) {
    const Rect dest{topLeft.x, topLeft.y, topLeft.x + static_cast<int>(std::lround(size->width / ratio)),
                    topLeft.y + static_cast<int>(std::lround(size->height / ratio))};
    canvas.drawDib(dest, {FRotated, {}}, region);
  }
  // Back to the screen matrix, which renders again when printing changed it.
  SetDimension(screen.colStepX, screen.colStepY, screen.rowStepX, screen.rowStepY);
  visible_ = wasVisible;
}

int TCustomRotateImage::CMHitTest(Point point) const {
  const bool inside = point.x >= 0 && point.y >= 0 && point.x < ClientWidth() && point.y < ClientHeight();
  if (!transparentMouse_ || !IsValidDib(FMask) || !validSource()) return inside ? 1 : 0;
  const OutputSize size = *maskSize();
  int x = point.x + size.width / 2 - ClientWidth() / 2;
  int y = point.y + size.height / 2 - ClientHeight() / 2;
  if (pivot_) {
    const Point shift = pivotShift();
    x -= shift.x;
    y -= shift.y;
  }
  if (x < 0 || y < 0 || x >= size.width || y >= size.height) return 0;
  const DibInfo info = readDibInfo(FMask);
  const std::uint8_t m = FMask[info.pixelOffset + static_cast<std::size_t>(size.height - 1 - y) * info.stride +
                               static_cast<std::size_t>(x)];
  return m == 0 ? 1 : 0;
}

// --- properties ---------------------------------------------------------------------------

void TCustomRotateImage::SetSketch(bool value) {
  if (value == sketch_) return;
  sketch_ = value;
  if (sketch_) {
    buildSketchIfWanted();
  } else {
    FSketchDib.clear();
  }
  UpdateImage(false);
}

void TCustomRotateImage::SetTrnsIndex(TTrnsIndex value) {
  value = std::clamp(value, 0, 7);
  if (value == trnsIndex_) return;
  trnsIndex_ = value;
  Invalidate();
}

void TCustomRotateImage::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  UpdateImage(false);
}

TColor TCustomRotateImage::GetTransparentColor() const {
  if (transparentMode_ == TTransparentMode::tmFixed || !validSource()) return transparentColor_;
  const DibInfo info = readDibInfo(FSource);
  std::uint32_t colour = firstPixel(FSource);
  if (info.bitCount == 8) colour = dib::paletteColour(FSource, info, colour);
  return swapRedBlue(colour);
}

void TCustomRotateImage::SetTransparentColor(TColor value) {
  transparentMode_ = TTransparentMode::tmFixed;
  transparentColor_ = value;
  UpdateImage(false);
}

void TCustomRotateImage::SetTransparentMode(TTransparentMode value) {
  if (value == transparentMode_) return;
  transparentMode_ = value;
  UpdateImage(false);
}

void TCustomRotateImage::SetNegative(bool value) {
  if (value == negative_) return;
  negative_ = value;
  UpdateImage(false);
}

void TCustomRotateImage::SetPivot(bool value) {
  if (value == pivot_) return;
  InvalidateMask();
  pivot_ = value;
  UpdateImage(false);
}

void TCustomRotateImage::SetPivotX(int value) {
  if (value == pivotX_) return;
  if (pivot_) InvalidateMask();
  pivotX_ = value;
  if (pivot_) UpdateImage(false);
}

void TCustomRotateImage::SetPivotY(int value) {
  if (value == pivotY_) return;
  if (pivot_) InvalidateMask();
  pivotY_ = value;
  if (pivot_) UpdateImage(false);
}

void TCustomRotateImage::SetSystemColours(const SystemColours& colours) {
  if (colours == systemColours_) return;
  systemColours_ = colours;
  // Only a fixed transparent colour can name a system colour.
  if (transparent_ && TransparentModeIsFixed() && isSystemColor(transparentColor_)) UpdateImage(false);
}

void TCustomRotateImage::SetPrintQuality(TRotateImagePrintQuality value) { printQuality_ = std::clamp(value, 1, 16); }

void TCustomRotateImage::SetDispMode(TRotateImageDispMode value) {
  if (value == dispMode_) return;
  dispMode_ = value;
  if (FUpdateCount <= 0) Invalidate();
}

// --- TRotateImage -----------------------------------------------------------------------

void TRotateImage::turnTo(float angle, float zoom) {
  const Dimension d = dimensionFor(angle, zoom);
  SetDimension(d.colStepX, d.colStepY, d.rowStepX, d.rowStepY);
  // A refused matrix leaves the angle and zoom of the picture shown.
  if (GetDimension() != d) return;
  angle_ = angle;
  zoom_ = zoom;
}

int TRotateImage::Angle() const { return static_cast<int>(roundEven(angle_ * 180.0 / std::numbers::pi)); }

void TRotateImage::SetAngle(int degrees) { SetAngleEx(degrees % 360 * 10); }

int TRotateImage::AngleEx() const { return static_cast<int>(roundEven(angle_ * 1800.0 / std::numbers::pi)); }

void TRotateImage::SetAngleEx(int tenths) {
  int v = tenths % 3600;
  if (v < 0) v += 3600;
  turnTo(static_cast<float>(v * std::numbers::pi / 1800.0), zoom_);
}

int TRotateImage::Zoom() const { return static_cast<int>(roundEven(zoom_ * 100.0)); }

void TRotateImage::SetZoom(int percent) { turnTo(angle_, static_cast<float>(std::clamp(percent, 25, 400) / 100.0)); }

void TRotateImage::SetMonochrome(bool value) {
  if (value) {
    SetColorCode(kMonochromeCode);
  } else if (!Sepia()) {
    SetColorCode(0);
  }
}

void TRotateImage::SetSepia(bool value) {
  if (value) {
    SetColorCode(kSepiaCode);
  } else if (!Monochrome()) {
    SetColorCode(0);
  }
}

void TRotateImage::SetBitmap(const platform::Bitmap& bitmap) {
  if (Designing()) Invalidate();
  bitmap_ = bitmap;
  LoadFromBitmap(bitmap_);
}

}  // namespace rotateimage
