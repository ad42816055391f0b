#include "platform/profile.h"

#include "platform/atomic_file.h"

#include <fstream>
#include <iterator>

namespace platform {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Cuts `s` to at most `limit` bytes without leaving half a UTF-8 sequence at the end.
std::string cutToBytes(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return std::string(s);
    std::size_t end = limit;
    // Step back over continuation bytes to the lead byte of the cut sequence.
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return std::string(s.substr(0, end));
}

std::string withoutLineBreaks(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

ProfileFile::Line ProfileFile::parseLine(std::string_view text) {
    Line line;
    line.text = std::string(text);
    const std::string_view body = trim(text);
    if (body.empty() || body.front() == ';') return line;
    if (body.front() == '[') {
        const std::string_view inner = body.substr(1);
        line.isSection = true;
        line.section = std::string(trim(inner.substr(0, inner.find(']'))));
        return line;
    }
    const auto eq = body.find('=');
    if (eq != std::string_view::npos) {
        line.isKey = true;
        line.key = std::string(trim(body.substr(0, eq)));
    }
    return line;
}

ProfileFile ProfileFile::parse(std::string_view bytes) {
    ProfileFile file;
    if (bytes.starts_with(kBom)) {
        file.bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    bool first = true;
    while (!bytes.empty()) {
        const auto nl = bytes.find('\n');
        std::string_view text = bytes.substr(0, nl);
        bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
        const bool cr = text.ends_with('\r');
        if (cr) text.remove_suffix(1);
        if (first && nl != std::string_view::npos) file.crlf_ = cr;
        first = false;
        file.lines_.push_back(parseLine(text));
    }
    return file;
}

ProfileFile ProfileFile::load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parse(bytes);
}

std::size_t ProfileFile::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].isSection && equalsIgnoringCase(lines_[i].section, section)) return i;
    return std::string::npos;
}

std::size_t ProfileFile::findKey(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].isSection; ++i)
        if (lines_[i].isKey && equalsIgnoringCase(lines_[i].key, key)) return i;
    return std::string::npos;
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return std::nullopt;
    const std::size_t at = findKey(header, key);
    if (at == std::string::npos) return std::nullopt;
    const std::string& text = lines_[at].text;
    std::string_view v = trim(std::string_view(text).substr(text.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::int32_t ProfileFile::getInt(std::string_view section, std::string_view key,
                                 std::int32_t fallback) const {
    const auto v = value(section, key);
    if (!v || v->empty()) return fallback;
    std::string_view s = *v;
    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Unsigned arithmetic wraps like the platform's 32-bit reader, without overflow.
    std::uint32_t n = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') break;
        n = n * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) n = 0u - n;
    return static_cast<std::int32_t>(n);
}

std::string ProfileFile::getString(std::string_view section, std::string_view key,
                                   std::string_view fallback, std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    const auto v = value(section, key);
    return cutToBytes(v ? std::string_view(*v) : fallback, bufferSize - 1);
}

void ProfileFile::setString(std::string_view section, std::string_view key,
                            std::string_view value) {
    Line line = parseLine(std::string(key) + "=" + withoutLineBreaks(value));
    std::size_t header = findSection(section);
    if (header == std::string::npos) {
        lines_.push_back(parseLine("[" + std::string(section) + "]"));
        lines_.push_back(std::move(line));
        return;
    }
    const std::size_t at = findKey(header, key);
    if (at != std::string::npos) {
        lines_[at] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so blank separators stay before the next one.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].isSection; ++i)
        if (!trim(lines_[i].text).empty()) insertAt = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

void ProfileFile::setInt(std::string_view section, std::string_view key, std::int32_t value) {
    setString(section, key, std::to_string(value));
}

std::string ProfileFile::serialize() const {
    const std::string_view eol = crlf_ ? "\r\n" : "\n";
    std::string out = bom_ ? std::string(kBom) : std::string();
    for (const Line& line : lines_) {
        out += line.text;
        out += eol;
    }
    return out;
}

bool ProfileFile::save(const std::filesystem::path& path) const {
    return !writeFileAtomically(path, serialize());
}

}  // namespace platform
