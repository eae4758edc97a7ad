#pragma once
// A folder tree under the temporary folder for the browser tests, removed again afterwards.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "browser/platform_fs.h"

namespace kv::test {

class TempTree {
public:
    TempTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kv_browser_XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        // Spelled as the lists report their folders.
        root_ = platform::EnterableFolder(root_);
    }
    ~TempTree() {
        // Give back any permission a test took away, so everything can be removed.
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(root_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored)) ::chmod(it->path().c_str(), 0755);
        }
        ::chmod(root_.c_str(), 0755);
        std::filesystem::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

    std::string File(const std::string& relative, const std::string& bytes = "x") const {
        const std::string path = Path(relative);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Folder(const std::string& relative) const {
        const std::string path = Path(relative);
        std::filesystem::create_directories(path);
        return path;
    }

private:
    std::string root_;
};

// Permission bits do not stop the superuser; tests of unreadable folders skip then.
inline bool RunningAsRoot() { return ::geteuid() == 0; }

}  // namespace kv::test
