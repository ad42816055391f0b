// Readers that look at pictures independently of the code that drew them: zbar and ZXing
// for the symbols, libpng for files.
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

// Every QR Code, Data Matrix and PDF417 symbol ZXing finds in the picture, its text in
// UTF-8 as the symbol's ECI (or, without one, the reader's guess) gives it; `type` is
// ZXing's name ("QRCode", "DataMatrix", "PDF417").
std::vector<Symbol> readMatrixSymbols(const Grey& picture);

// The same as text: "TYPE:data" per symbol, one line each.
std::string scan(const Grey& picture);

// Any PNG file as grey, through libpng's own conversions; nullopt when it does not read.
std::optional<Grey> readPng(const std::filesystem::path& path);

}  // namespace test_support
