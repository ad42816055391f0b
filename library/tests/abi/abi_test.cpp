// The shared object as other programs see it: exactly three exported functions.
#include "kelda.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

// Every defined dynamic symbol but the version node, without its version suffix.
std::set<std::string> exportedSymbols(const std::string& library) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + library + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) != 2 || type == 'A') continue;
        std::string symbol(name);
        names.insert(symbol.substr(0, symbol.find('@')));
    }
    pclose(pipe);
    return names;
}

TEST(Abi, ExportsExactlyTheThreeFunctions) {
    const std::set<std::string> expected = {"BarEncode", "BarcodeVersion", "CheckBarcode"};
    EXPECT_EQ(exportedSymbols(KELDA_SO_PATH), expected);
}

TEST(Abi, CallsThroughTheSharedObject) {
    char readable[16];
    std::int32_t count = 0;
    ASSERT_EQ(CheckBarcode(KELDA_JAN_UPC, 0, "490123456789", readable, &count), KELDA_EAN13);
    std::int32_t widths[60];
    std::int32_t parity[KELDA_PARITY_ROOM];
    EXPECT_EQ(BarEncode(KELDA_EAN13, readable, 3, 2, widths, parity), 95);
    EXPECT_EQ(BarcodeVersion(), KELDA_VERSION);
}

}  // namespace
