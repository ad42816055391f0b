#include "test_support/temp_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace test_support {
namespace {

namespace fs = std::filesystem;

fs::path makeFolder() {
    std::string name = (fs::temp_directory_path() / "quillmark-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + name);
    return name;
}

// Gives the owner every right on `folder` and on each folder below it, so that all it
// holds can be listed and removed.  Links are not followed: what they lead to is not ours.
void openUp(const fs::path& folder) {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->symlink_status(ec).type() == fs::file_type::directory) openUp(it->path());
    }
}

void removeAll(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) ADD_FAILURE() << "cannot remove " << path << ": " << ec.message();
}

}  // namespace

TempFolder::TempFolder() : path_(makeFolder()) {}

TempFolder::~TempFolder() {
    openUp(path_);
    removeAll(path_);
}

void TempFolder::clear() const {
    openUp(path_);
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(path_))
        entries.push_back(entry.path());
    for (const fs::path& entry : entries) removeAll(entry);
}

}  // namespace test_support
