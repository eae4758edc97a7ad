#pragma once
// A scratch folder under the system's temporary directory, removed with the object.
#include <filesystem>
#include <random>
#include <string>

namespace kv::test {

class TempDir {
public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("kv-codecs-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Copies `source` into the folder under `name`; returns the new path.
    std::string Copy(const std::filesystem::path& source, const std::string& name) const {
        const auto target = path_ / name;
        std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
        return target.string();
    }

private:
    std::filesystem::path path_;
};

}  // namespace kv::test
