#include "platform/profile.h"

#include "platform/atomic_file.h"

#include <array>
#include <cerrno>
#include <cstdio>

namespace platform {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A CR left at a line's end is what remains of a line end, not part of a name or value.
constexpr std::string_view kBlanks = " \t\r";

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

bool isQuote(char c) { return c == '"' || c == '\''; }

// What the reader makes of a stored value: no blanks around it, one pair of quotes off.
std::string_view unquoted(std::string_view stored) {
    std::string_view v = trim(stored);
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return v;
}

std::string withoutLineBreaks(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// `value` as it is written: in double quotes when the reader would otherwise take blanks
// or quotes off it.
std::string storedForm(const std::string& value) {
    return unquoted(value) == value ? value : '"' + value + '"';
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
    while (!bytes.empty()) {
        const auto nl = bytes.find('\n');
        std::string_view text = bytes.substr(0, nl);
        bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
        // Only the one CR before the LF belongs to the line end; any others stay in the text.
        std::string_view end;
        if (nl != std::string_view::npos) end = text.ends_with('\r') ? "\r\n" : "\n";
        if (end.size() == 2) text.remove_suffix(1);
        Line line = parseLine(text);
        line.end = std::string(end);
        file.lines_.push_back(std::move(line));
    }
    return file;
}

std::optional<ProfileFile> ProfileFile::load(const std::filesystem::path& path,
                                              std::error_code* why) {
    const auto refuse = [&](std::error_code reason) -> std::optional<ProfileFile> {
        if (why != nullptr) *why = reason;
        return std::nullopt;
    };
    // Only a plain file is read: a FIFO or a device would block or never end.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return refuse(std::make_error_code(std::errc::not_supported));
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    if (in == nullptr) {
        if (errno == ENOENT || errno == ENOTDIR) return ProfileFile{};
        return refuse({errno, std::generic_category()});
    }
    std::string bytes;
    std::array<char, 4096> buffer;
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0 &&
           bytes.size() <= kMaxFileSize)
        bytes.append(buffer.data(), n);
    if (bytes.size() > kMaxFileSize) {
        std::fclose(in);
        return refuse(std::make_error_code(std::errc::file_too_large));
    }
    // A folder opens and then fails to read, as does a file on a failing disk.
    const int error = std::ferror(in) != 0 ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(in);
    if (error != 0) return refuse({error, std::generic_category()});
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

std::optional<std::string> ProfileFile::getString(std::string_view section,
                                                  std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return std::nullopt;
    const std::size_t at = findKey(header, key);
    if (at == std::string::npos) return std::nullopt;
    const std::string& text = lines_[at].text;
    return std::string(unquoted(std::string_view(text).substr(text.find('=') + 1)));
}

std::int32_t ProfileFile::getInt(std::string_view section, std::string_view key,
                                 std::int32_t fallback) const {
    const auto v = getString(section, key);
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

std::string_view ProfileFile::newLineEnd() const {
    return !lines_.empty() && lines_.front().end == "\r\n" ? "\r\n" : "\n";
}

void ProfileFile::insertLine(std::size_t at, Line line) {
    line.end = std::string(newLineEnd());
    if (at == lines_.size() && !lines_.empty() && lines_.back().end.empty())
        lines_.back().end = line.end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void ProfileFile::setString(std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string text = withoutLineBreaks(value);
    if (getString(section, key) == text) return;
    Line line = parseLine(std::string(key) + "=" + storedForm(text));
    const std::size_t header = findSection(section);
    if (header == std::string::npos) {
        insertLine(lines_.size(), parseLine("[" + std::string(section) + "]"));
        insertLine(lines_.size(), std::move(line));
        return;
    }
    const std::size_t at = findKey(header, key);
    if (at != std::string::npos) {
        line.end = std::move(lines_[at].end);
        lines_[at] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so blank separators stay before the next one.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].isSection; ++i)
        if (!trim(lines_[i].text).empty()) insertAt = i + 1;
    insertLine(insertAt, std::move(line));
}

void ProfileFile::setInt(std::string_view section, std::string_view key, std::int32_t value) {
    const auto stored = getString(section, key);
    if (stored && !stored->empty() && getInt(section, key, 0) == value) return;
    setString(section, key, std::to_string(value));
}

std::string ProfileFile::serialize() const {
    std::string out = bom_ ? std::string(kBom) : std::string();
    for (const Line& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

bool ProfileFile::save(const std::filesystem::path& path) const {
    return !writeFileAtomically(path, serialize());
}

}  // namespace platform
