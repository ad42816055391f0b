#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;

// Links followed before a chain counts as a loop, as the system counts them.
constexpr int kMaxLinks = 40;
constexpr int kNameAttempts = 8;

std::error_code lastError() { return {errno, std::generic_category()}; }

// The reasons of our own that the system has no number for.
class WriterCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "file writer"; }
    std::string message(int) const override { return "a socket is not a file to write"; }
};

std::error_code socketTarget() {
    static const WriterCategory category;
    return {1, category};
}

// Every byte of `bytes` to `fd`, through interruptions and short writes.
std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// A device or a FIFO is written where it is: replacing it would put a plain file in the
// place of the system's node, and a FIFO's reader would get nothing.  A FIFO without a
// reader is an error at once rather than a wait for one that may never come.
std::error_code writeInPlace(const fs::path& target, std::string_view bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return lastError();
    std::error_code result;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) result = lastError();
    if (!result) result = writeAll(fd, bytes);
    if (::close(fd) != 0 && !result) result = lastError();
    return result;
}

// An existing file that may not be written refuses the replacement.  No write bit at all
// counts as read-only for every user (the superuser too, who could open it anyway).
std::error_code checkWritable(const fs::path& target, const struct stat& old) {
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return std::make_error_code(std::errc::permission_denied);
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return lastError();
    ::close(fd);
    return {};
}

// A short name of its own beside the target, whatever the target's name length: the
// process and a number drawn for this thread.  The process is asked once per thread: the
// name only makes a clash unlikely, the exclusive creation rules one out.
fs::path temporaryName(const fs::path& folder) {
    thread_local std::mt19937_64 numbers{std::random_device{}()};
    thread_local const std::string prefix = ".lorrin-" + std::to_string(::getpid()) + "-";
    return folder / (prefix + std::to_string(numbers() % 1'000'000'000) + ".tmp");
}

}  // namespace

fs::path writeTarget(const fs::path& path, std::error_code& ec) {
    ec.clear();
    fs::path target = path;
    for (int links = 0; fs::is_symlink(fs::symlink_status(target, ec)); ++links) {
        if (links == kMaxLinks) {
            ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
            return {};
        }
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) return {};
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    ec.clear();  // a missing file is no error: it is about to be made
    return target;
}

std::error_code writeFileAtomically(const fs::path& path, std::string_view bytes) {
    // One look at the name settles the usual cases, a new file or a plain one; only a link
    // sends the write along its chain.
    fs::path target = path;
    struct stat old {};
    bool exists = ::lstat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return lastError();
    if (exists && S_ISLNK(old.st_mode)) {
        std::error_code ec;
        target = writeTarget(path, ec);
        if (ec) return ec;
        exists = ::stat(target.c_str(), &old) == 0;
        if (!exists && errno != ENOENT) return lastError();
    }
    if (exists) {
        if (S_ISDIR(old.st_mode)) return std::make_error_code(std::errc::is_a_directory);
        if (S_ISSOCK(old.st_mode)) return socketTarget();
        if (!S_ISREG(old.st_mode)) return writeInPlace(target, bytes);
        if (const std::error_code refused = checkWritable(target, old)) return refused;
    }

    // A fresh name that no other writer holds: exclusive creation, the usual permissions.
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temp = temporaryName(target.parent_path());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return lastError();

    std::error_code result = writeAll(fd, bytes);
    if (!result && exists) {
        // A replaced file keeps its owner and group where the process may give them (the
        // superuser replacing a user's file), and its permissions: a private settings file
        // stays private.  The owner goes first, as a change of owner clears the set-id bits.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) result = lastError();
        if (!result && ::fchmod(fd, old.st_mode & 07777) != 0) result = lastError();
    }
    if (::close(fd) != 0 && !result) result = lastError();
    if (!result && ::rename(temp.c_str(), target.c_str()) != 0) result = lastError();
    if (result) ::unlink(temp.c_str());
    return result;
}

}  // namespace platform
