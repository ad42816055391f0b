// Readers that look at pictures independently of the code that drew them: zbar and ZXing
// for the symbols, libpng for files.
#pragma once

#include "test_support/grey.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace test_support {

struct Symbol {
    std::string type;  // zbar's symbology name, e.g. "EAN-13", "CODE-39"
    std::string data;
};

// Every symbol zbar finds in the picture, along rows and columns, with all symbologies on.
std::vector<Symbol> readSymbols(const Grey& picture);

// Every QR Code, Data Matrix and PDF417 symbol ZXing finds in the picture, its text in
// UTF-8 as the symbol's ECI (or, without one, the reader's guess) gives it; `type` is
// ZXing's name ("QRCode", "DataMatrix", "PDF417").
std::vector<Symbol> readMatrixSymbols(const Grey& picture);

// The same as text: "TYPE:data" per symbol, one line each.
std::string scan(const Grey& picture);

// Any PNG file as grey, through libpng's own conversions; nullopt when it does not read.
std::optional<Grey> readPng(const std::filesystem::path& path);

// A PNG file as it is stored: its header, palette and resolution as libpng reads them
// (every CRC checked), and each pixel's sample as it stands, unconverted.
struct PngFile {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0;                                          // PNG_COLOR_TYPE_...
    std::vector<std::array<std::uint8_t, 3>> palette;            // red, green, blue
    std::optional<std::array<std::uint32_t, 2>> pixelsPerMetre;  // x, y; only in metres
    // One per pixel, top row first: a palette index, or 0xRRGGBB.
    std::vector<std::uint32_t> samples;

    std::uint32_t at(int x, int y) const {
        return samples[static_cast<std::size_t>(y * width + x)];
    }
};
std::optional<PngFile> readPngFile(std::span<const std::uint8_t> bytes);

}  // namespace test_support
