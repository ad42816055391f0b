// Stand-ins for the desktop services, and the pictures they are given as the shared
// readers see them.
#pragma once

#include "platform/bitmap.h"
#include "platform/services.h"
#include "test_support/readers.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lorrin::test {

// A fault that repeats a call without end must fail the test that meets it, not take all
// memory or run until the test is killed: what a fake keeps, and how often it answers, is
// bounded.  Past a bound the fake reports a failure and throws Runaway, which ends the
// test (gtest reports the exception too) and lets the next one run.
inline constexpr std::size_t kPictureLimit = 100;   // pictures, each up to megabytes
inline constexpr std::size_t kCallLimit = 10'000;   // sounds, beeps, notifications
inline constexpr std::size_t kReadLimit = 100'000;  // clipboard reads of one test

struct Runaway : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void runaway(std::string_view what, std::size_t limit) {
    const std::string message = "more than " + std::to_string(limit) + " " + std::string(what) +
                                ": a call repeats without end";
    ADD_FAILURE() << message;
    throw Runaway(message);
}

// Keeps `value` in `into`, which holds `limit` at most.
template <class T, class V>
void collect(std::vector<T>& into, V&& value, std::size_t limit, std::string_view what) {
    if (into.size() >= limit) runaway(what, limit);
    into.emplace_back(std::forward<V>(value));
}

// Counts one more of what may happen `limit` times.
inline void count(std::size_t& calls, std::size_t limit, std::string_view what) {
    if (calls >= limit) runaway(what, limit);
    ++calls;
}

class FakeClipboard : public platform::Clipboard {
public:
    std::vector<platform::Picture> pictures;
    bool hasText() const override {
        count(reads_, kReadLimit, "clipboard reads");
        return false;
    }
    std::string text() const override {
        count(reads_, kReadLimit, "clipboard reads");
        return {};
    }
    void empty() override {}
    bool setPicture(const platform::Picture& picture) override {
        collect(pictures, picture, kPictureLimit, "pictures on the clipboard");
        return true;
    }

private:
    mutable std::size_t reads_ = 0;
};

class FakeSound : public platform::Sound {
public:
    std::vector<std::string> played;
    void playAsync(std::string_view path) override {
        collect(played, path, kCallLimit, "sounds played");
    }
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
