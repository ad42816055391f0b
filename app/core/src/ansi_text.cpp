#include "lorrin/ansi_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace lorrin {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Back to the initial state, as a fresh descriptor starts.
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as it can; stops at the first character it cannot convert.
    // Returns false when it stopped there.
    bool convert(std::string_view& in, std::string& out) {
        char* from = const_cast<char*>(in.data());
        std::size_t fromLeft = in.size();
        while (true) {
            const std::size_t used = out.size();
            out.resize(used + fromLeft * 2 + 4);
            char* to = out.data() + used;
            std::size_t toLeft = out.size() - used;
            const std::size_t rc = iconv(cd_, &from, &fromLeft, &to, &toLeft);
            const int error = errno;
            out.resize(out.size() - toLeft);
            in = std::string_view(from, fromLeft);
            if (rc != static_cast<std::size_t>(-1)) return true;
            if (error != E2BIG) return false;
        }
    }

private:
    iconv_t cd_;
};

bool isUtf8(std::string_view s) {
    while (!s.empty()) {
        const std::size_t length = utf8SequenceLength(s);
        if (length == 0) return false;
        s.remove_prefix(length);
    }
    return true;
}

std::string toCp932(Converter& converter, std::string_view utf8) {
    std::string out;
    while (!converter.convert(utf8, out)) {
        // A character CP932 lacks is skipped whole; a stray byte alone.
        out.push_back(kUnmappable);
        utf8.remove_prefix(std::max<std::size_t>(utf8SequenceLength(utf8), 1));
    }
    return out;
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view s) {
    const auto at = [s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned lead = at(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead < 0xC2   ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > s.size()) return 0;
    // These leads narrow the second byte's range; the rest take any continuation byte.
    const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((at(i) & 0xC0) != 0x80) return 0;
    return length;
}

std::string toCp932(std::string_view utf8) {
    // ASCII is itself in CP932, and every code of a batch of bar codes is ASCII.
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8);
    // A descriptor per thread, not per text: opening one costs more than most conversions.
    // UTF-8 and CP932 keep no shift state between texts.
    thread_local Converter converter("CP932", "UTF-8");
    converter.reset();
    return toCp932(converter, utf8);
}

std::size_t cp932Length(std::string_view utf8) { return toCp932(utf8).size(); }

std::string_view cp932Prefix(std::string_view utf8, std::size_t bytes) {
    Converter converter("CP932", "UTF-8");
    std::size_t end = 0;
    std::size_t used = 0;
    while (end < utf8.size()) {
        // A stray byte stands alone, as toCp932 counts it.
        const std::size_t length = std::max<std::size_t>(utf8SequenceLength(utf8.substr(end)), 1);
        used += toCp932(converter, utf8.substr(end, length)).size();
        if (used > bytes) break;
        end += length;
    }
    return utf8.substr(0, end);
}

std::string fromStoredText(std::string_view bytes) {
    if (isUtf8(bytes)) return std::string(bytes);
    Converter converter("UTF-8", "CP932");
    std::string out;
    while (!converter.convert(bytes, out)) {
        out += kReplacement;
        bytes.remove_prefix(1);
    }
    return out;
}

}  // namespace lorrin
