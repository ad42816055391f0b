// Fuzz target: the settings file.  Any bytes parse, and serializing gives them back.  Then
// one key is set: it reads back as set (line breaks as blanks), every other key reads as
// before, and every byte outside the changed line is kept.
//
// Input: which key to set (1 byte), the value up to the first NUL, then the file image.
// The key is one of the file's own key lines, a new key beside the first of them, or a key
// in a new section.
#include "platform/profile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using platform::ProfileFile;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r";

struct Name {
    std::string section, key;
};

void require(bool condition) {
    if (!condition) std::abort();
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// A name the program could pass: no line break, no blanks around it, nothing that would
// make its line read as something else.
bool usable(const Name& name) {
    const auto plain = [](std::string_view s) {
        return s.find_first_of("\r\n") == std::string_view::npos && trim(s) == s;
    };
    return plain(name.section) && plain(name.key) && name.section.find(']') == std::string::npos &&
           name.key.find('=') == std::string::npos && !name.key.starts_with('[') &&
           !name.key.starts_with(';');
}

// Every key line of the image with its section, read the way an INI file is laid out:
// this is the oracle, written apart from the parser.
std::vector<Name> keyLines(std::string_view image) {
    if (image.starts_with(kBom)) image.remove_prefix(kBom.size());
    std::vector<Name> names;
    std::optional<std::string> section;
    while (!image.empty()) {
        const auto nl = image.find('\n');
        const std::string_view body = trim(image.substr(0, nl));
        image.remove_prefix(nl == std::string_view::npos ? image.size() : nl + 1);
        if (body.empty() || body.front() == ';') continue;
        if (body.front() == '[') {
            const std::string_view inner = body.substr(1);
            section = std::string(trim(inner.substr(0, inner.find(']'))));
        } else if (const auto eq = body.find('='); eq != std::string_view::npos && section) {
            names.push_back({*section, std::string(trim(body.substr(0, eq)))});
        }
    }
    return names;
}

std::string firstSection(std::string_view image) {
    const std::vector<Name> names = keyLines(image);
    return names.empty() ? "barcode" : names.front().section;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) return 0;
    const auto choice = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    const auto nul = input.find('\0');
    const bool hasValue = nul != std::string_view::npos;
    const std::string_view value = hasValue ? input.substr(0, nul) : std::string_view();
    const std::string_view image = hasValue ? input.substr(nul + 1) : input;

    const ProfileFile before = ProfileFile::parse(image);
    require(before.serialize() == image);

    const std::vector<Name> names = keyLines(image);
    const std::size_t pick = choice % (names.size() + 2);
    const Name set = pick < names.size()    ? names[pick]
                     : pick == names.size() ? Name{firstSection(image), "added"}
                                            : Name{"added", "k"};
    if (!usable(set)) return 0;
    ProfileFile changed = before;
    changed.setString(set.section, set.key, value);
    const std::string bytes = changed.serialize();
    const ProfileFile after = ProfileFile::parse(bytes);
    require(after.serialize() == bytes);

    std::string expected(value);
    for (char& c : expected)
        if (c == '\r' || c == '\n') c = ' ';
    require(after.getString(set.section, set.key) == expected);
    for (const Name& name : names) {
        if (sameName(name.section, set.section) && sameName(name.key, set.key)) continue;
        require(after.getString(name.section, name.key) ==
                before.getString(name.section, name.key));
    }

    // The image is kept around one changed stretch: within a replaced line, or new lines
    // (the key's, its section's header, a line end for a last line that had none).
    std::size_t prefix = 0;
    while (prefix < image.size() && prefix < bytes.size() && image[prefix] == bytes[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < image.size() - prefix && suffix < bytes.size() - prefix &&
           image[image.size() - 1 - suffix] == bytes[bytes.size() - 1 - suffix])
        ++suffix;
    const std::string_view removed = image.substr(prefix, image.size() - prefix - suffix);
    const std::string_view added =
        std::string_view(bytes).substr(prefix, bytes.size() - prefix - suffix);
    const auto lineEnds = [](std::string_view s) { return std::count(s.begin(), s.end(), '\n'); };
    if (before.getString(set.section, set.key)) {
        require(lineEnds(removed) == 0 && lineEnds(added) == 0);
    } else {
        require(removed.empty() && lineEnds(added) <= 3);
    }
    return 0;
}
