#include "lorrin/status.h"

#include "kelda.h"
#include "lorrin/choices.h"
#include "lorrin/language.h"

#include <array>

namespace lorrin {
namespace {

constexpr std::string_view kContext = "status";

struct StatusEntry {
    int result;
    std::string_view text;
};

// Results with a text of their own: the JAN/UPC variants and the checker's refusals.
constexpr std::array<StatusEntry, 27> kStatusTexts = {{
    {KELDA_EAN13, "JAN(13)/UPC-A"},
    {KELDA_EAN8, "JAN(8)"},
    {KELDA_UPCE, "UPC-E"},
    {KELDA_UPCE_ADDON2, "UPC-E+ｱﾄﾞｵﾝ(2)"},
    {KELDA_EAN8_ADDON2, "JAN(8)+ｱﾄﾞｵﾝ(2)"},
    {KELDA_EAN13_ADDON2, "JAN(13)/UPC-A+ｱﾄﾞｵﾝ(2)"},
    {KELDA_UPCE_ADDON5, "UPC-E+ｱﾄﾞｵﾝ(5)"},
    {KELDA_EAN8_ADDON5, "JAN(8)+ｱﾄﾞｵﾝ(5)"},
    {KELDA_EAN13_ADDON5, "JAN(13)/UPC-A+ｱﾄﾞｵﾝ(5)"},
    {KELDA_UPCD1, "UPC-D Version-1"},
    {KELDA_UPCD2, "UPC-D Version-2"},
    {KELDA_UPCD3, "UPC-D Version-3"},
    {KELDA_UPCD4, "UPC-D Version-4"},
    {KELDA_UPCD5, "UPC-D Version-5"},
    {KELDA_E_JAN_SHAPE, "UPC系ﾀｲﾌﾟ判別不能"},
    {KELDA_E_JAN_CHAR, "UPC系 ｴﾝｺｰﾄﾞｴﾗｰ"},
    {KELDA_E_ITF_CHAR, "ITF ｴﾗｰ"},
    {KELDA_E_NW7_CHAR, "NW7 ｴﾗｰ"},
    {KELDA_E_CODE39_CHAR, "CODE39 ｴﾝｺｰﾄﾞｴﾗｰ"},
    {KELDA_E_CODE128_CHAR, "CODE128(ASCII) ｴﾗｰ"},
    {KELDA_E_CODE128_VALUES, "CODE128(Binary) ｴﾗｰ"},
    {KELDA_E_CODE93_CHAR, "CODE93 ｴﾗｰ"},
    {kMatrixEmpty, "ﾃﾞｰﾀがありません"},
    {kMatrixNotUtf8, "UTF-8 ではありません"},
    {kMatrixNul, "NUL 文字は使えません"},
    {kMatrixTooLong, "ﾃﾞｰﾀが長すぎます"},
    {kMatrixVersionSmall, "ﾊﾞｰｼﾞｮﾝが小さすぎます"},
}};

constexpr std::string_view kUndefinedError = "未定義ｴﾗｰ";
constexpr std::string_view kClipboardRefusedText = "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに書き込めません";

}  // namespace

std::string_view statusText(int result) {
    for (const StatusEntry& e : kStatusTexts)
        if (e.result == result) return translate(kContext, e.text);
    if (result == kClipboardRefused) return translate(kContext, kClipboardRefusedText);
    // A picture of another symbology is named after it, so an older error text never
    // stands beside a fresh picture.
    if (result >= KELDA_NW7 && result <= kPdf417)
        return kSymbologyNames[static_cast<std::size_t>(result)];
    return translate(kContext, kUndefinedError);
}

int matrixResult(const matrix::Encoded& encoded, int typeIndex) {
    switch (encoded.refusal) {
        case matrix::Refusal::kNone: return typeIndex;
        case matrix::Refusal::kEmpty: return kMatrixEmpty;
        case matrix::Refusal::kNotUtf8: return kMatrixNotUtf8;
        case matrix::Refusal::kNul: return kMatrixNul;
        case matrix::Refusal::kTooLong: return kMatrixTooLong;
        case matrix::Refusal::kVersionSmall: return kMatrixVersionSmall;
        case matrix::Refusal::kBadOption:
        case matrix::Refusal::kFailed: break;
    }
    return kUnusableSettings;
}

std::string matrixRefusalText(const matrix::Encoded& encoded, int typeIndex, int qrVersion) {
    const int result = matrixResult(encoded, typeIndex);
    std::string text = std::string(kSymbologyNames[static_cast<std::size_t>(typeIndex)]) + " ";
    if (result == kMatrixVersionSmall)
        text +=
            format(translate(kContext, "ﾊﾞｰｼﾞｮﾝ%1では小さすぎます"), {std::to_string(qrVersion)});
    else
        text += statusText(result);
    if (result == kMatrixTooLong || result == kMatrixVersionSmall) {
        const std::string length = std::to_string(encoded.length);
        const std::string limit = std::to_string(encoded.limit);
        text += " ";
        text += encoded.neededVersion > 0
                    ? format(translate(kContext, "(%1文字, 最大%2文字, ﾊﾞｰｼﾞｮﾝ%3以上)"),
                             {length, limit, std::to_string(encoded.neededVersion)})
                    : format(translate(kContext, "(%1文字, 最大%2文字)"), {length, limit});
    }
    return text;
}

void ShowStatus(MainView& view, int result) { view.setStatusText(statusText(result)); }

}  // namespace lorrin
