#include "rotateimage/qt/qt_canvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <vector>

#include "platform/qt/image.h"

namespace rotateimage::qt {
namespace {

QColor qColour(rotateimage::TColor c) { return QColor(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF); }

// Unions pairwise, so that a mask of many runs costs n log n rather than n squared.
QRegion regionOf(std::span<const rotateimage::Rect> rects) {
  if (rects.size() > 8) {
    const std::size_t half = rects.size() / 2;
    return regionOf(rects.first(half)).united(regionOf(rects.subspan(half)));
  }
  QRegion region;
  for (const auto& r : rects)
    if (!r.empty()) region += QRect(r.left, r.top, r.width(), r.height());
  return region;
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, rotateimage::DeviceKind kind, const QRect& area, PictureCache* cache)
    : painter_(painter), kind_(kind), area_(area), cache_(cache) {
  if (kind_ == rotateimage::DeviceKind::RasterDisplay && !target()) kind_ = rotateimage::DeviceKind::Memory;
}

const QImage* QtCanvas::target() const {
  QPaintEngine* engine = painter_.paintEngine();
  QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
  return device && device->devType() == QInternal::Image ? static_cast<const QImage*>(device) : nullptr;
}

rotateimage::DeviceMapping QtCanvas::mapping() const {
  const QTransform t = painter_.combinedTransform();
  return {t.m11(), t.m22(), t.dx(), t.dy()};
}

rotateimage::Rect QtCanvas::clipBox() const {
  return {area_.left(), area_.top(), area_.left() + area_.width(), area_.top() + area_.height()};
}

void QtCanvas::setFontColor(rotateimage::TColor colour) { painter_.setPen(qColour(colour)); }

void QtCanvas::setBrushColor(rotateimage::TColor colour) { painter_.setBrush(qColour(colour)); }

void QtCanvas::drawDashedFrame(const rotateimage::Rect& r) {
  if (r.empty()) return;
  painter_.save();
  painter_.setPen(QPen(Qt::black, 0, Qt::DashLine));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(r.left, r.top, r.width() - 1, r.height() - 1);
  painter_.restore();
}

QImage QtCanvas::imageOf(const rotateimage::DibPicture& picture) {
  if (!cache_ || picture.stamp == 0) return platform::qt::dibToImage(picture.image, picture.mask);
  if (cache_->stamp != picture.stamp) *cache_ = {picture.stamp, platform::qt::dibToImage(picture.image, picture.mask)};
  return cache_->image;
}

void QtCanvas::drawDib(const rotateimage::Rect& dest, const rotateimage::DibPicture& dib,
                       std::span<const rotateimage::Rect> clip) {
  if (dest.empty()) return;
  const QImage picture = imageOf(dib);
  if (picture.isNull()) return;
  QRegion region;
  if (!clip.empty()) {
    region = regionOf(clip);
    // Rectangles that all narrowed to nothing leave nothing to draw, not everything.
    if (region.isEmpty()) return;
  }
  painter_.save();
  if (!clip.empty()) {
    // The rectangles are in base coordinates: clip with the world and view transforms off.
    const bool world = painter_.worldMatrixEnabled();
    const bool view = painter_.viewTransformEnabled();
    painter_.setWorldMatrixEnabled(false);
    painter_.setViewTransformEnabled(false);
    painter_.setClipRegion(region, Qt::IntersectClip);
    painter_.setWorldMatrixEnabled(world);
    painter_.setViewTransformEnabled(view);
  }
  // Nearest pixel, as the component renders: no smoothing of a stretched picture.
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.drawImage(QRect(dest.left, dest.top, dest.width(), dest.height()), picture);
  painter_.restore();
}

rotateimage::Pixels QtCanvas::grab(const rotateimage::Rect& r) {
  // Black where the device has no pixel.
  rotateimage::Pixels copy(r.width(), r.height(), rotateimage::Pixels::kOpaque);
  if (copy.empty()) return copy;
  // The device pixel under each logical column and row; a display's mapping is a shift,
  // scaled on high-density screens, never turned.
  const QTransform toDevice = painter_.deviceTransform();
  std::vector<int> columns(static_cast<std::size_t>(copy.width()));
  std::vector<int> rows(static_cast<std::size_t>(copy.height()));
  for (std::size_t x = 0; x < columns.size(); ++x)
    columns[x] = toDevice.map(QPoint(r.left + static_cast<int>(x), r.top)).x();
  for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = toDevice.map(QPoint(r.left, r.top + static_cast<int>(y))).y();
  const auto [left, right] = std::minmax_element(columns.begin(), columns.end());
  const auto [top, bottom] = std::minmax_element(rows.begin(), rows.end());
  const QImage* image = target();
  const QRect area = image ? QRect(QPoint(*left, *top), QPoint(*right, *bottom)).intersected(image->rect()) : QRect();
  // Read in place when the device holds the pixels' own form (a copy of an image being
  // painted would copy all of it); otherwise through one conversion of the area.
  QImage converted;
  const QImage* source = image;
  QPoint origin;
  if (!area.isEmpty() && image->format() != QImage::Format_RGB32) {
    converted = image->copy(area).convertToFormat(QImage::Format_RGB32);
    source = &converted;
    origin = area.topLeft();
  }
  // Unscaled, the columns are one run of device pixels, whose part in the area is copied
  // as a whole.
  const bool run = columns.back() - columns.front() == static_cast<int>(columns.size()) - 1;
  const auto runSkip = static_cast<std::size_t>(std::max(area.left() - columns.front(), 0));
  const auto runCount = static_cast<std::size_t>(std::max(area.width(), 0));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (area.isEmpty() || rows[y] < area.top() || rows[y] > area.bottom()) continue;
    const std::span<std::uint32_t> to = copy.row(static_cast<int>(y));
    const auto* line = reinterpret_cast<const QRgb*>(source->constScanLine(rows[y] - origin.y()));
    if (run) {
      std::copy_n(line + (area.left() - origin.x()), runCount, to.begin() + static_cast<std::ptrdiff_t>(runSkip));
      continue;
    }
    for (std::size_t x = 0; x < columns.size(); ++x)
      if (columns[x] >= area.left() && columns[x] <= area.right()) to[x] = line[columns[x] - origin.x()];
  }
  return copy;
}

void QtCanvas::put(rotateimage::Point at, const rotateimage::Pixels& picture) {
  if (picture.empty()) return;
  // The pixels are Qt's RGB32 words, the rows one after the other: Qt reads them in place.
  const QImage image(reinterpret_cast<const uchar*>(picture.row(0).data()), picture.width(), picture.height(),
                     4 * static_cast<qsizetype>(picture.width()), QImage::Format_RGB32);
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.drawImage(QPoint(at.x, at.y), image);
  painter_.restore();
}

std::optional<rotateimage::LentPixels> QtCanvas::lend(const rotateimage::Rect& r) {
  // Elsewhere a grab and its put change more than the blend does: a grab makes a pixel of
  // another form, or not opaque, plain RGB32; a put scales, or fades, or is clipped.
  const QImage* image = target();
  const QTransform toDevice = painter_.deviceTransform();
  const QPointF offset(toDevice.dx(), toDevice.dy());
  const QPoint shift = offset.toPoint();
  if (!image || (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) ||
      toDevice.type() > QTransform::TxTranslate || QPointF(shift) != offset || painter_.hasClipping() ||
      painter_.opacity() != 1.0)
    return std::nullopt;
  QRect area = QRect(r.left, r.top, r.width(), r.height()).translated(shift).intersected(image->rect());
  // What the paint may reach there (device pixels; no system clip: the whole device), as
  // long as that is one rectangle.
  if (const QRegion reach = painter_.paintEngine()->systemClip(); !reach.isEmpty()) {
    const QRegion part = reach.intersected(area);
    if (part.rectCount() > 1) return std::nullopt;
    area = part.boundingRect();
  }
  if (area.isEmpty()) return rotateimage::LentPixels{};
  // The rows the painter itself writes, which the grab reads.
  const auto stride = static_cast<std::size_t>(image->bytesPerLine()) / sizeof(QRgb);
  auto* first = const_cast<QRgb*>(reinterpret_cast<const QRgb*>(image->constScanLine(area.top()))) + area.left();
  const rotateimage::PixelRows pixels(first, area.width(), area.height(), stride);
  if (image->format() == QImage::Format_ARGB32_Premultiplied)
    for (int y = 0; y < pixels.height(); ++y)
      if (!std::ranges::all_of(pixels.row(y), [](QRgb p) { return p >= rotateimage::Pixels::kOpaque; }))
        return std::nullopt;
  return rotateimage::LentPixels{pixels, {area.left() - shift.x(), area.top() - shift.y()}};
}

}  // namespace rotateimage::qt
