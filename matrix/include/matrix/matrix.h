// Two-dimensional codes: a text becomes a grid of dark and light modules as QR Code
// (model 2), Data Matrix ECC 200 or PDF417.  The symbol logic (Reed-Solomon, masking,
// placement, compaction) is libzint's; this module decides what the symbol carries and
// in which form, and keeps the library's headers to itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace matrix {

enum class Symbology { kQr, kDataMatrix, kPdf417 };

// QR Code's four error correction levels, in the standard's order of strength.
enum class QrLevel { kL, kM, kQ, kH };

enum class DataMatrixShape { kSquare, kRectangle };

inline constexpr int kQrVersionMax = 40;
inline constexpr int kPdf417LevelMin = 2;
inline constexpr int kPdf417LevelMax = 8;
inline constexpr int kPdf417ColumnsMax = 30;
// The standard's advice for a PDF417 row: three modules high.
inline constexpr int kPdf417RowModules = 3;

struct Options {
    QrLevel qrLevel = QrLevel::kM;
    int qrVersion = 0;  // 1 to 40; 0 picks the smallest that holds the text
    // A text every character of which Shift_JIS holds goes as Shift_JIS (kanji mode for
    // its kanji and kana), as Japanese phone readers expect; this sends it as UTF-8.
    bool qrUtf8 = false;
    DataMatrixShape dataMatrixShape = DataMatrixShape::kSquare;
    int pdf417Level = 0;    // 2 to 8; 0 is the standard's recommended minimum for the data
    int pdf417Columns = 0;  // data columns, 1 to 30; 0 makes the symbol about 3:1 wide
};

// The quiet zone the standard asks for around a symbol, in modules: QR 4, Data Matrix 1,
// PDF417 2.
int quietModules(Symbology symbology);

// Modules, top row first: true is dark.  A PDF417 row is kPdf417RowModules rows here.
struct Grid {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dark;  // width x height, 1 for a dark module

    bool at(int x, int y) const {
        return dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] != 0;
    }
};

enum class Refusal {
    kNone,
    kEmpty,
    kNotUtf8,       // a byte sequence that is not UTF-8
    kNul,           // a NUL character
    kTooLong,       // more than the largest symbol holds at the chosen error correction
    kVersionSmall,  // more than the fixed QR version holds
    kBadOption,     // an option outside its range
    kFailed,        // the library could not make the symbol (out of memory)
};

struct Encoded {
    Refusal refusal = Refusal::kNone;
    Grid grid;
    // The text's length in characters, and for kTooLong and kVersionSmall the most
    // characters of it (from its start) that the symbol holds.
    std::size_t length = 0;
    std::size_t limit = 0;
    int neededVersion = 0;  // kVersionSmall: the smallest QR version that holds the text;
                            // 0 when none does
    bool ok() const { return refusal == Refusal::kNone; }
};

// Turns texts into symbols, reusing its buffers and converters from one text to the next.
// One encoder serves one thread at a time.
class Encoder {
public:
    Encoder();
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // The symbol of `text` (UTF-8), or why there is none.
    Encoded encode(Symbology symbology, std::string_view text, const Options& options);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// One text with an encoder of its own.
Encoded encode(Symbology symbology, std::string_view text, const Options& options);

}  // namespace matrix
