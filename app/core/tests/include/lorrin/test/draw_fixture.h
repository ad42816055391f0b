// A test that draws codes the way the main window does, into a fake clipboard.
#pragma once

#include "lorrin/draw.h"
#include "lorrin/main_view.h"
#include "lorrin/settings.h"
#include "lorrin/test/fakes.h"
#include "matrix/matrix.h"
#include "platform/font.h"
#include "rotateimage/rotate_image.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace lorrin::test {

class DrawTest : public ::testing::Test {
protected:
    // Draws `code` as list entry `type` at `angle` with the current settings.
    int draw(int type, std::string_view code, int angle = 0) {
        view.type = type;
        view.angle = angle;
        view.code = std::string(code);
        return DrawBarcode(settings, view, services);
    }
    // The last picture put on the clipboard.
    Grey picture() const { return toGrey(clipboard.pictures.back().bitmap); }

    Settings settings;
    ViewState view;
    FakeClipboard clipboard;
    FakeSound sound;
    platform::FontEngine fonts;
    rotateimage::TRotateImage rImage;
    matrix::Encoder encoder;
    DrawServices services{clipboard, sound, fonts, rImage, encoder};
};

}  // namespace lorrin::test
