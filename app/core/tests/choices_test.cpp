#include "lorrin/choices.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace lorrin {
namespace {

struct Row {
    std::string_view text;
    bool janUpcOnly;
    bool taken;
    int type;
    std::string_view code;
};

// The clipboard monitor's reading of a text, prefixes with case, line ends dropped.
constexpr std::array<Row, 21> kRows = {{
    /* 0 */ {"nw7@A1234B", false, true, 1, "A1234B"},
    /* 1 */ {"128a@Hello", false, true, 4, "Hello"},
    /* 2 */ {"128aHello", false, false, 0, ""},
    /* 3 */ {"128b@B212223", false, true, 5, "B212223"},
    /* 4 */ {"UPC@4901234567894", false, false, 0, ""},
    /* 5 */ {"upc@490123456789\r\n", false, true, 0, "490123456789"},
    /* 6 */ {"upc@490123456789\n", false, true, 0, "490123456789"},
    /* 7 */ {"c39@ABC123", false, true, 2, "ABC123"},
    /* 8 */ {"itf@1234", false, true, 3, "1234"},
    /* 9 */ {"c93@CODE93", false, true, 6, "CODE93"},
    /* 10 */ {"c39@", false, true, 2, ""},
    /* 11 */ {"c39", false, false, 0, ""},
    /* 12 */ {"upc@\n", false, true, 0, ""},
    /* 13 */ {"4901234567894", true, true, 0, "4901234567894"},
    /* 14 */ {"4901234567894\r\n", true, false, 0, ""},
    /* 15 */ {"upc@4901234567894", true, false, 0, ""},
    /* 16 */ {"", true, true, 0, ""},
    /* 17 */ {"49012345.12", true, true, 0, "49012345.12"},
    /* 18 */ {"c39@AB\r", false, true, 2, "AB\r"},
    /* 19 */ {"c39@A\n", false, true, 2, "A"},
    /* 20 */ {"nw7@\r\n", false, true, 1, ""},
}};

TEST(ClipboardCode, PicksTheSymbologyAndCutsTheCode) {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        const auto got = clipboardCode(r.text, r.janUpcOnly);
        ASSERT_EQ(got.has_value(), r.taken) << "row " << i;
        if (!got) continue;
        EXPECT_EQ(got->typeIndex, r.type) << "row " << i;
        EXPECT_EQ(got->code, r.code) << "row " << i;
    }
}

TEST(ClipboardCode, JanUpcOnlyModeLeavesLongTextsAlone) {
    const std::string longest(kJanUpcTextLimit - 1, '4');
    EXPECT_TRUE(clipboardCode(longest, true).has_value());
    EXPECT_FALSE(clipboardCode(longest + "4", true).has_value());
    EXPECT_TRUE(clipboardCode("upc@" + longest + "4", false).has_value());
}

TEST(ListSelection, IndexesOutsideTheListSelectNothing) {
    EXPECT_EQ(listSelection(9, kSymbologyNames.size()), 9);
    EXPECT_EQ(listSelection(10, kSymbologyNames.size()), -1);
    EXPECT_EQ(listSelection(-1, kAngleNames.size()), -1);
    EXPECT_EQ(listSelection(4, kAngleNames.size()), -1);
}

}  // namespace
}  // namespace lorrin
