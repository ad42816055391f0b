// Files the user owns are replaced in one step: the new content goes to a fresh file
// beside the target and is renamed over it, so a failed write (a full disk, a file size
// limit, a vanished folder) leaves the old file whole and no temporary file behind.
// What is not a plain file is never replaced: a device or a FIFO is written where it is.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

// Replaces the file at `path` with `bytes`.  A symbolic link is written through: its
// target is replaced and the link stays.  An existing file that may not be written (a
// read-only settings file, say) is refused with permission_denied, as opening it for
// writing would be; a new file gets the usual permissions, a replaced one keeps its
// owner and group where the process may set them, and its permissions.  A character or
// block device or a FIFO is opened and written in place (a FIFO without a reader fails
// with no_such_device_or_address at once; a full device with no_space_on_device); a
// folder or a socket is refused.  The temporary name is short whatever the target's.  A
// new file, the usual case, costs no look at its name first: it is renamed into place by a
// rename that replaces nothing (where the file system has one), and a name that turns out
// to be taken is then treated as above.  Returns the system's reason on failure, an empty
// error code on success.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Where a write to `path` lands: `path` itself, or the file its chain of symbolic links
// ends at (which need not exist yet).
std::filesystem::path writeTarget(const std::filesystem::path& path, std::error_code& ec);

}  // namespace platform
