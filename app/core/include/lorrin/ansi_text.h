// Texts in the users' ANSI code page, CP932 (Shift-JIS with the Windows extensions): the
// bytes the library reads, the bytes the character counter counts and the measure of the
// settings' text fields.  Everything else in the program is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lorrin {

// Stands for a character CP932 lacks and for a byte that is no part of valid UTF-8: no
// CP932 character uses it and no symbology accepts it, so such a text is refused, never
// drawn as something else ('?' would be a valid Code 128 character).
inline constexpr char kUnmappable = static_cast<char>(0x80);

// The length of the well-formed UTF-8 sequence that the non-empty `text` starts with; 0
// for none (a stray byte, an overlong form, a surrogate, a code point past U+10FFFF, a
// sequence cut short).
std::size_t utf8SequenceLength(std::string_view text);

// `utf8` in CP932.
std::string toCp932(std::string_view utf8);

// Bytes of toCp932(utf8): a double-byte character counts 2.
std::size_t cp932Length(std::string_view utf8);

// The longest start of `utf8` whose CP932 form has at most `bytes` bytes, cut between
// characters.
std::string_view cp932Prefix(std::string_view utf8, std::size_t bytes);

// A text from a settings file in UTF-8: valid UTF-8 as it is, anything else read as CP932
// (the file was written on a Japanese Windows system); a byte CP932 has no character for
// becomes U+FFFD.
std::string fromStoredText(std::string_view bytes);

}  // namespace lorrin
