// Readers that look at pictures independently of the code that drew them: zbar for the
// symbols, libpng for files.
#pragma once

#include "test_support/grey.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

struct Symbol {
    std::string type;  // zbar's symbology name, e.g. "EAN-13", "CODE-39"
    std::string data;
};

// Every symbol zbar finds in the picture, along rows and columns, with all symbologies on.
std::vector<Symbol> readSymbols(const Grey& picture);

// The same as text: "TYPE:data" per symbol, one line each.
std::string scan(const Grey& picture);

// Any PNG file as grey, through libpng's own conversions; nullopt when it does not read.
std::optional<Grey> readPng(const std::filesystem::path& path);

}  // namespace test_support
