// The profile (INI) file: sections in square brackets, "key=value" lines, ';' comments.
// Reads behave like the private-profile calls the settings were first written against:
// section and key names match without regard to ASCII case, the first match wins, values
// lose surrounding blanks and one pair of enclosing quotes, and integers are read as the
// platform reader reads them.  Texts are bytes: their encoding is the caller's business.
// Writes change the lines in memory; save() replaces the file in one step and keeps every
// byte of every line it was not asked to change, line ends included.
//
// Section and key names are the program's own: no line breaks, '=' or ']' in them, no
// blanks around them, and no key that starts with '[' or ';'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {

class ProfileFile {
public:
    // An empty profile; save() creates the file.
    ProfileFile() = default;

    // Reads `path`.  A missing file gives an empty profile, as the platform's reader gives
    // defaults for every key; nullopt when something is there but cannot be read, with the
    // reason in `why` when given: not_supported for what is not a plain file (a folder, a
    // FIFO, a device), file_too_large for a file over kMaxFileSize, else the system's (a
    // file without read permission, a read error).
    static std::optional<ProfileFile> load(const std::filesystem::path& path,
                                           std::error_code* why = nullptr);

    // No settings file a person writes comes near this size; the limit keeps a runaway file
    // from filling the memory.
    static constexpr std::size_t kMaxFileSize = std::size_t{16} << 20;

    // Parses a file image (a UTF-8 byte order mark and CR LF line ends allowed).  Any bytes
    // are accepted, and serialize() gives them back unchanged.
    static ProfileFile parse(std::string_view bytes);

    // The value's leading optional sign and decimal digits, wrapping like the platform's
    // 32-bit reader; 0 when there are no digits; `fallback` when the key is missing or
    // its value is empty.
    std::int32_t getInt(std::string_view section, std::string_view key,
                        std::int32_t fallback) const;

    // The value's bytes as stored, without the blanks around it and one pair of enclosing
    // quotes; nullopt when the key is missing.
    std::optional<std::string> getString(std::string_view section, std::string_view key) const;

    // Sets the first matching key, or adds it at the end of its section (the section is
    // added at the end of the file when missing).  Line breaks (CR, LF) in `value` become
    // blanks so a value can never inject a line; a value that would lose blanks or quotes
    // when read is written in double quotes, so getString gives back what was set.  A key
    // that already reads as the value keeps its line as it is.
    void setString(std::string_view section, std::string_view key, std::string_view value);

    // setString with the value as "%d" writes it; a key whose value already reads as
    // `value` ("070", "+70") keeps its line as it is.
    void setInt(std::string_view section, std::string_view key, std::int32_t value);

    // The file image: every line, in order, each with the line end it was read with; new
    // lines end as the file's first line does.
    std::string serialize() const;

    // Writes the file image to a temporary file beside `path` and renames it over `path`.
    // False (and `path` untouched) when any step fails.
    bool save(const std::filesystem::path& path) const;

private:
    struct Line {
        std::string text;     // the line as read or written, without its line end
        std::string end;      // "\n", "\r\n", or empty for a last line without one
        std::string section;  // for a section header: its name
        std::string key;      // for a key line: its name, blanks trimmed
        bool isSection = false;
        bool isKey = false;
    };

    static Line parseLine(std::string_view text);
    // Index of the header line of the first section named `section`, or npos.
    std::size_t findSection(std::string_view section) const;
    // Index of the first line of `key` in the section whose header is `header`, or npos.
    std::size_t findKey(std::size_t header, std::string_view key) const;
    // The line end that new lines get.
    std::string_view newLineEnd() const;
    // Inserts `line` before index `at`, giving a last line without a line end one.
    void insertLine(std::size_t at, Line line);

    std::vector<Line> lines_;
    bool bom_ = false;
};

}  // namespace platform
