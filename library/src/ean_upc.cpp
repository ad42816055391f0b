// EAN/UPC encoder: EAN-13 (JAN-13, UPC-A), EAN-8 (JAN-8), UPC-E of number system 0, and
// each of them followed by a 2- or 5-digit add-on, after ISO/IEC 15420.
#include "ean_writer.h"

#include <array>
#include <string_view>

namespace kelda {
namespace {

using ean::NumberSet;
using ean::setAt;
using ean::Writer;

// ISO/IEC 15420, number set selection of the left half of EAN-13 by the leading digit.
constexpr std::array<std::string_view, 10> kEan13LeadingParity = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",  // 0-4
    "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",  // 5-9
};

// ISO/IEC 15420, UPC-E number system 0: the sets of the six digits by the check digit.
constexpr std::array<std::string_view, 10> kUpceParity = {
    "BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",  // 0-4
    "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB",  // 5-9
};

// ISO/IEC 15420, 5-digit add-on: the sets of the five digits by the add-on check value.
constexpr std::array<std::string_view, 10> kAddOn5Parity = {
    "BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",  // 0-4
    "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB",  // 5-9
};

// 2-digit add-on: the sets by the add-on's value modulo 4.
constexpr std::array<std::string_view, 4> kAddOn2Parity = {"AA", "AB", "BA", "BB"};

constexpr int kGapModules = 9;  // space between main symbol and add-on

// Characters of each main symbol's text, all of them digits.
constexpr std::size_t kEan13Digits = 13;
constexpr std::size_t kEan8Digits = 8;
constexpr std::size_t kUpceDigits = 6;

// Element counts, as sums of the pieces the encoders below write.
constexpr std::size_t kEan13Elements =
    ean::kSideGuard + 6 * ean::kDigitElements + ean::kCentreGuard + 6 * ean::kDigitElements + ean::kSideGuard;
constexpr std::size_t kEan8Elements =
    ean::kSideGuard + 4 * ean::kDigitElements + ean::kCentreGuard + 4 * ean::kDigitElements + ean::kSideGuard;
constexpr std::size_t kUpceElements = ean::kSideGuard + 6 * ean::kDigitElements + ean::kUpceEndGuard;
constexpr std::array<int, 3> kAddOnGuard = {1, 1, 2};
constexpr std::array<int, 2> kAddOnSeparator = {1, 1};
constexpr std::size_t addOnElements(std::size_t digits) {
    return 1 /* gap */ + kAddOnGuard.size() + digits * ean::kDigitElements +
           (digits - 1) * kAddOnSeparator.size();
}
static_assert(kEan13Elements == 59 && kEan8Elements == 43 && kUpceElements == 33);
static_assert(addOnElements(2) == 14 && addOnElements(5) == 32);

// The main symbols an add-on can follow.
struct MainSymbol {
    KeldaSymbology code;
    std::size_t digits;  // characters of its text
    std::size_t flags;   // ParityFlags entries: EAN-13's leading digit has none
    std::size_t elements;
    int (*encode)(std::string_view text, std::int32_t guard, Widths widths, Parity parity);
};
constexpr std::array<MainSymbol, 3> kMainSymbols = {{
    {KELDA_EAN13, kEan13Digits, kEan13Digits - 1, kEan13Elements, encodeEAN13},
    {KELDA_EAN8, kEan8Digits, kEan8Digits, kEan8Elements, encodeEAN8},
    {KELDA_UPCE, kUpceDigits, kUpceDigits, kUpceElements, encodeUPCE},
}};

// The mains are the codes 50, 51 and 52, in that order.
static_assert(kMainSymbols[0].code == KELDA_EAN13 && kMainSymbols[1].code == KELDA_EAN8 &&
              kMainSymbols[2].code == KELDA_UPCE);
const MainSymbol& mainSymbol(KeldaSymbology code) {
    return kMainSymbols[static_cast<std::size_t>(code - KELDA_EAN13)];
}

// The 11-digit UPC-A number (number system 0) that a UPC-E number stands for.
std::array<char, 11> expandUpce(std::string_view d) {
    switch (d[5]) {
        case '0':
        case '1':
        case '2': return {'0', d[0], d[1], d[5], '0', '0', '0', '0', d[2], d[3], d[4]};
        case '3': return {'0', d[0], d[1], d[2], '0', '0', '0', '0', '0', d[3], d[4]};
        case '4': return {'0', d[0], d[1], d[2], d[3], '0', '0', '0', '0', '0', d[4]};
        default: return {'0', d[0], d[1], d[2], d[3], d[4], '0', '0', '0', '0', d[5]};
    }
}

// A main symbol's text as the checker writes it: exactly `length` digits.  Anything else
// comes from a caller that skipped the checker and is refused before a width is written.
bool isMainText(std::string_view text, std::size_t length) {
    return text.size() == length && allDigits(text);
}

int encodeAddOn2(std::string_view digits, Writer& w) {
    const std::string_view sets =
        kAddOn2Parity[static_cast<std::size_t>((10 * digitValue(digits[0]) + digitValue(digits[1])) % 4)];
    w.plain(kAddOnGuard);
    w.digit(digits[0], setAt(sets, 0));
    w.plain(kAddOnSeparator);
    w.digit(digits[1], setAt(sets, 1));
    return w.finish();
}

int encodeAddOn5(std::string_view digits, Writer& w) {
    const int check = (3 * (digitValue(digits[0]) + digitValue(digits[2]) + digitValue(digits[4])) +
                       9 * (digitValue(digits[1]) + digitValue(digits[3]))) %
                      10;
    const std::string_view sets = kAddOn5Parity[static_cast<std::size_t>(check)];
    w.plain(kAddOnGuard);
    for (std::size_t k = 0; k < 5; ++k) {
        if (k > 0) w.plain(kAddOnSeparator);
        w.digit(digits[k], setAt(sets, k));
    }
    return w.finish();
}

}  // namespace

int eanCheckDigit(std::string_view digits, bool hasSlot) {
    // Weights 3, 1, 3, ... from the last data digit leftwards.
    std::size_t data = digits.size() - (hasSlot && !digits.empty() ? 1 : 0);
    int sum = 0;
    for (int weight = 3; data > 0; weight = 4 - weight) sum += weight * digitValue(digits[--data]);
    return (10 - sum % 10) % 10;
}

std::size_t eanElementCount(const Symbology& self, std::size_t) {
    const std::size_t main = mainSymbol(self.main).elements;
    return self.addOnDigits == 0 ? main : main + addOnElements(self.addOnDigits);
}

int encodeEAN13(std::string_view text, std::int32_t guard, Widths widths, Parity parity) {
    if (!isMainText(text, kEan13Digits)) return KELDA_E_GENERAL;
    // The leading digit has no bars: it picks the sets of the left half.
    const std::string_view sets = kEan13LeadingParity[static_cast<std::size_t>(digitValue(text[0]))];
    Writer w(widths, parity, guard);
    w.guard(ean::kSideGuard);
    for (std::size_t j = 0; j < 6; ++j) w.digit(text[1 + j], setAt(sets, j));
    w.guard(ean::kCentreGuard);
    for (std::size_t j = 0; j < 6; ++j) w.digit(text[7 + j], NumberSet::A);  // set C
    w.guard(ean::kSideGuard);
    return w.finish();
}

int encodeEAN8(std::string_view text, std::int32_t guard, Widths widths, Parity parity) {
    if (!isMainText(text, kEan8Digits)) return KELDA_E_GENERAL;
    Writer w(widths, parity, guard);
    w.guard(ean::kSideGuard);
    for (std::size_t j = 0; j < 4; ++j) w.digit(text[j], NumberSet::A);
    w.guard(ean::kCentreGuard);
    for (std::size_t j = 4; j < 8; ++j) w.digit(text[j], NumberSet::A);  // set C
    w.guard(ean::kSideGuard);
    return w.finish();
}

int encodeUPCE(std::string_view text, std::int32_t guard, Widths widths, Parity parity) {
    if (!isMainText(text, kUpceDigits)) return KELDA_E_GENERAL;
    // The check digit has no bars: it picks the sets of the six digits.
    const std::array<char, 11> upca = expandUpce(text);
    const int check = eanCheckDigit({upca.data(), upca.size()}, false);
    const std::string_view sets = kUpceParity[static_cast<std::size_t>(check)];
    Writer w(widths, parity, guard);
    w.guard(ean::kSideGuard);
    for (std::size_t j = 0; j < 6; ++j) w.digit(text[j], setAt(sets, j));
    w.guard(ean::kUpceEndGuard);
    return w.finish();
}

int encodeWithAddOn(const Symbology& self, std::string_view text, const EncodeArgs& args, Widths widths,
                    Parity parity) {
    const MainSymbol& main = mainSymbol(self.main);
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || text.size() - dot - 1 != self.addOnDigits || dot != main.digits)
        return KELDA_E_GENERAL;
    // Both parts are checked before anything is written: a main part that is not all
    // digits never came from the checker; an add-on that is not (the checker lets a '.'
    // through there) is the add-on's own character error.
    const std::string_view mainText = text.substr(0, dot);
    const std::string_view addOn = text.substr(dot + 1);
    if (!allDigits(mainText)) return KELDA_E_GENERAL;
    if (!allDigits(addOn)) return KELDA_E_JAN_CHAR;

    const int mainModules = main.encode(mainText, args.guard, widths, parity);
    // The add-on continues over the main symbol's terminators.
    Writer w(widths, parity, args.guard, main.elements, main.flags);
    w.plain(std::array{kGapModules});
    const int addOnModules = self.addOnDigits == 2 ? encodeAddOn2(addOn, w) : encodeAddOn5(addOn, w);
    return addOnModules < 0 ? addOnModules : mainModules + addOnModules;
}

}  // namespace kelda
