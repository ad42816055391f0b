// CheckBarcode: character sets, JAN/UPC recognition, ReadableText rules and ElementCount.
#include "kelda.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
    int request;
    bool addCheck;
    std::string input;
    int result;
    std::string readable;  // compared on success only
    int elementCount;
};

const std::vector<Row> kRows = {
    // JAN/UPC family: recognition and check digits
    {0, false, "490123456789", KELDA_EAN13, "4901234567894", 59},   // 0
    {0, false, "4901234567890", KELDA_EAN13, "4901234567894", 59},  // typed check digit replaced
    {0, false, "4901234567894.12", KELDA_EAN13_ADDON2, "4901234567894.12", 73},
    {0, false, "4901234567890.12345", KELDA_EAN13_ADDON5, "4901234567894.12345", 91},
    {0, false, "4901234.12", KELDA_E_JAN_SHAPE, "", 0},
    {0, false, "49012345678.9", KELDA_E_JAN_SHAPE, "", 0},  // 5
    {0, false, "1234567", KELDA_EAN8, "12345670", 43},
    {0, false, "12345678", KELDA_EAN8, "12345670", 43},
    {0, false, "123456", KELDA_UPCE, "123456", 33},
    {0, false, "123456.12", KELDA_UPCE_ADDON2, "123456.12", 47},
    {0, false, "123456.12345", KELDA_UPCE_ADDON5, "123456.12345", 65},  // 10
    {0, false, "12345678.12", KELDA_EAN8_ADDON2, "12345670.12", 57},
    {0, false, "12345678.12345", KELDA_EAN8_ADDON5, "12345670.12345", 75},
    {0, false, "123.56.89", KELDA_E_GENERAL, "", 0},                  // first '.' makes the add-on too long
    {0, false, "12345670.1.", KELDA_EAN8_ADDON2, "12345670.1.", 57},  // BarEncode refuses it
    {0, false, "12345.789012", KELDA_E_JAN_SHAPE, "", 0},             // 15: 12 characters, '.' not at 6
    {0, false, "", KELDA_E_JAN_SHAPE, "", 0},
    {0, false, "49012345678a", KELDA_E_JAN_CHAR, "", 0},
    {0, true, "490123456789", KELDA_EAN13, "4901234567894", 59},  // addCheck means nothing here
    // UPC-D: check digits per group, written over each group's last digit
    {0, false, "123456.12345670", KELDA_UPCD1, "123456.12345671", 77},
    {0, false, "123456789012.12345670", KELDA_UPCD2, "123456789012.12345670", 103},  // 20
    {0, false, "123456789010.1234.12345670", KELDA_UPCD3, "123456789012.1234.12345672", 129},
    {0, false, "123456789010.12345670.76543210", KELDA_UPCD4, "123456789012.12345670.76543210", 147},
    {0, false, "123456789010.12345670.1234.12345670", KELDA_UPCD5, "123456789012.12345670.1234.12345672",
     173},
    // A '.' off the separators of a UPC-D shape is refused at recognition
    {0, false, "123456.1234.671", KELDA_E_JAN_SHAPE, "", 0},
    {0, false, "1234.6789012.12345670", KELDA_E_JAN_SHAPE, "", 0},  // 25
    {0, false, "123456789012.12345670.1234.1234567.", KELDA_E_JAN_SHAPE, "", 0},
    // NW-7
    {1, false, "123", KELDA_NW7, "A123A", 39},
    {1, false, "b123", KELDA_NW7, "b123A", 39},
    {1, true, "A40156B", KELDA_NW7, "A40156+B", 63},
    {1, true, "0", KELDA_NW7, "A00A", 31},  // 30: sum 32 is a multiple of 16
    {1, false, "", KELDA_NW7, "A", 7},
    {1, true, "", KELDA_NW7, "A0A", 23},         // the check character between start and stop
    {1, true, "b", KELDA_NW7, "b+A", 23},        // b + A = 33, 33 mod 16 = 1, 16 - 1 = 15
    {1, false, "1A2", KELDA_NW7, "A1A2A", 39},   // BarEncode refuses the inner A
    {1, false, "12E", KELDA_E_NW7_CHAR, "", 0},  // 35
    // Code 39
    {2, false, "ABC", KELDA_CODE39, "*ABC*", 49},
    {2, false, "*ABC", KELDA_CODE39, "*ABC*", 49},
    {2, false, "abc", KELDA_CODE39, "*abc*", 49},
    {2, true, "AB*C", KELDA_E_GENERAL, "", 0},
    {2, true, "CODE39", KELDA_CODE39, "*CODE39W*", 89},  // 40
    {2, true, "SA", KELDA_CODE39, "*SA *", 49},          // check value 38 is a space
    {2, false, "", KELDA_CODE39, "*", 9},
    {2, true, "", KELDA_CODE39, "*0*", 29},
    {2, true, "*", KELDA_CODE39, "*0*", 29},
    {2, false, "AB#", KELDA_E_CODE39_CHAR, "", 0},  // 45
    // ITF
    {3, false, "12345", KELDA_ITF, "012345", 37},
    {3, true, "12345", KELDA_ITF, "123457", 37},
    {3, true, "1234", KELDA_ITF, "012348", 37},
    {3, false, "123", KELDA_ITF, "0123", 27},
    {3, false, "1234", KELDA_ITF, "1234", 27},  // 50
    {3, true, "0", KELDA_ITF, "00", 17},        // sum 0 gives check digit 0
    {3, false, "", KELDA_ITF, "", 7},
    {3, false, "12a", KELDA_E_ITF_CHAR, "", 0},
    // Code 128
    {4, true, "ABC", KELDA_CODE128_TEXT, "ABC", 37},
    {4, false, "", KELDA_CODE128_TEXT, "", 19},  // 55
    {4, false, "tab\there", KELDA_E_CODE128_CHAR, "", 0},
    {5, false, "A0102", KELDA_CODE128_VALUES, "A0102", 31},
    {5, false, "c0c22", KELDA_CODE128_VALUES, "c0c22", 31},
    {5, false, "A010", KELDA_E_CODE128_VALUES, "", 0},  // even length
    {5, false, "D01", KELDA_E_CODE128_VALUES, "", 0},   // 60: D is a hex digit but no start
    {5, false, "", KELDA_E_CODE128_VALUES, "", 0},
    {5, false, "B0G", KELDA_E_CODE128_VALUES, "", 0},
    // Code 93
    {6, false, "abcd", KELDA_CODE93, "abcd", 49},
    {6, false, "e", KELDA_E_CODE93_CHAR, "", 0},
    {6, false, "", KELDA_CODE93, "", 25},  // 65
    {6, false, "TEST93", KELDA_CODE93, "TEST93", 61},
    // Requests outside 0 to 6
    {7, false, "123", KELDA_E_REQUEST, "", 0},
    {7, false, "", KELDA_E_GENERAL, "", 0},
    {50, false, "4901234567894", KELDA_E_REQUEST, "", 0},
    {-1, false, "1", KELDA_E_REQUEST, "", 0},  // 70
};

// Every UPC-D check group gets its own digit, each typed one wrong here: a group whose
// digit the checker leaves unwritten shows.  Expected digits worked out by hand with the
// GS1 modulo 10 weights (98765432109 weighs 122, check digit 8).
const std::vector<Row> kUpcdGroupRows = {
    {0, false, "987654321099.87654329", KELDA_UPCD2, "987654321098.87654325", 103},  // 0
    {0, false, "987654321099.5555.87654329", KELDA_UPCD3, "987654321098.5555.87654325", 129},
    {0, false, "987654321099.87654329.24680139", KELDA_UPCD4, "987654321098.87654325.24680134", 147},
    {0, false, "987654321099.87654329.1357.24680139", KELDA_UPCD5, "987654321098.87654325.1357.24680136",
     173},
};

void expectRows(const std::vector<Row>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        std::vector<char> readable(r.input.size() + 4, '\x7f');
        std::int32_t count = -12345;
        const std::int32_t result =
            CheckBarcode(r.request, r.addCheck ? 1 : 0, r.input.c_str(), readable.data(), &count);
        if (result != r.result) {
            ADD_FAILURE() << "row " << i << " input \"" << r.input << "\": result " << result << ", expected "
                          << r.result;
            continue;
        }
        if (result > 0) {
            EXPECT_EQ(std::string(readable.data()), r.readable) << "row " << i;
            EXPECT_EQ(count, r.elementCount) << "row " << i;
        } else {
            EXPECT_EQ(count, -12345) << "row " << i << ": ElementCount written on failure";
        }
    }
}

TEST(CheckBarcode, Rows) { expectRows(kRows); }

TEST(CheckBarcode, UpcdWritesEveryGroupsCheckDigit) { expectRows(kUpcdGroupRows); }

// Bytes 0x80-0xFF are outside every character set, whatever the signedness of char, and
// are refused with the request's own character error.
TEST(CheckBarcode, HighBytesAreRefused) {
    const int errors[] = {KELDA_E_JAN_CHAR,     KELDA_E_NW7_CHAR,       KELDA_E_CODE39_CHAR, KELDA_E_ITF_CHAR,
                          KELDA_E_CODE128_CHAR, KELDA_E_CODE128_VALUES, KELDA_E_CODE93_CHAR};
    for (int request = 0; request <= 6; ++request) {
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string input = std::string("12") + static_cast<char>(byte) + "3";
            char readable[16];
            std::int32_t count = 0;
            EXPECT_EQ(CheckBarcode(request, 1, input.c_str(), readable, &count), errors[request])
                << "request " << request << " byte " << byte;
        }
    }
}

}  // namespace
