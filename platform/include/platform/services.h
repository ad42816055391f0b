// The desktop services the program uses, as abstract interfaces: the desktop program
// implements them with its toolkit, the command-line tool and the tests with plain
// objects.  Every call is made from the one thread that owns the window.
#pragma once

#include "platform/bitmap.h"

#include <string>
#include <string_view>

namespace platform {

// A picture as the clipboard takes it: the bitmap with its palette, the same picture as an
// SVG document for programs that paste vector pictures, and the resolution both are drawn
// for (dots per inch), which gives them the same size on paper.
struct Picture {
    Bitmap bitmap;
    std::string svg;
    int dpi = 96;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // True when the clipboard offers plain text.
    virtual bool hasText() const = 0;
    // The whole plain text ("" when there is none).
    virtual std::string text() const = 0;
    // Removes every format.
    virtual void empty() = 0;
    // Replaces the contents with the picture in each of its forms.  False when the
    // picture did not get there (another program kept the clipboard, a file could not be
    // written).
    virtual bool setPicture(const Picture& picture) = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    // Starts playing a WAV file and returns at once.  An empty path, or a file that
    // cannot be played, plays the desktop's default sound instead.
    virtual void playAsync(std::string_view wavPath) = 0;
};

// Alert sounds by the kind of message they go with.
enum class BeepKind { kDefault = 0x00, kError = 0x10 };

class Beep {
public:
    virtual ~Beep() = default;
    virtual void beep(BeepKind kind) = 0;
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Opens the document; a viewer that cannot start is not reported.
    virtual void open(std::string_view document) = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

class Screen {
public:
    virtual ~Screen() = default;
    // The primary screen's size in pixels.
    virtual ScreenSize size() const = 0;
};

}  // namespace platform
