// The texts of the status label for the result of a draw.
#pragma once

#include "lorrin/main_view.h"

#include <string_view>

namespace lorrin {

// A draw whose settings cannot make a picture (sizes below one pixel, a picture beyond
// the bitmap limits, no usable font) fails with this result.  No KELDA result uses it.
inline constexpr int kUnusableSettings = -100;
// A picture was made but the clipboard did not take it.  No KELDA result uses it.
inline constexpr int kClipboardRefused = -101;

// The text for a result: the resolved JAN/UPC variant, the symbology's name for the
// other successful results, the error text of a refusal, and "未定義ｴﾗｰ" for every
// other failure.
std::string_view statusText(int result);

// Sets `labStatus` to statusText(result).
void ShowStatus(MainView& view, int result);

}  // namespace lorrin
