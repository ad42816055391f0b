// Files the user owns are replaced in one step: the new content goes to a fresh file
// beside the target and is renamed over it, so a failed write (a full disk, a file size
// limit, a vanished folder) leaves the old file whole and no temporary file behind.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

// Replaces the file at `path` with `bytes`.  A symbolic link is written through: its
// target is replaced and the link stays.  An existing file that may not be written (a
// read-only settings file, say) is refused with permission_denied, as opening it for
// writing would be; a new file gets the usual permissions, a replaced one keeps its own.
// Returns the system's reason on failure, an empty error code on success.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Where a write to `path` lands: `path` itself, or the file its chain of symbolic links
// ends at (which need not exist yet).
std::filesystem::path writeTarget(const std::filesystem::path& path, std::error_code& ec);

}  // namespace platform
