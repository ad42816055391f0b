#include "lorrin/cli/report.h"

#include "lorrin/ansi_text.h"
#include "lorrin/cli/options.h"

#include <algorithm>
#include <variant>

namespace lorrin::cli {
namespace {

// C0 controls, DEL and the C1 controls U+0080 to U+009F.
bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    return lead < 0x20 || lead == 0x7F ||
           (lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0);
}

std::string valueText(std::int32_t value) { return std::to_string(value); }
std::string valueText(const std::string& value) { return shown(value); }

}  // namespace

std::string shown(std::string_view text, std::size_t maxCharacters) {
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        if (characters == maxCharacters) return out + "...";
        const std::size_t length = utf8SequenceLength(text.substr(i));
        const std::string_view character = text.substr(i, std::max<std::size_t>(length, 1));
        i += character.size();
        if (character == "\\") {
            out += "\\\\";
        } else if (length == 0 || isControl(character)) {
            for (const char c : character) {
                const auto b = static_cast<unsigned char>(c);
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 0x0F];
            }
        } else {
            out += character;
        }
    }
    return out;
}

std::string named(SettingsField field, const Settings& settings) {
    const std::string value =
        std::visit([&](auto member) { return valueText(settings.*member); }, field);
    return std::string(optionFor(field)) + " (" + std::string(settingsKey(field)) + "=) " + value;
}

}  // namespace lorrin::cli
