// Texts in the users' ANSI code page, CP932 (Shift-JIS with the Windows extensions): the
// bytes the library reads and the bytes the character counter counts.  Everything else
// in the program is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lorrin {

// Stands for a character CP932 lacks and for a byte that is no part of valid UTF-8: no
// CP932 character uses it and no symbology accepts it, so such a text is refused, never
// drawn as something else ('?' would be a valid Code 128 character).
inline constexpr char kUnmappable = static_cast<char>(0x80);

// `utf8` in CP932.
std::string toCp932(std::string_view utf8);

// Bytes of toCp932(utf8): a double-byte character counts 2.
std::size_t cp932Length(std::string_view utf8);

}  // namespace lorrin
