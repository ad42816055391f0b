#include "lorrin/draw.h"

#include "lorrin/ansi_text.h"
#include "lorrin/status.h"
#include "kelda.hpp"
#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace lorrin {
namespace {

// NW-7, Code39 and ITF keep the typed text in the edit box (it lacks the start/stop and
// check characters ReadableText adds); every other entry shows ReadableText.
bool rewritesCode(int typeIndex) { return typeIndex <= 0 || typeIndex >= 4; }

bool fitsPicture(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

struct SidePart {
    std::int64_t length;
    PictureSetting setting;
};

// The setting behind the longest part of a side (the first of equals).
PictureSetting longestPart(std::initializer_list<SidePart> parts) {
    return std::max(parts, [](const SidePart& a, const SidePart& b) { return a.length < b.length; })
        .setting;
}

// Which setting makes a picture of `width` x `height` impossible.  Across, the bars or
// the readable line; down, the bars, the guard bars' extra or the line.  A picture whose
// bars are too wide at one pixel a module is the code's doing: kNone.
PictureSetting oversizedBy(std::int64_t width, std::int64_t height, std::int64_t barsWidth,
                           const Settings& settings, const BarcodeLayout& layout) {
    if (height < 1) return PictureSetting::kGuardExtra;  // only a negative extra gets here
    const bool across = width > kMaxPictureSide || (height <= kMaxPictureSide && width >= height);
    if (!across)
        return longestPart({{settings.barHeight, PictureSetting::kBarHeight},
                            {settings.guardExtra, PictureSetting::kGuardExtra},
                            {layout.textHeight, PictureSetting::kFontSize}});
    if (layout.textWidth >= barsWidth) return PictureSetting::kFontSize;
    return settings.narrowWidth > 1 ? PictureSetting::kNarrowWidth : PictureSetting::kNone;
}

const Composition& unusable(Composition& out, PictureSetting setting) {
    out.result = kUnusableSettings;
    out.unusable = setting;
    return out;
}

}  // namespace

Composition composeBarcode(const Settings& settings, int typeIndex, std::string_view code,
                           platform::FontEngine& fonts) {
    Composition out;
    // The library reads the code in the users' code page.
    const kelda::Encoded encoded = kelda::encode(typeIndex, toCp932(code), settings.checkSum != 0,
                                                 settings.wideRatio, settings.charGap);
    out.result = encoded.result;
    if (!encoded.ok()) return out;
    out.readableText = encoded.readableText;
    out.rewritesCode = rewritesCode(typeIndex);

    const std::int64_t n = settings.narrowWidth;
    const std::int64_t h = settings.barHeight;
    const std::int64_t g = settings.guardExtra;
    const std::int64_t normalEnd = h + kTopMargin;
    const std::int64_t longEnd = h + g + kTopMargin;
    const std::int64_t baseWidth = n * (encoded.moduleCount + 2 * kQuietModules);
    std::int64_t x = kQuietModules * n;

    if (n < 1) return unusable(out, PictureSetting::kNarrowWidth);
    if (h < 1) return unusable(out, PictureSetting::kBarHeight);
    BarcodeLayout& layout = out.layout;
    std::int64_t width = baseWidth;
    std::int64_t height = h + g + 2 * kTopMargin;
    std::int64_t textX = 0;
    std::int64_t tw = 0;
    if (settings.ocrDisp != 0) {
        platform::RasterFont* font = fonts.font(settings.fontName, settings.fontSize);
        if (font == nullptr) {
            // A line below one pixel or beyond any picture is the size's fault, else the face's.
            const int pixels = platform::pointsToPixels(settings.fontSize);
            const bool sizeAtFault = pixels < 1 || pixels > kMaxPictureSide;
            return unusable(out,
                            sizeAtFault ? PictureSetting::kFontSize : PictureSetting::kFontName);
        }
        layout.showText = true;
        layout.text = (settings.addSum != 0 || out.rewritesCode) ? encoded.readableText
                                                                  : std::string(code);
        tw = font->textWidth(layout.text);
        layout.textHeight = font->height();
        if (baseWidth > tw) {
            textX = (baseWidth - tw) / 2;
        } else {
            // The line is the wider: it gets the quiet zones and the bars are centred under it.
            width = 2 * kQuietModules * n + tw;
            textX = kQuietModules * n;
            x = 2 * kQuietModules * n + (tw - baseWidth) / 2;
        }
        height += layout.textHeight;
        layout.textY = static_cast<int>(typeIndex == 0 ? longEnd : normalEnd);
    }
    layout.textWidth = static_cast<int>(tw);
    if (!fitsPicture(width, height))
        return unusable(out, oversizedBy(width, height, baseWidth, settings, layout));
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    layout.textX = static_cast<int>(textX);

    const auto& widths = encoded.elementWidths;
    // Past the right edge nothing more shows, and x stops before it could overflow.
    for (std::size_t i = 0; i < widths.size() && x < width; ++i) {
        const std::int64_t w = std::llabs(static_cast<std::int64_t>(widths[i])) * n;
        const std::int64_t bottom = widths[i] < 0 ? longEnd : normalEnd;
        // A bar with no rows (a negative guard height) or beyond the picture leaves no trace.
        if (i % 2 == 0 && w > 0 && bottom > kTopMargin)
            layout.bars.push_back({x, w, static_cast<int>(std::min(bottom, height))});
        x += w;
    }
    return out;
}

platform::Bitmap paintBarcode(const BarcodeLayout& layout, const Settings& settings,
                              platform::FontEngine& fonts) {
    platform::Bitmap picture(layout.width, layout.height, 4);
    platform::Canvas canvas(picture, fonts);
    canvas.fillRect({0, 0, layout.width, layout.height});
    // Each bar covers its columns from row 5 down to its end.  Between two bar ends every
    // row is the same, so each such band is painted once and its first row copied down.
    std::vector<int> ends;
    for (const Bar& bar : layout.bars) ends.push_back(bar.bottom);
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    canvas.brush.color = platform::kBlack;
    int top = kTopMargin;
    for (const int end : ends) {
        for (const Bar& bar : layout.bars) {
            if (bar.bottom < end) continue;
            const std::int64_t right = std::min<std::int64_t>(bar.x + bar.width, layout.width);
            canvas.fillRect({static_cast<int>(bar.x), top, static_cast<int>(right), top + 1});
        }
        const auto first = picture.row(top);
        for (int y = top + 1; y < end; ++y) std::copy(first.begin(), first.end(), picture.row(y).begin());
        top = end;
    }
    canvas.brush.color = platform::kWhite;
    if (layout.showText) {
        canvas.font = {settings.fontName, settings.fontSize, platform::kBlack};
        canvas.textOut(layout.textX, layout.textY, layout.text);
    }
    return picture;
}

int DrawBarcode(const Settings& settings, MainView& view, DrawServices& services) {
    const int typeIndex = view.typeIndex();
    const Composition drawn =
        composeBarcode(settings, typeIndex, view.codeText(), services.fonts);
    ShowStatus(view, drawn.result);
    if (!drawn.ok()) {
        if (settings.soundOn != 0) services.sound.playAsync(settings.soundNg);
        return drawn.result;
    }
    if (drawn.rewritesCode) view.setCodeText(drawn.readableText);

    platform::Bitmap picture = paintBarcode(drawn.layout, settings, services.fonts);
    rotatePicture(picture, view.angleIndex(), services.rImage);
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
