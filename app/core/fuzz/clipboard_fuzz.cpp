// Fuzz target: the clipboard monitor's reading of a text (its symbology and its code), in
// both modes, on arbitrary bytes.  Whatever the text, an answer must keep the rules a
// reader can check from the outside: the code is the text without its prefix and its
// line end, the type is an entry of the symbology list, and JAN/UPC-only mode takes
// nothing but short texts of digits and points, all of them.
//
// Input: the clipboard text, every byte as it is.
#include "lorrin/choices.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool digitsAndPoints(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// The line end the monitor drops: CR LF, or LF alone.
std::string_view lineEnd(std::string_view text) {
    if (text.ends_with("\r\n")) return "\r\n";
    if (text.ends_with('\n')) return "\n";
    return "";
}

void checkJanUpcOnly(std::string_view text) {
    const auto picked = lorrin::clipboardCode(text, true);
    const bool acceptable = text.size() < lorrin::kJanUpcTextLimit && digitsAndPoints(text);
    require(picked.has_value() == acceptable);
    if (!picked) return;
    require(picked->typeIndex == lorrin::kJanUpc);
    require(picked->code == text);
}

void checkPrefixed(std::string_view text) {
    const auto picked = lorrin::clipboardCode(text, false);
    const auto match = lorrin::matchPrefix(text);
    require(picked.has_value() == match.has_value());
    if (!picked) return;
    require(picked->typeIndex >= 0 &&
            static_cast<std::size_t>(picked->typeIndex) < lorrin::kSymbologyNames.size());
    require(picked->typeIndex == match->typeIndex);

    // text = prefix + code + line end, the prefix a word of three to five characters
    // ending in '@' that names the same entry on its own.
    const std::string_view prefix = text.substr(0, match->codeAt);
    require(prefix.size() >= 3 && prefix.size() <= 5);
    require(prefix.ends_with('@'));
    const auto alone = lorrin::matchPrefix(prefix);
    require(alone && alone->typeIndex == picked->typeIndex && alone->codeAt == prefix.size());
    const std::string_view rest = text.substr(prefix.size());
    const std::string_view end = lineEnd(rest);
    require(picked->code.size() + end.size() == rest.size());
    require(rest.starts_with(picked->code));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkJanUpcOnly(text);
    checkPrefixed(text);
    return 0;
}
