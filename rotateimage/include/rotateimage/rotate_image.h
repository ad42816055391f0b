// TCustomRotateImage and TRotateImage: a graphic control that holds an image as DIB
// buffers and shows it rotated, scaled, recoloured and masked.  The program uses one
// hidden instance to turn its pictures (set Bitmap, set Angle, SaveToBitmap).
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <vector>

#include "platform/bitmap.h"
#include "rotateimage/canvas.h"
#include "rotateimage/dib_buffer.h"
#include "rotateimage/paint.h"
#include "rotateimage/rotation_engine.h"
#include "rotateimage/system_colours.h"

namespace rotateimage {

enum class TTransparentMode { tmAuto, tmFixed };
enum class TRotateImageDispMode { ridmMask, ridmRegion };
using TRotateImagePrintQuality = int;  // 1..16
using TTrnsIndex = int;                // 0..7

// The window a control sits in: it repaints the parts the control invalidates.
class ControlParent {
 public:
  virtual ~ControlParent() = default;
  virtual void invalidateRect(const Rect& r, bool erase) = 0;
};

class TCustomRotateImage {
 public:
  TCustomRotateImage();
  virtual ~TCustomRotateImage() = default;
  TCustomRotateImage(const TCustomRotateImage&) = delete;
  TCustomRotateImage& operator=(const TCustomRotateImage&) = delete;

  // --- the control's place ----------------------------------------------------------
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void SetParent(ControlParent* parent) { parent_ = parent; }
  ControlParent* Parent() const { return parent_; }
  // Form designer and streaming states: no render while loading, Loaded renders once.
  bool Designing() const { return designing_; }
  void SetDesigning(bool designing) { designing_ = designing; }
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  virtual void Loaded();
  // Repaints the whole control.
  void Invalidate();

  // --- images (DIB buffers) -------------------------------------------------------------
  void LoadFromBitmap(const platform::Bitmap& bitmap);
  // Reads one DIB file image at the stream's position; an unusable image leaves the
  // component empty and the position unchanged.
  void LoadFromStream(std::istream& stream);
  void LoadFromFile(const std::filesystem::path& path);
  // The rotated image, background pixels in `colour`; an empty component empties the bitmap.
  void SaveToBitmap(platform::Bitmap& bitmap, TColor colour);
  void SaveToStream(std::ostream& stream, TColor colour);
  // Replaces the file (a link's target) with the saved image; a file that may not be
  // written, or any other failure, throws std::system_error with the system's reason and
  // leaves the file as it was.
  void SaveToFile(const std::filesystem::path& path, TColor colour);
  void ClearImage();

  const DibBuffer& Source() const { return FSource; }
  const DibBuffer& Rotated() const { return FRotated; }
  const DibBuffer& Mask() const { return FMask; }
  const DibBuffer& SketchDib() const { return FSketchDib; }

  // --- rendering ------------------------------------------------------------------------
  // Refused, changing nothing, for a singular matrix, the stored one, or one whose picture
  // of the current source would exceed the pixel limit.
  void SetDimension(float colStepX, float colStepY, float rowStepX, float rowStepY);
  Dimension GetDimension() const { return dimension_; }
  // Renders the rotated picture and its mask; true when a render took place (not deferred,
  // a source, a picture within the limits).
  bool UpdateImage(bool whiteFill);
  bool ExecuteDimension(const DibBuffer& source, std::uint32_t transparent, bool whiteFill);
  std::uint32_t ColorCode() const { return colorCode_; }
  void SetColorCode(std::uint32_t code);
  // How many renders ran (ExecuteDimension calls that produced an image).
  int RenderCount() const { return renderCount_; }

  int BeginUpdate();
  int EndUpdate();
  void InvalidateMask();
  void OffsetPivot(Point& point) const;

  // --- painting -------------------------------------------------------------------------
  virtual void Paint(Canvas& canvas);
  void PaintTo(Canvas& canvas, Point centre);
  // 1 when the point (client coordinates) hits the control, 0 when it falls through.
  int CMHitTest(Point point) const;

  // --- properties -----------------------------------------------------------------------
  bool Sketch() const { return sketch_; }
  void SetSketch(bool value);
  TTrnsIndex TrnsIndex() const { return trnsIndex_; }
  void SetTrnsIndex(TTrnsIndex value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);
  bool TransparentModeIsFixed() const { return transparentMode_ == TTransparentMode::tmFixed; }
  bool TransparentMouse() const { return transparentMouse_; }
  void SetTransparentMouse(bool value) { transparentMouse_ = value; }
  bool Negative() const { return negative_; }
  void SetNegative(bool value);
  bool Pivot() const { return pivot_; }
  void SetPivot(bool value);
  int PivotX() const { return pivotX_; }
  void SetPivotX(int value);
  int PivotY() const { return pivotY_; }
  void SetPivotY(int value);
  // The colours the system colour indices stand for, in the transparent colour and the
  // background colour of a save.
  const SystemColours& GetSystemColours() const { return systemColours_; }
  void SetSystemColours(const SystemColours& colours);
  TRotateImagePrintQuality PrintQuality() const { return printQuality_; }
  void SetPrintQuality(TRotateImagePrintQuality value);
  TRotateImageDispMode DispMode() const { return dispMode_; }
  void SetDispMode(TRotateImageDispMode value);

 private:
  bool validSource() const { return IsValidDib(FSource); }
  // The matrix's picture of the source stays within the size limits (always, without one).
  bool fitsSource(const Dimension& d) const;
  void buildSketchIfWanted();
  std::uint32_t transparentValue() const;
  std::optional<OutputSize> maskSize() const;
  Point pivotShift() const;
  // What the draw step shows: the design-time frame round the client area, the picture.
  bool showsFrame() const;
  bool showsPicture() const;
  // Where the picture centred on `centre` (moved by the pivot) lies; only with a picture.
  Rect pictureRect(Point centre) const;
  void drawStep(Canvas& canvas);
  void PaintMixed(Canvas& canvas, int level);
  void DrawMixRect(Canvas& canvas, const Rect& rect, int level);
  void paintClipped(Canvas& canvas, Point topLeft);
  void writeRotated(std::ostream& stream, std::uint32_t colour);

  Dimension dimension_;
  DibBuffer FRotated;
  DibBuffer FMask;
  DibBuffer FSource;
  // Names the content of FRotated and FMask: a new one at every change of either.
  std::uint64_t pictureStamp_ = 0;
  // The picture as see-through painting draws it, made once per render.
  PixelsCache mixCache_;
  bool transparent_ = false;
  TColor transparentColor_ = clBlack;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  bool transparentMouse_ = false;
  std::uint32_t colorCode_ = 0;
  bool negative_ = false;
  bool pivot_ = false;
  int pivotX_ = 0;
  int pivotY_ = 0;
  TRotateImagePrintQuality printQuality_ = 4;
  TRotateImageDispMode dispMode_ = TRotateImageDispMode::ridmMask;
  TTrnsIndex trnsIndex_ = 0;
  SystemColours systemColours_;
  bool sketch_ = false;
  DibBuffer FSketchDib;
  int FUpdateCount = 0;

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool designing_ = false;
  bool loading_ = false;
  ControlParent* parent_ = nullptr;
  int renderCount_ = 0;
};

class TRotateImage : public TCustomRotateImage {
 public:
  TRotateImage() = default;

  int Angle() const;
  void SetAngle(int degrees);
  int AngleEx() const;
  void SetAngleEx(int tenths);
  int Zoom() const;
  void SetZoom(int percent);
  bool Monochrome() const { return ColorCode() == kMonochromeCode; }
  void SetMonochrome(bool value);
  bool Sepia() const { return ColorCode() == kSepiaCode; }
  void SetSepia(bool value);
  const platform::Bitmap& Bitmap() const { return bitmap_; }
  // Copies the picture in and takes it as the new source.
  void SetBitmap(const platform::Bitmap& bitmap);

 private:
  // Sets the matrix for `angle` and `zoom`, and keeps them when it is taken.
  void turnTo(float angle, float zoom);

  float angle_ = 0.0f;  // radians
  platform::Bitmap bitmap_;
  float zoom_ = 1.0f;
};

}  // namespace rotateimage
