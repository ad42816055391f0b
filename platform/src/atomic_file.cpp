#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

// Links followed before a chain counts as a loop, as the system counts them.
constexpr int kMaxLinks = 40;
constexpr int kNameAttempts = 8;

std::error_code lastError() { return {errno, std::generic_category()}; }

// An existing file that may not be written refuses the replacement.  No write bit at all
// counts as read-only for every user (the superuser too, who could open it anyway).
std::error_code checkWritable(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (ec || !fs::exists(status)) return {};
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none)
        return std::make_error_code(std::errc::permission_denied);
    std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
    if (probe == nullptr) return lastError();
    std::fclose(probe);
    return {};
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
    std::error_code ec;
    const fs::path target = writeTarget(path, ec);
    if (ec) return ec;
    if (const std::error_code refused = checkWritable(target)) return refused;

    // A fresh name beside the target that no other writer holds: exclusive creation.
    std::random_device random;
    fs::path temp;
    std::FILE* out = nullptr;
    std::error_code createError;
    for (int attempt = 0; attempt < kNameAttempts && out == nullptr; ++attempt) {
        temp = target.parent_path() /
               ("." + target.filename().string() + "." + std::to_string(random()) + ".tmp");
        out = std::fopen(temp.string().c_str(), "wbx");
        if (out == nullptr) createError = lastError();
    }
    if (out == nullptr) return createError;

    std::error_code result;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) result = lastError();
    if (std::fclose(out) != 0 && !result) result = lastError();
    if (!result) {
        // A replaced file keeps its permissions: a settings file made private stays private.
        const fs::file_status old = fs::status(target, ec);
        if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
        fs::rename(temp, target, result);
    }
    if (result) fs::remove(temp, ec);
    return result;
}

}  // namespace platform
