// The profile (INI) file: sections in square brackets, "key=value" lines, ';' comments.
// Reads behave like the private-profile calls the settings were first written against:
// section and key names match without regard to ASCII case, the first match wins, values
// lose surrounding blanks and one pair of enclosing quotes, and integers are read as the
// platform reader reads them.  Writes change the lines in memory; save() replaces the
// file in one step and keeps every line it was not asked to change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProfileFile {
public:
    // An empty profile; save() creates the file.
    ProfileFile() = default;

    // Reads `path`.  A missing or unreadable file gives an empty profile, as the
    // platform's reader gives defaults for every key.
    static ProfileFile load(const std::filesystem::path& path);

    // Parses a file image (a UTF-8 byte order mark and CR LF line ends allowed).
    static ProfileFile parse(std::string_view bytes);

    // The value's leading optional sign and decimal digits, wrapping like the platform's
    // 32-bit reader; 0 when there are no digits; `fallback` when the key is missing or
    // its value is empty.
    std::int32_t getInt(std::string_view section, std::string_view key,
                        std::int32_t fallback) const;

    // The value (or `fallback`) cut to `bufferSize` - 1 bytes, never inside a UTF-8
    // sequence.  A buffer size of 0 gives an empty text.
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view fallback, std::size_t bufferSize) const;

    // Sets the first matching key, or adds it at the end of its section (the section is
    // added at the end of the file when missing).  Line breaks in `value` become blanks so
    // a value can never inject a line.
    void setString(std::string_view section, std::string_view key, std::string_view value);

    // setString with the value as "%d" writes it.
    void setInt(std::string_view section, std::string_view key, std::int32_t value);

    // The file image: every line, in order, with the line end the file was read with.
    std::string serialize() const;

    // Writes the file image to a temporary file beside `path` and renames it over `path`.
    // False (and `path` untouched) when any step fails.
    bool save(const std::filesystem::path& path) const;

private:
    struct Line {
        std::string text;      // the line as read or written, without its line end
        std::string section;   // for a section header: its name
        std::string key;       // for a key line: its name, blanks trimmed
        bool isSection = false;
        bool isKey = false;
    };

    static Line parseLine(std::string_view text);
    // Index of the header line of the first section named `section`, or npos.
    std::size_t findSection(std::string_view section) const;
    // Index of the first line of `key` in the section whose header is `header`, or npos.
    std::size_t findKey(std::size_t header, std::string_view key) const;
    // The value of the key, blanks and one pair of enclosing quotes removed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
    bool crlf_ = false;
    bool bom_ = false;
};

}  // namespace platform
