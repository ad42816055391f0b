#include "app/core/ansi_text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace lorrin {
namespace {

class Converter {
public:
    Converter() : cd_(iconv_open("CP932", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

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

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 when there is none.
std::size_t sequenceLength(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    const std::size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || length > s.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

std::string toCp932(std::string_view utf8) {
    Converter converter;
    std::string out;
    while (!converter.convert(utf8, out)) {
        // A character CP932 lacks is skipped whole; a stray byte alone.
        out.push_back(kUnmappable);
        const std::size_t length = sequenceLength(utf8);
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
    return out;
}

std::size_t cp932Length(std::string_view utf8) { return toCp932(utf8).size(); }

}  // namespace lorrin
