// The texts of the status label for the result of a draw.
#pragma once

#include "lorrin/main_view.h"
#include "matrix/matrix.h"

#include <string>
#include <string_view>

namespace lorrin {

// A draw whose settings cannot make a picture (sizes below one pixel, a picture beyond
// the bitmap limits, no usable font) fails with this result.  No KELDA result uses it.
inline constexpr int kUnusableSettings = -100;
// A picture was made but the clipboard did not take it.  No KELDA result uses it.
inline constexpr int kClipboardRefused = -101;
// A text a two-dimensional code refuses.  No KELDA result uses these.
inline constexpr int kMatrixEmpty = -110;
inline constexpr int kMatrixNotUtf8 = -111;
inline constexpr int kMatrixNul = -112;
inline constexpr int kMatrixTooLong = -113;
inline constexpr int kMatrixVersionSmall = -114;

// The result of a two-dimensional code of entry `typeIndex`: the entry itself for a
// symbol, else the refusal's result (kUnusableSettings for an option out of range or a
// symbol the library could not make).
int matrixResult(const matrix::Encoded& encoded, int typeIndex);

// The status text of a refused two-dimensional text: the code's name and the reason,
// with the text's length and the most that fits when it is too long.
std::string matrixRefusalText(const matrix::Encoded& encoded, int typeIndex, int qrVersion);

// The text for a result, in the user interface's language: the resolved JAN/UPC
// variant, the symbology's name for the other successful results (the two-dimensional
// codes' among them), the error text of a refusal, and "未定義ｴﾗｰ" for every other failure.
std::string_view statusText(int result);

// Sets `labStatus` to statusText(result).
void ShowStatus(MainView& view, int result);

}  // namespace lorrin
