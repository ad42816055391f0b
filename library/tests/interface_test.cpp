// The calling contract of the C interface: buffer sizes, what failures leave behind,
// independence of concurrent calls, and the C++ layer over it.
#include "kelda.h"
#include "kelda.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::int32_t kCanary = 0x6B6B6B6B;
constexpr char kCanaryByte = '\x6b';

// Random inputs biased towards each request's own characters, so most of them pass.
std::string randomInput(std::mt19937& rng, int request) {
    static const std::string kAlphabets[] = {
        "0123456789.", "0123456789ABCDabcd$+-./:", "0123456789ABCXYZabcxyz $%*+-./", "0123456789",
        " !~AZaz09{}", "0123456789ABCDEFabcdef",   "0123456789AZad $%+-./",
    };
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> any(1, 255);
    const std::string& alphabet = kAlphabets[request];
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s(static_cast<std::size_t>(length(rng)), ' ');
    for (char& c : s) c = rng() % 50 == 0 ? static_cast<char>(any(rng)) : alphabet[pick(rng)];
    return s;
}

// Nothing is written past the documented sizes: input + 4 bytes of ReadableText,
// ElementCount + 1 widths, KELDA_PARITY_ROOM parity entries.
TEST(Interface, WritesStayInsideTheDocumentedSizes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        const int request = round % 7;
        const bool addCheck = (round / 7) % 2 == 1;
        const std::string input = randomInput(rng, request);
        std::vector<char> readable(input.size() + 4 + 8, kCanaryByte);
        std::int32_t count = 0;
        const std::int32_t code = CheckBarcode(request, addCheck, input.c_str(), readable.data(), &count);
        for (std::size_t i = input.size() + 4; i < readable.size(); ++i)
            ASSERT_EQ(readable[i], kCanaryByte) << "request " << request << " input \"" << input << "\"";
        if (code < 0) continue;
        ASSERT_EQ(count % 2, 1) << input;

        std::vector<std::int32_t> widths(static_cast<std::size_t>(count) + 1 + 8, kCanary);
        std::vector<std::int32_t> parity(KELDA_PARITY_ROOM + 8, kCanary);
        const int wide = 1 + round % 3;
        const int gap = 1 + round % 4;
        const std::int32_t modules =
            BarEncode(code, readable.data(), wide, gap, widths.data(), parity.data());
        for (std::size_t i = static_cast<std::size_t>(count) + 1; i < widths.size(); ++i)
            ASSERT_EQ(widths[i], kCanary) << "code " << code << " text \"" << readable.data() << "\"";
        for (std::size_t i = KELDA_PARITY_ROOM; i < parity.size(); ++i) ASSERT_EQ(parity[i], kCanary);
        if (code < KELDA_EAN13) {
            for (const std::int32_t p : parity) ASSERT_EQ(p, kCanary) << "code " << code << " wrote parity";
        }
        // A text the checker wrote is never refused for its shape: only an add-on character
        // the checker lets through ('.') is BarEncode's to refuse.
        if (code >= KELDA_EAN13) {
            ASSERT_TRUE(modules > 0 || modules == KELDA_E_JAN_CHAR)
                << "code " << code << " \"" << readable.data() << "\"";
        }
        if (modules < 0) continue;
        EXPECT_EQ(widths[static_cast<std::size_t>(count)], KELDA_TERMINATOR) << readable.data();
        long sum = 0;
        for (std::int32_t i = 0; i < count; ++i) sum += std::abs(widths[static_cast<std::size_t>(i)]);
        if (code != KELDA_CODE93) {
            EXPECT_EQ(sum, modules) << "code " << code << " text \"" << readable.data() << "\"";
        }
    }
}

// Each call computes its own guard value: two threads with opposite signs of `wide` and
// `gap` never see each other's guards.
TEST(Interface, ConcurrentCallsKeepTheirOwnGuards) {
    std::atomic<int> wrong{0};
    auto worker = [&](int wide, int gap, std::int32_t expected) {
        std::int32_t widths[KELDA_PARITY_ROOM * 3];
        std::int32_t parity[KELDA_PARITY_ROOM];
        for (int i = 0; i < 20000; ++i) {
            BarEncode(KELDA_EAN13, "4901234567894", wide, gap, widths, parity);
            if (widths[0] != expected || widths[29] != expected || widths[58] != expected) ++wrong;
        }
    };
    std::thread a(worker, 3, 2, -1);
    std::thread b(worker, -3, -2, 1);
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(Interface, Version) { EXPECT_EQ(BarcodeVersion(), 304); }

TEST(Interface, NullPointersAreRefused) {
    char readable[8];
    std::int32_t count = 0;
    std::int32_t widths[64];
    std::int32_t parity[KELDA_PARITY_ROOM];
    EXPECT_EQ(CheckBarcode(0, 0, nullptr, readable, &count), KELDA_E_GENERAL);
    EXPECT_EQ(CheckBarcode(0, 0, "123456", nullptr, &count), KELDA_E_GENERAL);
    EXPECT_EQ(CheckBarcode(0, 0, "123456", readable, nullptr), KELDA_E_GENERAL);
    EXPECT_EQ(BarEncode(KELDA_UPCE, nullptr, 3, 2, widths, parity), KELDA_E_GENERAL);
    EXPECT_EQ(BarEncode(KELDA_UPCE, "123456", 3, 2, nullptr, parity), KELDA_E_GENERAL);
    EXPECT_EQ(BarEncode(KELDA_UPCE, "123456", 3, 2, widths, nullptr), KELDA_E_GENERAL);
}

struct CppRow {
    int request;
    std::string text;
    int result;
    std::string readable;
    std::size_t elements;
    std::size_t flags;
    int modules;
};

TEST(CppLayer, Encode) {
    using namespace std::string_literals;
    const std::vector<CppRow> rows = {
        {0, "490123456789", KELDA_EAN13, "4901234567894", 59, 12, 95},  // 0
        {0, "123456789012.12345670.1234.12345670", KELDA_UPCD5, "123456789012.12345670.1234.12345672", 173,
         32, 287},
        {0, "4901234567894.1x", KELDA_E_JAN_CHAR, "", 0, 0, 0},  // CheckBarcode refuses the x
        {0, "12345670.1.", KELDA_E_JAN_CHAR, "", 0, 0, 0},       // BarEncode refuses the add-on
        {0,
         "4901\0"
         "23456789"s,
         KELDA_E_JAN_CHAR, "", 0, 0, 0},                 // a NUL is not a digit
        {6, "AB\0"s, KELDA_E_CODE93_CHAR, "", 0, 0, 0},  // 5
        {9, "\0"s, KELDA_E_REQUEST, "", 0, 0, 0},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CppRow& r = rows[i];
        const kelda::Encoded e = kelda::encode(r.request, r.text, true, 3, 2);
        EXPECT_EQ(e.result, r.result) << "row " << i;
        if (!e.ok()) continue;
        EXPECT_EQ(e.readableText, r.readable) << "row " << i;
        EXPECT_EQ(e.elementWidths.size(), r.elements) << "row " << i;
        EXPECT_EQ(e.parityFlags.size(), r.flags) << "row " << i;
        EXPECT_EQ(e.moduleCount, r.modules) << "row " << i;
    }
}

}  // namespace
