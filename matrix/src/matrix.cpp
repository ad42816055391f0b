#include "matrix/matrix.h"

#include "zint_symbol.h"

#include <algorithm>
#include <array>
#include <iconv.h>
#include <string>

namespace matrix {
namespace {

// ECI 26: the bytes are UTF-8.
constexpr int kEciUtf8 = 26;

// More characters than any symbol holds (QR Code version 40-L: 7,089 digits), so the
// search for the most a symbol holds never looks further.
constexpr std::size_t kLongestSymbolText = 7090;

// The length of the UTF-8 sequence at the start of `text`, 0 when it is none: no
// overlong form, no surrogate, nothing beyond U+10FFFF.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// Where each character of `text` starts, with text.size() at the end; empty when the
// text is not UTF-8.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text.substr(at));
        if (length == 0) return {};
        starts.push_back(at);
        at += length;
    }
    starts.push_back(text.size());
    return starts;
}

// True when a single byte of Shift_JIS text is 0x5C or 0x7E: JIS X 0201 reads them as the
// yen sign and the overline, most readers as the backslash and the tilde.  A double byte's
// second byte may be either; a lead byte (0x81-0x9F, 0xE0-0xFC) starts one.
bool hasAmbiguousByte(std::string_view shiftJis) {
    for (std::size_t i = 0; i < shiftJis.size(); ++i) {
        const auto b = static_cast<unsigned char>(shiftJis[i]);
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC))
            ++i;
        else if (b == 0x5C || b == 0x7E)
            return true;
    }
    return false;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One iconv conversion, opened once.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != invalid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The whole text converted, false when a character has no form in the target.
    bool convert(std::string_view text, std::string& out) const {
        if (cd_ == invalid()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        // A byte of Shift_JIS (a half-width katakana) is three of UTF-8; no character
        // grows more than that either way.
        out.assign(text.size() * 3, '\0');
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* to = out.data();
        std::size_t outLeft = out.size();
        if (iconv(cd_, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) return false;
        out.resize(out.size() - outLeft);
        return true;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

}  // namespace

struct Encoder::State {
    ZintSymbol symbol;
    Converter toShiftJis{"SHIFT_JIS", "UTF-8"};
    Converter fromShiftJis{"UTF-8", "SHIFT_JIS"};
    std::string shiftJis;
    std::string back;

    // The text's Shift_JIS bytes when every character has a form there that reads back
    // as itself in every reader: the backslash does not read back (it shares its byte with
    // the yen sign), and the yen sign and the overline read as the backslash and the tilde
    // in many readers.
    bool shiftJisForm(std::string_view text) {
        return toShiftJis.convert(text, shiftJis) && fromShiftJis.convert(shiftJis, back) &&
               back == text && !hasAmbiguousByte(shiftJis);
    }

    // The symbol of a checked text, before any look at why it may not fit.
    ZintResult build(Symbology symbology, std::string_view text, const Options& options) {
        ZintRequest request;
        request.symbology = symbology;
        request.data = text;
        if (!isAscii(text)) {
            if (symbology == Symbology::kQr && !options.qrUtf8 && shiftJisForm(text)) {
                request.data = shiftJis;
                request.shiftJis = true;
            } else {
                request.eci = kEciUtf8;
            }
        }
        switch (symbology) {
            case Symbology::kQr:
                request.option1 = static_cast<int>(options.qrLevel) + 1;
                request.option2 = options.qrVersion;
                return symbol.encode(request);
            case Symbology::kPdf417:
                request.option1 = options.pdf417Level == 0 ? -1 : options.pdf417Level;
                request.option2 = options.pdf417Columns;
                return symbol.encode(request);
            case Symbology::kDataMatrix:
                break;
        }
        if (options.dataMatrixShape == DataMatrixShape::kSquare) {
            request.option3 = ZintSymbol::kDataMatrixSquare;
            return symbol.encode(request);
        }
        // The rectangles from the smallest up: the first that holds the text.
        ZintResult result;
        for (const int size : ZintSymbol::kDataMatrixRectangles) {
            request.option2 = size;
            result = symbol.encode(request);
            if (result != ZintResult::kTooLong) break;
        }
        return result;
    }

    // The most characters from the text's start that `fits` takes.
    template <typename Fits>
    static std::size_t longestPrefix(const std::vector<std::size_t>& starts, Fits fits) {
        std::size_t low = 0;  // fits (an empty text is never tried)
        std::size_t high = std::min(starts.size() - 1, kLongestSymbolText);  // does not fit
        while (high - low > 1) {
            const std::size_t middle = low + (high - low) / 2;
            if (fits(middle))
                low = middle;
            else
                high = middle;
        }
        return low;
    }
};

int quietModules(Symbology symbology) {
    switch (symbology) {
        case Symbology::kQr: return 4;
        case Symbology::kDataMatrix: return 1;
        case Symbology::kPdf417: return 2;
    }
    return 4;
}

Encoder::Encoder() : state_(std::make_unique<State>()) {}
Encoder::~Encoder() = default;

Encoded Encoder::encode(Symbology symbology, std::string_view text, const Options& options) {
    Encoded out;
    const bool optionsFit =
        options.qrVersion >= 0 && options.qrVersion <= kQrVersionMax &&
        (options.pdf417Level == 0 ||
         (options.pdf417Level >= kPdf417LevelMin && options.pdf417Level <= kPdf417LevelMax)) &&
        options.pdf417Columns >= 0 && options.pdf417Columns <= kPdf417ColumnsMax &&
        static_cast<int>(options.qrLevel) >= 0 && static_cast<int>(options.qrLevel) <= 3;
    if (!optionsFit) {
        out.refusal = Refusal::kBadOption;
        return out;
    }
    if (text.empty()) {
        out.refusal = Refusal::kEmpty;
        return out;
    }
    if (text.find('\0') != std::string_view::npos) {
        out.refusal = Refusal::kNul;
        return out;
    }
    const std::vector<std::size_t> starts = characterStarts(text);
    if (starts.empty()) {
        out.refusal = Refusal::kNotUtf8;
        return out;
    }
    out.length = starts.size() - 1;

    State& s = *state_;
    switch (s.build(symbology, text, options)) {
        case ZintResult::kDone:
            out.grid = s.symbol.grid(symbology == Symbology::kPdf417 ? kPdf417RowModules : 1);
            return out;
        case ZintResult::kFailed:
            out.refusal = Refusal::kFailed;
            return out;
        case ZintResult::kTooLong:
            break;
    }
    const auto prefixFits = [&](const Options& o) {
        return [&, o](std::size_t characters) {
            return s.build(symbology, text.substr(0, starts[characters]), o) == ZintResult::kDone;
        };
    };
    out.refusal = Refusal::kTooLong;
    out.limit = State::longestPrefix(starts, prefixFits(options));
    if (symbology == Symbology::kQr && options.qrVersion != 0) {
        Options automatic = options;
        automatic.qrVersion = 0;
        if (s.build(symbology, text, automatic) == ZintResult::kDone) {
            out.refusal = Refusal::kVersionSmall;
            out.neededVersion = s.symbol.qrVersion();
        }
    }
    return out;
}

Encoded encode(Symbology symbology, std::string_view text, const Options& options) {
    return Encoder().encode(symbology, text, options);
}

}  // namespace matrix
