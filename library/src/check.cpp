// Input checking: the character sets of the requests, recognition of the JAN/UPC family
// member from the input's length and '.' positions, and the ReadableText rules that add
// start/stop and check characters.
#include "symbology.h"

#include <algorithm>
#include <array>

namespace kelda {
namespace {

// ---- character sets of the requests 0 to 6 ----

constexpr bool isOneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }
constexpr bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool isLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool isHex(char c) { return isDigit(c) || (upper(c) >= 'A' && upper(c) <= 'F'); }
constexpr bool isNW7StartStop(char c) { return upper(c) >= 'A' && upper(c) <= 'D'; }

// Every set lies inside 0x20-0x7E, so bytes 0x80-0xFF fail whichever way char is signed.
constexpr bool acceptsJanUpc(char c) { return isDigit(c) || c == '.'; }
constexpr bool acceptsNW7(char c) { return isDigit(c) || isNW7StartStop(c) || isOneOf(c, "$+-./:"); }
constexpr bool acceptsCode39(char c) {
    return isDigit(c) || isUpper(c) || isLower(c) || isOneOf(c, " $%*+-./");
}
constexpr bool acceptsITF(char c) { return isDigit(c); }
constexpr bool acceptsCode128Text(char c) { return c >= 0x20 && c <= 0x7E; }
constexpr bool acceptsCode128Values(char c) { return isHex(c); }
constexpr bool acceptsCode93(char c) {
    return isDigit(c) || isUpper(c) || (c >= 'a' && c <= 'd') || isOneOf(c, " $%+-./");
}

using Accepts = bool (*)(char);

// Indexed by the request 0 to 6.
constexpr std::array<Accepts, 7> kAccepts = {acceptsJanUpc, acceptsNW7,         acceptsCode39,
                                             acceptsITF,    acceptsCode128Text, acceptsCode128Values,
                                             acceptsCode93};
constexpr std::array<KeldaResult, 7> kCharacterErrors = {
    KELDA_E_JAN_CHAR,     KELDA_E_NW7_CHAR,       KELDA_E_CODE39_CHAR, KELDA_E_ITF_CHAR,
    KELDA_E_CODE128_CHAR, KELDA_E_CODE128_VALUES, KELDA_E_CODE93_CHAR,
};

// The sets above as one bit per request for each byte 0x00-0x7F, so that checking a
// character is one look-up; bytes from 0x80 have no entry and fail every set.
constexpr std::array<std::uint8_t, 128> kCharacterSetBits = [] {
    std::array<std::uint8_t, 128> bits{};
    for (std::size_t c = 0; c < bits.size(); ++c)
        for (std::size_t request = 0; request < kAccepts.size(); ++request)
            if (kAccepts[request](static_cast<char>(c))) bits[c] |= static_cast<std::uint8_t>(1u << request);
    return bits;
}();

bool inCharacterSet(int request, char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < kCharacterSetBits.size() && (kCharacterSetBits[byte] >> request & 1u) != 0;
}

// ---- JAN/UPC family: shapes and sizes ----

// A shape matches when every named position holds a '.'; an exact shape also allows no
// '.' anywhere else.  UPC-D shapes are exact: their encoder needs a digit at every other
// position.  Rows are tried in order (the two 12-character shapes).
struct JanShape {
    std::size_t length;
    std::array<std::size_t, 3> dots;
    std::size_t dotCount;
    bool exact;
    KeldaSymbology code;
};

constexpr std::array<JanShape, 16> kJanShapes = {{
    {6, {}, 0, true, KELDA_UPCE},
    {7, {}, 0, true, KELDA_EAN8},
    {8, {}, 0, true, KELDA_EAN8},
    {9, {6}, 1, false, KELDA_UPCE_ADDON2},
    {11, {8}, 1, false, KELDA_EAN8_ADDON2},
    {12, {6}, 1, false, KELDA_UPCE_ADDON5},
    {12, {}, 0, true, KELDA_EAN13},
    {13, {}, 0, true, KELDA_EAN13},
    {14, {8}, 1, false, KELDA_EAN8_ADDON5},
    {15, {6}, 1, true, KELDA_UPCD1},
    {16, {13}, 1, false, KELDA_EAN13_ADDON2},
    {19, {13}, 1, false, KELDA_EAN13_ADDON5},
    {21, {12}, 1, true, KELDA_UPCD2},
    {26, {12, 17}, 2, true, KELDA_UPCD3},
    {30, {12, 21}, 2, true, KELDA_UPCD4},
    {35, {12, 21, 26}, 3, true, KELDA_UPCD5},
}};

// UPC-D check digit groups: first and last position of each group; the check digit
// goes over the group's last digit, and '.' inside a group is skipped.
struct CheckGroup {
    std::size_t first;
    std::size_t last;
};
struct UpcdGroups {
    std::array<CheckGroup, 3> groups;
    std::size_t count;
};
constexpr std::array<UpcdGroups, 5> kUpcdCheckGroups = {{
    {{{{0, 14}}}, 1},                      // version 1: both segments together
    {{{{0, 11}, {13, 20}}}, 2},            // version 2
    {{{{0, 11}, {13, 25}}}, 2},            // version 3: the 4- and 8-digit segments together
    {{{{0, 11}, {13, 20}, {22, 29}}}, 3},  // version 4
    {{{{0, 11}, {13, 20}, {22, 34}}}, 3},  // version 5: the last two segments together
}};

int recogniseJanUpc(std::string_view input) {
    const auto dotCount = static_cast<std::size_t>(std::count(input.begin(), input.end(), '.'));
    for (const JanShape& shape : kJanShapes) {
        if (shape.length != input.size()) continue;
        const bool named = std::all_of(shape.dots.begin(), shape.dots.begin() + shape.dotCount,
                                       [&](std::size_t at) { return input[at] == '.'; });
        if (named && (!shape.exact || dotCount == shape.dotCount)) return shape.code;
    }
    return KELDA_E_JAN_SHAPE;
}

// ---- the ReadableText, built in the caller's buffer ----

class Text {
public:
    explicit Text(std::span<char> buffer) : buffer_(buffer) {}

    void assign(std::string_view s) {
        std::copy(s.begin(), s.end(), buffer_.begin());
        size_ = s.size();
        buffer_[size_] = '\0';
    }
    void insert(std::size_t at, char c) {
        std::copy_backward(buffer_.begin() + static_cast<std::ptrdiff_t>(at),
                           buffer_.begin() + static_cast<std::ptrdiff_t>(size_ + 1),
                           buffer_.begin() + static_cast<std::ptrdiff_t>(size_ + 2));
        buffer_[at] = c;
        ++size_;
    }
    void append(char c) { insert(size_, c); }
    void truncate(std::size_t size) {
        size_ = size;
        buffer_[size_] = '\0';
    }
    char& operator[](std::size_t i) { return buffer_[i]; }
    std::string_view view() const { return {buffer_.data(), size_}; }
    std::size_t size() const { return size_; }

private:
    std::span<char> buffer_;
    std::size_t size_ = 0;
};

char checkDigitChar(int digit) { return static_cast<char>('0' + digit); }

// Writes the EAN check digit of `text`[0 .. slot-1] at `slot`.
void writeEanCheckDigit(Text& text, std::size_t slot) {
    text[slot] = checkDigitChar(eanCheckDigit(text.view().substr(0, slot + 1), true));
}

int applyJanRules(int code, Text& text) {
    const std::size_t length = text.size();
    switch (code) {
        case KELDA_EAN13:
        case KELDA_EAN8: {
            // A 12- or 7-digit input gains its check digit; a typed one is replaced.
            const std::size_t slot = code == KELDA_EAN13 ? 12 : 7;
            text.truncate(slot + 1);
            writeEanCheckDigit(text, slot);
            return code;
        }
        case KELDA_UPCE: return code;
        case KELDA_UPCE_ADDON2:
        case KELDA_EAN8_ADDON2:
        case KELDA_EAN13_ADDON2:
        case KELDA_UPCE_ADDON5:
        case KELDA_EAN8_ADDON5:
        case KELDA_EAN13_ADDON5: {
            const std::size_t dot = text.view().find('.');
            const Symbology& symbology = *findSymbology(code);
            if (dot == std::string_view::npos || length - dot - 1 != symbology.addOnDigits)
                return KELDA_E_GENERAL;
            // The main part's own check digit: EAN-8 and EAN-13 mains; UPC-E carries it in parity.
            if (symbology.main != KELDA_UPCE) writeEanCheckDigit(text, dot - 1);
            return code;
        }
        default: {  // UPC-D
            const UpcdGroups& version = kUpcdCheckGroups[static_cast<std::size_t>(code - KELDA_UPCD1)];
            for (std::size_t g = 0; g < version.count; ++g) {
                const CheckGroup group = version.groups[g];
                std::array<char, 16> digits{};
                std::size_t n = 0;
                for (std::size_t i = group.first; i <= group.last; ++i)
                    if (text[i] != '.') digits[n++] = text[i];
                text[group.last] = checkDigitChar(eanCheckDigit({digits.data(), n}, true));
            }
            return code;
        }
    }
}

// Puts the check character in front of the stop character; a lone start/stop character
// first gets its stop, so that it does not lose its place to the check character.
bool insertCheckCharacter(Text& text, char stop, int (*checkCharacter)(std::string_view)) {
    if (text.size() == 1) text.append(stop);
    const int check = checkCharacter(text.view());
    if (check < 0) return false;
    text.insert(text.size() - 1, static_cast<char>(check));
    return true;
}

int applyNW7Rules(bool addCheck, std::string_view input, Text& text) {
    if (input.empty() || !isNW7StartStop(input.front())) text.insert(0, 'A');
    if (!isNW7StartStop(text.view().back())) text.append('A');
    if (addCheck && !insertCheckCharacter(text, 'A', nw7CheckCharacter)) return KELDA_E_GENERAL;
    return KELDA_NW7;
}

int applyCode39Rules(bool addCheck, std::string_view input, Text& text) {
    if (input.empty() || input.front() != '*') text.insert(0, '*');
    if (text.view().back() != '*') text.append('*');
    if (addCheck && !insertCheckCharacter(text, '*', code39CheckCharacter)) return KELDA_E_GENERAL;
    return KELDA_CODE39;
}

int applyITFRules(bool addCheck, Text& text) {
    // The digit count ends up even: a leading 0 where the count (with the check digit) is odd.
    const bool odd = text.size() % 2 == 1;
    if (odd != addCheck) text.insert(0, '0');
    if (addCheck) text.append(static_cast<char>(itfCheckDigit(text.view())));
    return KELDA_ITF;
}

int applyRules(int requested, bool addCheck, std::string_view input, Text& text) {
    switch (requested) {
        case KELDA_NW7: return applyNW7Rules(addCheck, input, text);
        case KELDA_CODE39: return applyCode39Rules(addCheck, input, text);
        case KELDA_ITF: return applyITFRules(addCheck, text);
        case KELDA_CODE128_VALUES: {
            if (input.size() % 2 == 0) return KELDA_E_CODE128_VALUES;
            const char start = upper(input.front());
            if (start < 'A' || start > 'C') return KELDA_E_CODE128_VALUES;
            return requested;
        }
        default: return requested;  // Code 128 text and Code 93 stay as typed
    }
}

}  // namespace

int checkBarcode(int requested, bool addCheck, std::string_view input, std::span<char> readable,
                 std::int32_t& elementCount) {
    if (requested < KELDA_JAN_UPC || requested > KELDA_CODE93)
        return input.empty() ? KELDA_E_GENERAL : KELDA_E_REQUEST;

    for (const char c : input)
        if (!inCharacterSet(requested, c)) return kCharacterErrors[static_cast<std::size_t>(requested)];

    const int code = requested == KELDA_JAN_UPC ? recogniseJanUpc(input) : requested;
    if (code < 0) return code;

    Text text(readable);
    text.assign(input);
    const int result =
        code == requested ? applyRules(requested, addCheck, input, text) : applyJanRules(code, text);
    if (result < 0) return result;
    elementCount = static_cast<std::int32_t>(findSymbology(result)->elementCount(text.size()));
    return result;
}

}  // namespace kelda
