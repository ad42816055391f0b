// Stand-ins for the desktop services, and the pictures they are given as the shared
// readers see them.
#pragma once

#include "platform/bitmap.h"
#include "platform/services.h"
#include "test_support/readers.h"

#include <string>
#include <vector>

namespace lorrin::test {

class FakeClipboard : public platform::Clipboard {
public:
    std::vector<platform::Picture> pictures;
    bool hasText() const override { return false; }
    std::string text() const override { return {}; }
    void empty() override {}
    bool setPicture(const platform::Picture& picture) override {
        pictures.push_back(picture);
        return true;
    }
};

class FakeSound : public platform::Sound {
public:
    std::vector<std::string> played;
    void playAsync(std::string_view path) override { played.emplace_back(path); }
};

class FakeScreen : public platform::Screen {
public:
    platform::ScreenSize screen{1024, 768};
    platform::ScreenSize size() const override { return screen; }
};

// The shared readers, under the names the app's tests use.
using test_support::Grey;
using test_support::readPng;
using test_support::scan;

// A picture as the readers see it: the mean of its three channels.
inline Grey toGrey(const platform::Bitmap& picture) {
    Grey g{picture.width(), picture.height(), {}};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t p = picture.pixel(x, y);
            const platform::Rgb c =
                picture.bitsPerPixel() == 24
                    ? platform::Rgb{static_cast<std::uint8_t>(p >> 16),
                                    static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)}
                    : picture.palette().at(p);
            g.pixels.push_back(static_cast<std::uint8_t>((c.red + c.green + c.blue) / 3));
        }
    }
    return g;
}

}  // namespace lorrin::test
