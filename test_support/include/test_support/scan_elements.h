// Test helper: paints ElementWidths into a grey image and reads it back with zbar, the way
// a scanner would see the printed symbol.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelda::testing {

struct Scanned {
    std::string type;  // zbar's symbology name, e.g. "EAN-13", "CODE-39"
    std::string data;
};

// `elements` are the ElementCount entries before the terminator (magnitudes are widths in
// modules; signs are ignored).  Each module is `modulePixels` columns; a quiet zone of
// `quietModules` white modules stands on both sides.
std::vector<Scanned> scanElements(std::span<const std::int32_t> elements, int modulePixels = 2,
                                  int quietModules = 12);

}  // namespace kelda::testing
