// Scanner round trip: random valid JAN/UPC codes, painted from our ElementWidths, must
// decode with zbar to the code and its check digit.
#include "kelda.hpp"
#include "test_support/readers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using test_support::paintElements;
using test_support::readSymbols;

std::string randomDigits(std::mt19937& rng, std::size_t n) {
    std::uniform_int_distribution<int> digit(0, 9);
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + digit(rng));
    return s;
}

// zbar reports UPC-E as its 8-digit form: number system 0, the six digits, the check digit.
std::string upceAsScanned(const std::string& six) {
    // The implied check digit, from the expanded UPC-A number.
    std::string upca = "0";
    const char last = six[5];
    if (last <= '2')
        upca += six.substr(0, 2) + last + "0000" + six.substr(2, 3);
    else if (last == '3')
        upca += six.substr(0, 3) + "00000" + six.substr(3, 2);
    else if (last == '4')
        upca += six.substr(0, 4) + "00000" + six.substr(4, 1);
    else
        upca += six.substr(0, 5) + "0000" + last;
    int sum = 0;
    for (std::size_t i = 0; i < 11; ++i) sum += (upca[i] - '0') * (i % 2 == 0 ? 3 : 1);
    return "0" + six + static_cast<char>('0' + (10 - sum % 10) % 10);
}

struct Family {
    const char* name;
    std::size_t mainDigits;  // typed without check digit
    std::size_t addOn;       // 0, 2 or 5
};

void PrintTo(const Family& f, std::ostream* os) { *os << f.name; }

class EanRoundTrip : public ::testing::TestWithParam<Family> {};

TEST_P(EanRoundTrip, ZbarReadsWhatWeDraw) {
    const Family f = GetParam();
    std::mt19937 rng(20261207u + static_cast<unsigned>(f.mainDigits * 10 + f.addOn));
    for (int round = 0; round < 200; ++round) {
        std::string main = randomDigits(rng, f.mainDigits);
        if (f.mainDigits == 12 && round % 3 == 0) main[0] = '0';  // UPC-A
        std::string input = main;
        if (f.addOn > 0) {
            // The add-on forms of EAN-8 and EAN-13 take the main part with its check slot.
            if (f.mainDigits != 6) input += '0';
            input += '.' + randomDigits(rng, f.addOn);
        }
        const kelda::Encoded e = kelda::encode(KELDA_JAN_UPC, input, true, 3, 2);
        ASSERT_GT(e.result, 0) << input;
        const int pixels = 2 + round % 2;
        const auto found = readSymbols(paintElements(e.elementWidths, pixels, 12));

        const std::string expectMain =
            f.mainDigits == 6 ? upceAsScanned(main) : e.readableText.substr(0, f.mainDigits + 1);
        const std::string addOn = e.readableText.substr(e.readableText.size() - f.addOn);
        // zbar reads an EAN-13 with leading 0 as UPC-A, and main symbol plus add-on as one
        // composite symbol.
        auto isMain = [&](std::string data) {
            if (f.addOn > 0) {
                if (data.size() <= f.addOn || data.substr(data.size() - f.addOn) != addOn) return false;
                data.resize(data.size() - f.addOn);
            }
            return data == expectMain || (expectMain.size() == 13 && "0" + data == expectMain);
        };
        bool ok = false;
        for (const auto& s : found) ok = ok || isMain(s.data);
        std::string got;
        for (const auto& s : found) got += s.type + ":" + s.data + " ";
        EXPECT_TRUE(ok) << f.name << " input " << input << " expected " << expectMain << " got " << got;
    }
}

INSTANTIATE_TEST_SUITE_P(Families, EanRoundTrip,
                         ::testing::Values(Family{"EAN13", 12, 0}, Family{"EAN8", 7, 0}, Family{"UPCE", 6, 0},
                                           Family{"EAN13_2", 12, 2}, Family{"EAN13_5", 12, 5},
                                           Family{"EAN8_2", 7, 2}, Family{"EAN8_5", 7, 5},
                                           Family{"UPCE_2", 6, 2}, Family{"UPCE_5", 6, 5}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
