#include "lorrin/draw.h"

#include "lorrin/ansi_text.h"
#include "lorrin/choices.h"
#include "lorrin/picture_files.h"
#include "lorrin/status.h"
#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <optional>

namespace lorrin {
namespace {

// NW-7, Code39 and ITF keep the typed text in the edit box (it lacks the start/stop and
// check characters ReadableText adds); every other entry shows ReadableText.
bool rewritesCode(int typeIndex) {
    return typeIndex != kNw7 && typeIndex != kCode39 && typeIndex != kItf;
}

// The first row below a normal bar and below a guard bar.
std::int64_t normalBarEnd(const Settings& s) { return std::int64_t{s.barHeight} + kTopMargin; }
std::int64_t longBarEnd(const Settings& s) { return normalBarEnd(s) + s.guardExtra; }

// The picture's size and where its bars and line start, before the picture is known to
// fit: a side may lie beyond any int.
struct Extent {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t barsX = 0;  // the first bar's column
    std::int64_t textX = 0;
};

bool fits(const Extent& e) {
    return e.width >= 1 && e.height >= 1 && e.width <= kMaxPictureSide &&
           e.height <= kMaxPictureSide && e.width * e.height <= kMaxPicturePixels;
}

struct SidePart {
    std::int64_t length;
    SettingsField setting;
};

// The setting behind the longest part of a side (the first of equals).
SettingsField longestPart(std::initializer_list<SidePart> parts) {
    return std::max(parts, [](const SidePart& a, const SidePart& b) { return a.length < b.length; })
        .setting;
}

// Which setting makes a picture of this extent impossible.  Across, the bars or the
// readable line; down, the bars, the guard bars' extra or the line.  A picture whose bars
// are too wide at one pixel a module is the code's doing: none.
std::optional<SettingsField> oversizedBy(const Extent& e, std::int64_t baseWidth,
                                         const Settings& settings, const BarcodeLayout& layout) {
    if (e.height < 1) return &Settings::guardExtra;  // only a negative extra gets here
    const bool across =
        e.width > kMaxPictureSide || (e.height <= kMaxPictureSide && e.width >= e.height);
    if (!across)
        return longestPart({{settings.barHeight, &Settings::barHeight},
                            {settings.guardExtra, &Settings::guardExtra},
                            {layout.textHeight, &Settings::fontSize}});
    if (layout.textWidth >= baseWidth) return &Settings::fontSize;
    if (settings.narrowWidth > 1) return &Settings::narrowWidth;
    return std::nullopt;
}

// A font that cannot be opened: a line below one pixel or beyond any picture is the
// size's fault, else the face's.
SettingsField unusableFont(std::int32_t points) {
    const int pixels = platform::pointsToPixels(points);
    if (pixels < 1 || pixels > kMaxPictureSide) return &Settings::fontSize;
    return &Settings::fontName;
}

const Composition& unusable(Composition& out, std::optional<SettingsField> setting) {
    out.result = kUnusableSettings;
    out.unusable = setting;
    return out;
}

// Lays the readable line out in `font` at row `textY` and makes room for it: a line
// narrower than the symbol with its quiet zones (`baseWidth`) is centred under it; a wider
// one takes quiet zones of `quietZone` itself and the symbol is centred over it.
void layOutText(std::string_view text, platform::RasterFont& font, std::int64_t textY,
                std::int64_t quietZone, std::int64_t baseWidth, Extent& extent,
                BarcodeLayout& layout) {
    const std::int64_t tw = font.textWidth(text);
    layout.showText = true;
    layout.text = std::string(text);
    layout.textWidth = static_cast<int>(tw);
    layout.textHeight = font.height();
    layout.textAscent = font.ascent();
    layout.textY = static_cast<int>(textY);
    if (baseWidth > tw) {
        extent.textX = (baseWidth - tw) / 2;
    } else {
        extent.width = 2 * quietZone + tw;
        extent.textX = quietZone;
        extent.barsX = 2 * quietZone + (tw - baseWidth) / 2;
    }
    extent.height += layout.textHeight;
}

// The bars of the elements from the extent's first bar column on: a module is
// `narrowWidth` columns, a guard element reaches down to the long bar end.
void layOutBars(const std::vector<std::int32_t>& widths, const Settings& settings,
                const Extent& extent, std::vector<Bar>& bars) {
    std::int64_t x = extent.barsX;
    // Past the right edge nothing more shows, and x stops before it could overflow.
    for (std::size_t i = 0; i < widths.size() && x < extent.width; ++i) {
        const std::int64_t w = std::llabs(std::int64_t{widths[i]}) * settings.narrowWidth;
        const std::int64_t bottom = widths[i] < 0 ? longBarEnd(settings) : normalBarEnd(settings);
        // A bar with no rows (a negative guard height) or beyond the picture leaves no trace.
        if (i % 2 == 0 && w > 0 && bottom > kTopMargin)
            bars.push_back({x, w, static_cast<int>(std::min(bottom, extent.height))});
        x += w;
    }
}

// Text as SVG character data or an attribute value, well-formed whatever it holds: a byte
// that is no part of valid UTF-8 (a font name typed on a command line may be anything) and
// the two non-characters XML excludes (U+FFFE, U+FFFF) become U+FFFD.
std::string xmlEscaped(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const char c = text.front();
        if (static_cast<unsigned char>(c) >= 0x80) {
            const std::size_t length = utf8SequenceLength(text);
            const std::string_view sequence = text.substr(0, length);
            const bool excluded =
                length == 0 || sequence == "\xEF\xBF\xBE" || sequence == "\xEF\xBF\xBF";
            out += excluded ? std::string_view("\xEF\xBF\xBD") : sequence;
            text.remove_prefix(std::max<std::size_t>(length, 1));
            continue;
        }
        text.remove_prefix(1);
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control characters have no place in XML 1.0.
                out += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
        }
    }
    return out;
}

// The first two-dimensional setting outside its range.
std::optional<SettingsField> unusableMatrixSetting(const Settings& s) {
    const auto within = [](std::int32_t value, std::int32_t low, std::int32_t high) {
        return value >= low && value <= high;
    };
    if (!within(s.qrLevel, 0, 3)) return &Settings::qrLevel;
    if (!within(s.qrVersion, 0, matrix::kQrVersionMax)) return &Settings::qrVersion;
    if (!within(s.dmShape, 0, 1)) return &Settings::dmShape;
    if (s.pdfLevel != 0 && !within(s.pdfLevel, matrix::kPdf417LevelMin, matrix::kPdf417LevelMax))
        return &Settings::pdfLevel;
    if (!within(s.pdfColumns, 0, matrix::kPdf417ColumnsMax)) return &Settings::pdfColumns;
    return std::nullopt;
}

// The text as one readable line: a line end or another control character shows as a space.
std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

// The dark runs of each row of modules from (x, y), `n` pixels a module; a row the same
// as the one above lengthens that row's runs.
void layOutModules(const matrix::Grid& grid, std::int64_t n, std::int64_t x, std::int64_t y,
                   std::vector<Bar>& bars) {
    std::size_t rowStart = bars.size();
    for (int row = 0; row < grid.height; ++row) {
        const int top = static_cast<int>(y + row * n);
        const int bottom = static_cast<int>(top + n);
        const auto cells = grid.dark.begin() + static_cast<std::ptrdiff_t>(row) * grid.width;
        if (row > 0 && std::equal(cells, cells + grid.width, cells - grid.width)) {
            for (std::size_t i = rowStart; i < bars.size(); ++i) bars[i].bottom = bottom;
            continue;
        }
        rowStart = bars.size();
        for (int col = 0; col < grid.width;) {
            if (cells[col] == 0) {
                ++col;
                continue;
            }
            const int first = col;
            while (col < grid.width && cells[col] != 0) ++col;
            bars.push_back({x + first * n, (col - first) * n, bottom, top});
        }
    }
}

// Which setting makes a two-dimensional picture of this extent impossible: the readable
// line where it is the longer part of the side, else the module size; none at one pixel a
// module (the text is too long for a picture).
std::optional<SettingsField> matrixOversizedBy(const Extent& e, std::int64_t symbolWidth,
                                               std::int64_t symbolHeight,
                                               const Settings& settings,
                                               const BarcodeLayout& layout) {
    const bool across =
        e.width > kMaxPictureSide || (e.height <= kMaxPictureSide && e.width >= e.height);
    const bool text = across ? layout.textWidth >= symbolWidth : layout.textHeight >= symbolHeight;
    if (layout.showText && text) return &Settings::fontSize;
    if (settings.narrowWidth > 1) return &Settings::narrowWidth;
    return std::nullopt;
}

Composition composeMatrix(const Settings& settings, int typeIndex, std::string_view code,
                          platform::FontEngine& fonts, matrix::Encoder& encoder) {
    Composition out;
    if (const auto setting = unusableMatrixSetting(settings)) return unusable(out, setting);
    const matrix::Encoded encoded =
        encoder.encode(matrixSymbology(typeIndex), code, matrixOptions(settings));
    out.result = matrixResult(encoded, typeIndex);
    if (!encoded.ok()) {
        if (out.result != kUnusableSettings)
            out.refusalText = matrixRefusalText(encoded, typeIndex, settings.qrVersion);
        return out;
    }
    out.readableText = std::string(code);
    if (settings.narrowWidth < 1) return unusable(out, &Settings::narrowWidth);

    const std::int64_t n = settings.narrowWidth;
    const std::int64_t quiet = std::int64_t{matrix::quietModules(matrixSymbology(typeIndex))} * n;
    const std::int64_t symbolWidth = encoded.grid.width * n;
    const std::int64_t symbolHeight = encoded.grid.height * n;
    const std::int64_t baseWidth = symbolWidth + 2 * quiet;
    Extent extent{baseWidth, symbolHeight + 2 * quiet, quiet, 0};
    if (settings.matrixText != 0) {
        platform::RasterFont* font = fonts.font(settings.fontName, settings.fontSize);
        if (font == nullptr) return unusable(out, unusableFont(settings.fontSize));
        layOutText(oneLine(code), *font, extent.height, quiet, baseWidth, extent, out.layout);
    }
    if (!fits(extent))
        return unusable(out,
                        matrixOversizedBy(extent, symbolWidth, symbolHeight, settings, out.layout));
    out.layout.width = static_cast<int>(extent.width);
    out.layout.height = static_cast<int>(extent.height);
    out.layout.textX = static_cast<int>(extent.textX);
    layOutModules(encoded.grid, n, extent.barsX, quiet, out.layout.bars);
    return out;
}

}  // namespace

kelda::Encoded encodeBarcode(const Settings& settings, int typeIndex, std::string_view code) {
    // The library reads the code in the users' code page.
    return kelda::encode(typeIndex, toCp932(code), settings.checkSum != 0, settings.wideRatio,
                         settings.charGap);
}

matrix::Symbology matrixSymbology(int typeIndex) {
    if (typeIndex == kDataMatrix) return matrix::Symbology::kDataMatrix;
    if (typeIndex == kPdf417) return matrix::Symbology::kPdf417;
    return matrix::Symbology::kQr;
}

matrix::Options matrixOptions(const Settings& settings) {
    matrix::Options o;
    o.qrLevel = static_cast<matrix::QrLevel>(settings.qrLevel);
    o.qrVersion = settings.qrVersion;
    o.qrUtf8 = settings.qrUtf8 != 0;
    o.dataMatrixShape = settings.dmShape == 1 ? matrix::DataMatrixShape::kRectangle
                                              : matrix::DataMatrixShape::kSquare;
    o.pdf417Level = settings.pdfLevel;
    o.pdf417Columns = settings.pdfColumns;
    return o;
}

Composition composeBarcode(const Settings& settings, int typeIndex, std::string_view code,
                           platform::FontEngine& fonts) {
    matrix::Encoder encoder;
    return composeBarcode(settings, typeIndex, code, fonts, encoder);
}

Composition composeBarcode(const Settings& settings, int typeIndex, std::string_view code,
                           platform::FontEngine& fonts, matrix::Encoder& encoder) {
    if (isMatrix(typeIndex)) return composeMatrix(settings, typeIndex, code, fonts, encoder);
    Composition out;
    const kelda::Encoded encoded = encodeBarcode(settings, typeIndex, code);
    out.result = encoded.result;
    if (!encoded.ok()) return out;
    out.readableText = encoded.readableText;
    out.rewritesCode = rewritesCode(typeIndex);
    if (settings.narrowWidth < 1) return unusable(out, &Settings::narrowWidth);
    if (settings.barHeight < 1) return unusable(out, &Settings::barHeight);

    const std::int64_t n = settings.narrowWidth;
    const std::int64_t baseWidth = n * (encoded.moduleCount + 2 * kQuietModules);
    Extent extent{baseWidth, longBarEnd(settings) + kTopMargin, kQuietModules * n, 0};
    if (settings.ocrDisp != 0) {
        platform::RasterFont* font = fonts.font(settings.fontName, settings.fontSize);
        if (font == nullptr) return unusable(out, unusableFont(settings.fontSize));
        const bool readable = settings.addSum != 0 || out.rewritesCode;
        layOutText(readable ? std::string_view(encoded.readableText) : code, *font,
                   typeIndex == kJanUpc ? longBarEnd(settings) : normalBarEnd(settings),
                   std::int64_t{kQuietModules} * n, baseWidth, extent, out.layout);
    }
    if (!fits(extent)) return unusable(out, oversizedBy(extent, baseWidth, settings, out.layout));
    out.layout.width = static_cast<int>(extent.width);
    out.layout.height = static_cast<int>(extent.height);
    out.layout.textX = static_cast<int>(extent.textX);
    layOutBars(encoded.elementWidths, settings, extent, out.layout.bars);
    return out;
}

platform::Bitmap paintBarcode(const BarcodeLayout& layout, const Settings& settings,
                              platform::FontEngine& fonts) {
    platform::Bitmap picture(layout.width, layout.height, 4);
    platform::Canvas canvas(picture, fonts);
    canvas.fillRect({0, 0, layout.width, layout.height});
    canvas.brush.color = platform::kBlack;
    // The bars come in groups of one top (a bar code's one group, a symbol's row of
    // modules).  Each bar covers its columns from its top down to its end: between two bar
    // ends of a group every row is the same, so each such band is painted once and its
    // first row copied down.
    std::vector<int> ends;
    for (auto group = layout.bars.begin(); group != layout.bars.end();) {
        const auto groupEnd = std::find_if(group, layout.bars.end(),
                                           [&](const Bar& bar) { return bar.top != group->top; });
        ends.clear();
        for (auto bar = group; bar != groupEnd; ++bar) ends.push_back(bar->bottom);
        std::sort(ends.begin(), ends.end());
        ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
        int top = group->top;
        for (const int end : ends) {
            for (auto bar = group; bar != groupEnd; ++bar) {
                if (bar->bottom < end) continue;
                const std::int64_t right = std::min<std::int64_t>(bar->x + bar->width, layout.width);
                canvas.fillRect({static_cast<int>(bar->x), top, static_cast<int>(right), top + 1});
            }
            const auto first = picture.row(top);
            for (int y = top + 1; y < end; ++y)
                std::copy(first.begin(), first.end(), picture.row(y).begin());
            top = end;
        }
        group = groupEnd;
    }
    canvas.brush.color = platform::kWhite;
    if (layout.showText) {
        canvas.font = {settings.fontName, settings.fontSize, platform::kBlack};
        canvas.textOut(layout.textX, layout.textY, layout.text);
    }
    return picture;
}

namespace {

// `pixels` at `dpi` in units of which an inch has `perInch`, in decimals rounded at the
// place `places` gives: exact for the usual resolutions (72, 96, 150, 200, 300, 600 and
// their like).  A side of 32,767 pixels in twelve places stays within 64 bits.
std::string inUnits(std::int64_t pixels, int perInch, int dpi,
                    std::int64_t places = 1'000'000) {
    const std::int64_t scaled = (pixels * perInch * places + dpi / 2) / dpi;
    std::string fraction = std::to_string(places + scaled % places).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    return std::to_string(scaled / places) + (fraction.empty() ? "" : "." + fraction);
}

// The view box and the scale into it keep twelve places: at the highest resolution a
// picture is a few millionths of an inch.
constexpr std::int64_t kFinePlaces = 1'000'000'000'000;

// Points (72 an inch) for width and height; CSS pixels (96 an inch), which programs that
// ignore both take the user units for, for the view box.
std::string points(int pixels, int dpi) { return inUnits(pixels, 72, dpi) + "pt"; }
std::string cssPixels(int pixels, int dpi) { return inUnits(pixels, 96, dpi, kFinePlaces); }

}  // namespace

std::string svgImage(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                     int dpi) {
    const int w = layout.width;
    const int h = layout.height;
    const int quarter = ((angleIndex % 4) + 4) % 4;
    const bool swapped = quarter % 2 == 1;
    // Clockwise on screen, as the raster pictures turn.
    static constexpr const char* kTurns[] = {"", "translate(%H 0) rotate(90)",
                                             "translate(%W %H) rotate(180)",
                                             "translate(0 %W) rotate(270)"};
    // The picture's pixels scaled to CSS pixels, then turned.
    std::string transform = dpi == kScreenDpi ? std::string()
                                              : "scale(" + inUnits(1, kScreenDpi, dpi, kFinePlaces) + ")";
    if (quarter != 0) transform += (transform.empty() ? "" : " ") + std::string(kTurns[quarter]);
    for (std::size_t at; (at = transform.find("%W")) != std::string::npos;)
        transform.replace(at, 2, std::to_string(w));
    for (std::size_t at; (at = transform.find("%H")) != std::string::npos;)
        transform.replace(at, 2, std::to_string(h));

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           points(swapped ? h : w, dpi) + "\" height=\"" + points(swapped ? w : h, dpi) +
           "\" viewBox=\"0 0 " + cssPixels(swapped ? h : w, dpi) + " " +
           cssPixels(swapped ? w : h, dpi) + "\" shape-rendering=\"crispEdges\">\n";
    svg += "<g" + (transform.empty() ? std::string() : " transform=\"" + transform + "\"") + ">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(w) + "\" height=\"" +
           std::to_string(h) + "\" fill=\"#fff\"/>\n";
    for (const Bar& bar : layout.bars) {
        const std::int64_t width = std::min<std::int64_t>(bar.width, w - bar.x);
        svg += "<rect x=\"" + std::to_string(bar.x) + "\" y=\"" + std::to_string(bar.top) +
               "\" width=\"" + std::to_string(width) + "\" height=\"" +
               std::to_string(bar.bottom - bar.top) + "\"/>\n";
    }
    if (layout.showText) {
        svg += "<rect x=\"" + std::to_string(layout.textX) + "\" y=\"" +
               std::to_string(layout.textY) + "\" width=\"" + std::to_string(layout.textWidth) +
               "\" height=\"" + std::to_string(layout.textHeight) + "\" fill=\"#fff\"/>\n";
        svg += "<text x=\"" + std::to_string(layout.textX) + "\" y=\"" +
               std::to_string(layout.textY + layout.textAscent) + "\" font-family=\"" +
               xmlEscaped(settings.fontName) + "\" font-size=\"" +
               std::to_string(platform::pointsToPixels(settings.fontSize)) + "\"" +
               // The line keeps the width it has in the raster pictures.
               (layout.textWidth > 0 ? " textLength=\"" + std::to_string(layout.textWidth) + "\""
                                     : std::string()) +
               " xml:space=\"preserve\">" + xmlEscaped(layout.text) + "</text>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

platform::Picture drawPicture(const BarcodeLayout& layout, int angleIndex, const Settings& settings,
                              int dpi, platform::FontEngine& fonts,
                              rotateimage::TRotateImage& rImage) {
    platform::Picture picture{paintBarcode(layout, settings, fonts),
                              svgImage(layout, angleIndex, settings, dpi), dpi};
    rotatePicture(picture.bitmap, angleIndex, rImage);
    return picture;
}

void ShowStatus(MainView& view, const Composition& composition) {
    if (composition.refusalText.empty())
        ShowStatus(view, composition.result);
    else
        view.setStatusText(composition.refusalText);
}

int DrawBarcode(const Settings& settings, MainView& view, DrawServices& services) {
    const int typeIndex = view.typeIndex();
    const Composition drawn = composeBarcode(settings, typeIndex, view.codeText(), services.fonts,
                                             services.matrixEncoder);
    ShowStatus(view, drawn);
    if (!drawn.ok()) {
        if (settings.soundOn != 0) services.sound.playAsync(settings.soundNg);
        return drawn.result;
    }
    if (drawn.rewritesCode) view.setCodeText(drawn.readableText);

    const platform::Picture picture = drawPicture(drawn.layout, view.angleIndex(), settings,
                                                  kScreenDpi, services.fonts, services.rImage);
    // A picture the clipboard did not take is reported, never tried again: another
    // program holds the clipboard now, and its contents are its own.
    if (!services.clipboard.setPicture(picture)) {
        ShowStatus(view, kClipboardRefused);
        if (settings.soundOn != 0) services.sound.playAsync(settings.soundNg);
        return kClipboardRefused;
    }
    if (settings.soundOn != 0) services.sound.playAsync(settings.soundOk);
    view.selectAllCode();
    return drawn.result;
}

}  // namespace lorrin
