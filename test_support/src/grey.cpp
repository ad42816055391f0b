#include "test_support/grey.h"

#include <algorithm>
#include <cstdlib>

namespace test_support {

Grey paintElements(std::span<const std::int32_t> elements, int modulePixels, int quietModules) {
    constexpr int kRows = 24;
    int modules = 2 * quietModules;
    for (const std::int32_t e : elements) modules += std::abs(e);
    Grey g{modules * modulePixels, kRows, {}};
    g.pixels.assign(static_cast<std::size_t>(g.width) * kRows, 0xFF);

    int x = quietModules * modulePixels;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const int w = std::abs(elements[i]) * modulePixels;
        if (i % 2 == 0) {
            for (int row = 0; row < kRows; ++row) {
                const auto start = g.pixels.begin() + row * g.width + x;
                std::fill(start, start + w, 0);
            }
        }
        x += w;
    }
    return g;
}

}  // namespace test_support
