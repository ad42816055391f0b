#include "lorrin/keeper/handover.h"

#include "platform/little_endian.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace lorrin::keeper {
namespace {

constexpr std::string_view kProgramName = "lorrin-keeper";  // the keeper's target in the build
constexpr std::string_view kHeld = "held ";
// A keeper that has not answered by then is taken to have failed; its answer takes
// milliseconds.
constexpr std::chrono::seconds kAnswerLimit{5};
// A form's bytes are read in steps of this size, so that a stream that promises more
// than it holds costs no more memory than it holds.
constexpr std::size_t kReadStep = std::size_t{1} << 20;

bool validName(std::string_view name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// Every byte, or false; without SIGPIPE when the keeper has gone.
bool sendAll(int socket, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

// The first line the keeper writes, without its end.  The keeper closes the stream once
// it holds nothing else of this process's, so the answer is read to the stream's end
// (within the time limit).
std::string readAnswer(int socket) {
    constexpr std::size_t kLongestAnswer = 4096;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerLimit;
    std::string answer;
    std::array<char, 256> buffer{};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd ready{socket, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
        const ssize_t got = recv(socket, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) break;
        if (got > 0 && answer.size() < kLongestAnswer)
            answer.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return answer.substr(0, answer.find('\n'));
}

Started fromAnswer(const std::string& answer) {
    if (answer.starts_with(kHeld)) return {std::atoi(answer.c_str() + kHeld.size()), {}};
    return {0, answer.empty() ? std::string("the keeper gave no answer") : answer};
}

// The keeper in a session of its own, with the socket as its standard input and output,
// nothing as its error output, and the signals as a new program has them.
int spawnKeeper(const std::string& path, int socket, pid_t& child) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, socket, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&files, socket, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string argv0 = path;
    char* argv[] = {argv0.data(), nullptr};
    const int error = posix_spawn(&child, path.c_str(), &files, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    return error;
}

}  // namespace

std::vector<std::uint8_t> formatHead(const Format& format) {
    std::vector<std::uint8_t> head(1 + format.mimeType.size() + 4);
    head[0] = static_cast<std::uint8_t>(format.mimeType.size());
    std::copy(format.mimeType.begin(), format.mimeType.end(), head.begin() + 1);
    platform::writeU32(head, 1 + format.mimeType.size(),
                       static_cast<std::uint32_t>(format.bytes.size()));
    return head;
}

std::optional<std::vector<Format>> readHandover(const StreamReader& read) {
    std::vector<Format> forms;
    for (std::uint8_t nameLength = 0; read({&nameLength, 1}) == 1;) {
        if (nameLength == 0 || forms.size() == kMaxFormats) return std::nullopt;
        Format form;
        form.mimeType.resize(nameLength);
        std::array<std::uint8_t, 4> length{};
        if (read({reinterpret_cast<std::uint8_t*>(form.mimeType.data()), nameLength}) !=
                nameLength ||
            read(length) != length.size())
            return std::nullopt;
        const std::uint32_t size = *platform::readU32(length, 0);
        const bool repeated = std::any_of(forms.begin(), forms.end(), [&](const Format& f) {
            return f.mimeType == form.mimeType;
        });
        if (!validName(form.mimeType) || repeated || size > kMaxFormatBytes) return std::nullopt;
        while (form.bytes.size() < size) {
            const std::size_t at = form.bytes.size();
            const std::size_t step = std::min<std::size_t>(size - at, kReadStep);
            form.bytes.resize(at + step);
            if (read(std::span(form.bytes).subspan(at)) != step) return std::nullopt;
        }
        forms.push_back(std::move(form));
    }
    if (forms.empty()) return std::nullopt;
    return forms;
}

Started startKeeper(const std::filesystem::path& program, std::span<const Format> forms) {
    const bool fits = !forms.empty() && forms.size() <= kMaxFormats &&
                      std::all_of(forms.begin(), forms.end(), [](const Format& f) {
                          return f.mimeType.size() <= kMaxNameBytes && validName(f.mimeType) &&
                                 f.bytes.size() <= kMaxFormatBytes;
                      });
    if (!fits) return {0, "the picture is too large for the keeper"};
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return {0, systemError("cannot start the keeper", errno)};
    pid_t child = 0;
    const int error = spawnKeeper(program.string(), ends[1], child);
    close(ends[1]);
    if (error != 0) {
        close(ends[0]);
        return {0, systemError("cannot start " + program.string(), error)};
    }
    // A keeper that stops reading, for a while or for good, has failed: its answer says so.
    const timeval patience{kAnswerLimit.count(), 0};
    setsockopt(ends[0], SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    for (const Format& form : forms)
        if (!sendAll(ends[0], formatHead(form)) || !sendAll(ends[0], form.bytes)) break;
    shutdown(ends[0], SHUT_WR);
    const Started started = fromAnswer(readAnswer(ends[0]));
    close(ends[0]);
    // The process started leaves the keeper to itself once it has answered; one that has
    // not answered is not waited for.
    if (!started.ok()) kill(child, SIGKILL);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return started;
}

std::filesystem::path keeperPath(const std::filesystem::path& programDir) {
    const std::filesystem::path installed = programDir / LORRIN_KEEPER_FROM_BINDIR / kProgramName;
    std::error_code error;
    if (std::filesystem::is_regular_file(installed, error)) return installed;
    return programDir / kProgramName;
}

std::string heldAnswer(int pid) { return std::string(kHeld) + std::to_string(pid); }

}  // namespace lorrin::keeper
