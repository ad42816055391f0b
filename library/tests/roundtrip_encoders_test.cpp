// Scanner round trip for NW-7, Code 39, ITF, Code 128 and Code 93: random valid codes go
// through CheckBarcode and BarEncode, are painted from our ElementWidths, and must decode
// with zbar to what a reader of that symbology reports.
//
// What zbar reports: Codabar from 4 characters on, with its start and stop letters
// upper-cased and the check character as data; Code 39 without the "*"s, upper-cased, the
// check character as data; interleaved 2 of 5 every digit, from 6 digits on; Code 128 the
// decoded text, after verifying the check character; Code 93 the text after verifying C
// and K, with every shift pair translated to its full-ASCII character (a pair that the
// table leaves undefined makes zbar refuse the symbol).
#include "kelda.hpp"
#include "test_support/readers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>

namespace {

using test_support::paintElements;
using test_support::readSymbols;

struct Sample {
    std::string input;
    bool addCheck = false;
    std::string expected;  // what zbar reports; NW-7, Code 39 and ITF take it from the ReadableText
};

std::string upperCased(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

class Random {
public:
    explicit Random(std::string_view name) {
        std::seed_seq seed(name.begin(), name.end());
        rng_.seed(seed);
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    char pick(std::string_view set) {
        return set[static_cast<std::size_t>(below(static_cast<int>(set.size())))];
    }
    std::string text(std::string_view set, int minLength, int maxLength) {
        std::string s;
        const int n = minLength + below(maxLength - minLength + 1);
        for (int i = 0; i < n; ++i) s += pick(set);
        return s;
    }

private:
    std::mt19937 rng_;
};

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kCode39Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcxyz-. $/+%";
constexpr std::string_view kCode93Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

Sample nw7(Random& r) {
    Sample s;
    s.input = r.text("0123456789-$:/.+", 2, 16);
    if (r.below(3) > 0) s.input = r.pick("ABCDabcd") + s.input + r.pick("ABCDabcd");
    s.addCheck = r.below(2) == 1;
    return s;
}

Sample code39(Random& r) {
    Sample s;
    s.input = r.text(kCode39Set, 1, 16);
    if (r.below(2) == 1) s.input = "*" + s.input + "*";
    s.addCheck = r.below(2) == 1;
    return s;
}

Sample itf(Random& r) {
    Sample s;
    s.input = r.text(kDigits, 6, 24);
    s.addCheck = r.below(2) == 1;
    return s;
}

Sample code128Text(Random& r) {
    std::string printable;
    for (char c = 0x20; c <= 0x7E; ++c) printable += c;
    Sample s;
    s.input = r.text(printable, 1, 24);
    s.expected = s.input;
    return s;
}

// Symbol values under start A, B or C with code-set changes, written as hex pairs; the
// expected text is what ISO/IEC 15417's code sets make of them.
Sample code128Values(Random& r, char start) {
    Sample s;
    s.input = r.below(2) == 1 ? start : static_cast<char>(start - 'A' + 'a');
    char set = start;
    const int count = 1 + r.below(16);
    for (int i = 0; i < count; ++i) {
        int value = 0;
        if (i + 1 < count && r.below(8) == 0) {
            // Code C is 99 from A and B; code B is 100 from A and C; code A is 101 from B and C.
            const char to = set == 'C' ? r.pick("AB") : set == 'A' ? r.pick("BC") : r.pick("AC");
            value = to == 'C' ? 99 : to == 'B' ? 100 : 101;
            set = to;
        } else if (set == 'C') {
            value = r.below(100);
            s.expected += static_cast<char>('0' + value / 10);
            s.expected += static_cast<char>('0' + value % 10);
        } else {
            value = r.below(96);
            if (set == 'A' && value == 64) value = 33;  // NUL would end zbar's C string
            s.expected += static_cast<char>(set == 'A' && value >= 64 ? value - 64 : value + 32);
        }
        const std::string_view hex = r.below(2) == 1 ? "0123456789ABCDEF" : "0123456789abcdef";
        s.input += hex[static_cast<std::size_t>(value / 16)];
        s.input += hex[static_cast<std::size_t>(value % 16)];
    }
    return s;
}

// AIM USS-93 full ASCII: what each shift character ("a" to "d" in our texts) makes of the
// letters it may precede.  (%)U, NUL, is left out: it would end zbar's C string.
struct ShiftPairs {
    char shift;
    std::string_view letters;
    std::string_view ascii;
};
constexpr ShiftPairs kShiftPairs[] = {
    {'a', "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
     "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19"
     "\x1A"},
    {'b', "ABCDEFGHIJKLMNOPQRSTVWXYZ", "\x1B\x1C\x1D\x1E\x1F;<=>?[\\]^_{|}~\x7F@`\x7F\x7F\x7F"},
    {'c', "ABCDEFGHIJKLMNOZ", "!\"#$%&'()*+,-./:"},
    {'d', "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz"},
};
static_assert(std::ranges::all_of(kShiftPairs,
                                  [](const ShiftPairs& p) { return p.letters.size() == p.ascii.size(); }));

Sample code93(Random& r) {
    Sample s;
    for (int i = r.below(24); i > 0; --i) {
        if (r.below(4) > 0) {
            const char c = r.pick(kCode93Set);
            s.input += c;
            s.expected += c;
            continue;
        }
        const ShiftPairs& pairs = kShiftPairs[r.below(4)];
        const auto k = static_cast<std::size_t>(r.below(static_cast<int>(pairs.letters.size())));
        s.input += pairs.shift;
        s.input += pairs.letters[k];
        s.expected += pairs.ascii[k];
    }
    return s;
}

struct Symbology {
    const char* name;
    int request;
    const char* zbarType;
    Sample (*sample)(Random&);
};

std::string printable(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c >= 0x20 && c <= 0x7E) {
            out += c;
        } else {
            static constexpr std::string_view kHex = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[static_cast<unsigned char>(c) & 0xF];
        }
    }
    return out;
}

class EncoderRoundTrip : public ::testing::TestWithParam<Symbology> {};

TEST_P(EncoderRoundTrip, ZbarReadsWhatWeDraw) {
    const Symbology sym = GetParam();
    Random random(sym.name);
    for (int round = 0; round < 300; ++round) {
        const Sample s = sym.sample(random);
        const int wide = 2 + round % 2;
        const int gap = 1 + round % 3;
        const kelda::Encoded e = kelda::encode(sym.request, s.input, s.addCheck, wide, gap);
        ASSERT_GT(e.result, 0) << sym.name << " input " << printable(s.input);

        std::string expected = s.expected;
        const std::string& text = e.readableText;
        if (sym.request == KELDA_NW7 || sym.request == KELDA_ITF) expected = upperCased(text);
        if (sym.request == KELDA_CODE39) expected = upperCased(text.substr(1, text.size() - 2));

        const auto found = readSymbols(paintElements(e.elementWidths, 2, 12));
        ASSERT_EQ(found.size(), 1u) << sym.name << " input " << printable(s.input) << " text "
                                    << printable(text) << " wide " << wide << " gap " << gap;
        EXPECT_EQ(found[0].type, sym.zbarType);
        EXPECT_EQ(printable(found[0].data), printable(expected))
            << sym.name << " input " << printable(s.input) << " wide " << wide << " gap " << gap;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Symbologies, EncoderRoundTrip,
    ::testing::Values(Symbology{"NW7", KELDA_NW7, "Codabar", nw7},
                      Symbology{"Code39", KELDA_CODE39, "CODE-39", code39},
                      Symbology{"ITF", KELDA_ITF, "I2/5", itf},
                      Symbology{"Code128Text", KELDA_CODE128_TEXT, "CODE-128", code128Text},
                      Symbology{"Code128StartA", KELDA_CODE128_VALUES, "CODE-128",
                                [](Random& r) { return code128Values(r, 'A'); }},
                      Symbology{"Code128StartB", KELDA_CODE128_VALUES, "CODE-128",
                                [](Random& r) { return code128Values(r, 'B'); }},
                      Symbology{"Code128StartC", KELDA_CODE128_VALUES, "CODE-128",
                                [](Random& r) { return code128Values(r, 'C'); }},
                      Symbology{"Code93", KELDA_CODE93, "CODE-93", code93}),
    [](const ::testing::TestParamInfo<Symbology>& param) { return std::string(param.param.name); });

// The check characters that the random runs may not hit: a Code 39 check character that
// is a space, and NW-7's "0" for a sum that is a multiple of 16.
TEST(EncoderRoundTrip, CheckCharacterEdgeCases) {
    const struct {
        int request;
        const char* input;
        const char* readable;
        const char* scanned;
    } rows[] = {
        /* 0 */ {KELDA_CODE39, "Z3", "*Z3 *", "Z3 "},
        /* 1 */ {KELDA_NW7, "A0A", "A00A", "A00A"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const kelda::Encoded e = kelda::encode(rows[i].request, rows[i].input, true, 3, 2);
        ASSERT_GT(e.result, 0) << "row " << i;
        EXPECT_EQ(e.readableText, rows[i].readable) << "row " << i;
        const auto found = readSymbols(paintElements(e.elementWidths, 2, 12));
        ASSERT_EQ(found.size(), 1u) << "row " << i;
        EXPECT_EQ(found[0].data, rows[i].scanned) << "row " << i;
    }
}

}  // namespace
