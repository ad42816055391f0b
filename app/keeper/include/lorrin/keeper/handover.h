// The keeper: a small program of lorrin's own that goes on serving a picture on the X
// clipboard after the program that drew it has ended, until another program takes the
// clipboard.  A program hands it the picture's forms on its standard input and reads its
// answer on its standard output: once it holds the clipboard, or the reason it cannot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lorrin::keeper {

// One form of the picture: the X target of its MIME type's name, and its bytes.
struct Format {
    std::string mimeType;
    std::vector<std::uint8_t> bytes;
};

// Limits of a handover: a MIME type's length, the bytes of one form, the number of forms.
inline constexpr std::size_t kMaxNameBytes = 255;
inline constexpr std::uint32_t kMaxFormatBytes = std::uint32_t{1} << 30;
inline constexpr std::size_t kMaxFormats = 16;

// The head of one form in a handover: its name's length (1 byte), the name, the length
// of its bytes (4 bytes, little-endian); the bytes follow it.  The handover is the forms
// one after the other, up to the end of the stream.
std::vector<std::uint8_t> formatHead(const Format& format);

// Fills the span from the stream and returns how many bytes it got: fewer only at the
// stream's end.
using StreamReader = std::function<std::size_t(std::span<std::uint8_t>)>;

// The forms of a handover; nullopt unless it holds 1 to kMaxFormats forms within the
// limits, with distinct names of printable ASCII (no blank), and ends after the last.
std::optional<std::vector<Format>> readHandover(const StreamReader& read);

// What became of a start of the keeper.
struct Started {
    int pid = 0;          // the keeper's process, when it holds the clipboard
    std::string failure;  // why it does not; "" when it does

    bool ok() const { return failure.empty(); }
};

// Starts the keeper `program` with the forms and waits for its answer.  The keeper goes
// on in a session of its own, with none of this process's files open, so a terminal or a
// pipe that this process writes to is not held open by it.
Started startKeeper(const std::filesystem::path& program, std::span<const Format> forms);

// The keeper for a program in `programDir`: where it is installed, or beside the program.
std::filesystem::path keeperPath(const std::filesystem::path& programDir);

// The answers the keeper gives: "held PID" when it holds the clipboard, else the reason.
std::string heldAnswer(int pid);

}  // namespace lorrin::keeper
