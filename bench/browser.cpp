// Changing the browser's folder to one of 20,000 mixed names: both lists refilled as the main
// window chains them, against the floor of reading the names (opendir/readdir) and sorting them,
// measured in the same binary. The folder is generated once under the temporary folder.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "browser/directory_list.h"
#include "browser/file_list.h"

namespace {

using namespace kv;

constexpr int kEntries = 20000;

// Pictures in the spellings players meet, other files, names without extension and a few
// subfolders, in mixed case and with non-ASCII names among them.
struct BigFolder {
    std::string root;
    std::string big;
    std::string empty;
    BigFolder() {
        std::setlocale(LC_ALL, "");
        std::string pattern = (std::filesystem::temp_directory_path() / "kv_bench_browser_XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        big = root + "/big";
        empty = root + "/empty";
        std::filesystem::create_directory(big);
        std::filesystem::create_directory(empty);
        const char* const endings[] = {".jpg", ".JPG", ".bmp", ".gif", ".Gif", ".txt", ".png", "", ".jpeg", ".BMP"};
        const char* const stems[] = {"IMG_", "photo ", "Скан_", "holiday-", "a"};
        for (int i = 0; i < kEntries; ++i) {
            const std::string name = big + "/" + stems[i % 5] + std::to_string(i * 7919 % kEntries);
            if (i % 100 == 0) {
                std::filesystem::create_directory(name);
            } else {
                std::ofstream(name + endings[i % 10]);
            }
        }
    }
    ~BigFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

BigFolder& Folder() {
    static BigFolder folder;
    return folder;
}

void BM_ReadAndSortFloor(benchmark::State& state) {
    const std::string& big = Folder().big;
    for (auto _ : state) {
        std::vector<std::string> names;
        DIR* dir = ::opendir(big.c_str());
        while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_ReadAndSortFloor)->Unit(benchmark::kMillisecond);

// The panel's chain, as the main window's handler makes it: the directory list moves, and its
// change moves the file list, handing over its reading of the folder.
struct Panel {
    TDirectoryListBox dirs;
    TFileListBox files;
    Panel() {
        dirs.SetFolder(Folder().empty);
        files.SetFolder(Folder().empty);
        files.SetMask("*.jpg;*.bmp;*.gif");
        dirs.OnChange = [this] { files.AcceptPath(dirs.FolderPath(), dirs.Listing()); };
        dirs.CreateWnd();
        files.CreateWnd();
    }
};

void BM_FolderChange(benchmark::State& state) {
    Panel panel;
    size_t rows = 0;
    for (auto _ : state) {
        panel.dirs.SetFolder(Folder().big);
        rows = panel.files.Rows().size() + panel.dirs.Rows().size();
        state.PauseTiming();
        panel.dirs.SetFolder(Folder().empty);
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FolderChange)->Unit(benchmark::kMillisecond);

void BM_FileListRefill(benchmark::State& state) {
    TFileListBox files;
    files.SetFolder(Folder().big);
    files.SetMask("*.jpg;*.bmp;*.gif");
    files.CreateWnd();
    for (auto _ : state) files.FillFiles();
    state.counters["rows"] = static_cast<double>(files.Rows().size());
}
BENCHMARK(BM_FileListRefill)->Unit(benchmark::kMillisecond);

void BM_DirectoryListRefill(benchmark::State& state) {
    TDirectoryListBox dirs;
    dirs.SetFolder(Folder().big);
    dirs.CreateWnd();
    for (auto _ : state) dirs.FillFolders();
    state.counters["rows"] = static_cast<double>(dirs.Rows().size());
}
BENCHMARK(BM_DirectoryListRefill)->Unit(benchmark::kMillisecond);

}  // namespace
