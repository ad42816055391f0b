#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
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
// name only makes a clash unlikely, the exclusive creation rules one out.  Made from the
// text of the target's path, which a batch's every file would otherwise take apart.
std::string temporaryName(const fs::path& target) {
    thread_local std::mt19937_64 numbers{std::random_device{}()};
    thread_local const std::string prefix = ".lorrin-" + std::to_string(::getpid()) + "-";
    const std::string& text = target.native();
    const std::size_t slash = text.rfind('/');
    return (slash == std::string::npos ? std::string() : text.substr(0, slash + 1)) + prefix +
           std::to_string(numbers() % 1'000'000'000) + ".tmp";
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

namespace {

// A fresh file beside the target that no other writer holds (exclusive creation, the usual
// permissions), holding the new contents; removed again unless it went into place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { discard(); }

    // Makes one beside `target` and writes `bytes` to it, or gives the system's reason it
    // cannot; the file stays open.
    std::error_code create(const fs::path& target, std::string_view bytes) {
        discard();
        for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
            name_ = temporaryName(target);
            fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        if (fd_ < 0) {
            const std::error_code error = lastError();
            name_.clear();
            return error;
        }
        const std::error_code error = writeAll(fd_, bytes);
        if (error) discard();
        return error;
    }

    bool made() const { return !name_.empty(); }
    const std::string& name() const { return name_; }
    int fd() const { return fd_; }

    // Closes the file: its contents have all arrived, or the system's reason they have not.
    std::error_code close() {
        std::error_code error;
        if (fd_ >= 0 && ::close(fd_) != 0) error = lastError();
        fd_ = -1;
        return error;
    }
    // It went into place under its target's name: nothing to remove.
    void placed() { name_.clear(); }
    void discard() {
        close();
        if (!name_.empty()) ::unlink(name_.c_str());
        name_.clear();
    }

private:
    std::string name_;
    int fd_ = -1;
};

#if defined(RENAME_NOREPLACE)
// Set once a file system refuses a rename that keeps an existing name (NFS does): every
// write of the process then looks at the name first.
std::atomic<bool> noReplaceUnsupported{false};

// A new file, the usual case, is written beside its name and renamed into place by a rename
// that replaces nothing, so the name needs no look first: a name that is taken refuses it.
// True when the file is in place (or `result` says why its contents did not all arrive);
// false when the name is taken, with `temp` holding the contents for the long way, or when
// the temporary file could not be made or written, which the long way finds out again.
bool writeNewFile(const fs::path& path, std::string_view bytes, TemporaryFile& temp,
                  std::error_code& result) {
    if (noReplaceUnsupported.load(std::memory_order_relaxed) || temp.create(path, bytes))
        return false;
    if (::renameat2(AT_FDCWD, temp.name().c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
        temp.placed();
        // No file had the name before: one whose contents did not all arrive goes again.
        result = temp.close();
        if (result) ::unlink(path.c_str());
        return true;
    }
    const int error = errno;
    if (error == EINVAL || error == ENOSYS) noReplaceUnsupported = true;
    if (error != EEXIST) temp.discard();
    return false;
}
#endif

// The long way: the name is looked at first.  A link is followed to the file it names, a
// folder or a socket refused, a device or a FIFO written in place, a plain file replaced by
// the temporary file (`temp`, written already when it lies beside the target) if it may be
// written.
std::error_code writeLookingFirst(const fs::path& path, std::string_view bytes,
                                  TemporaryFile& temp) {
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
        temp.discard();  // it lies beside the link, not beside its target
    }
    if (exists) {
        if (S_ISDIR(old.st_mode)) return std::make_error_code(std::errc::is_a_directory);
        if (S_ISSOCK(old.st_mode)) return socketTarget();
        if (!S_ISREG(old.st_mode)) return writeInPlace(target, bytes);
        if (const std::error_code refused = checkWritable(target, old)) return refused;
    }
    if (!temp.made())
        if (const std::error_code error = temp.create(target, bytes)) return error;

    std::error_code result;
    if (exists) {
        // A replaced file keeps its owner and group where the process may give them (the
        // superuser replacing a user's file), and its permissions: a private settings file
        // stays private.  The owner goes first, as a change of owner clears the set-id bits.
        if (::fchown(temp.fd(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            result = lastError();
        if (!result && ::fchmod(temp.fd(), old.st_mode & 07777) != 0) result = lastError();
    }
    if (const std::error_code closed = temp.close(); closed && !result) result = closed;
    if (!result && ::rename(temp.name().c_str(), target.c_str()) != 0) result = lastError();
    if (!result) temp.placed();
    return result;
}

}  // namespace

std::error_code writeFileAtomically(const fs::path& path, std::string_view bytes) {
    TemporaryFile temp;
#if defined(RENAME_NOREPLACE)
    if (std::error_code result; writeNewFile(path, bytes, temp, result)) return result;
#endif
    return writeLookingFirst(path, bytes, temp);
}

}  // namespace platform
