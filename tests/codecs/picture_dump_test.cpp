// The picture-dump tool run as a program: PPM output, failure lines and exit codes. The tool is
// built beside this test binary; without it the tests are skipped.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/png_reader.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KV_CORPUS_DIR;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PictureDumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        tool = fs::read_symlink("/proc/self/exe").parent_path() / "picture-dump";
        if (!fs::exists(tool)) GTEST_SKIP() << "picture-dump not built";
    }

    // Runs the tool (cut off after 20 seconds: it must never hang); returns its exit code and
    // keeps what it wrote to standard error.
    int Run(const fs::path& input) {
        const std::string command = "timeout 20 '" + tool.string() + "' '" + input.string() + "' '" +
                                    output.string() + "' 2> '" + errors.string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Errors() const { return Slurp(errors); }

    test::TempDir dir;
    fs::path tool;
    fs::path output = dir.Path() / "out.ppm";
    fs::path errors = dir.Path() / "errors.txt";
};

TEST_F(PictureDumpTest, WritesTopRowFirstWithThePaletteExpanded) {
    // 1 and 4 bits per pixel pack several indices into a byte; 127 columns leave a part byte.
    for (const char* name : {"pal8", "pal4", "pal1"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(Run(kCorpus / "bmp/g" / (std::string(name) + ".bmp")), 0) << Errors();
        const std::string ppm = Slurp(output);
        const std::string header = "P6 127 64 255\n";
        ASSERT_EQ(ppm.substr(0, header.size()), header);
        ASSERT_EQ(ppm.size(), header.size() + 127 * 64 * 3);
        const test::RgbaImage ref = test::ReadPng((kCorpus / "bmp/reference" / (std::string(name) + ".png")).string());
        int differences = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 127; ++x)
                for (int c = 0; c < 3; ++c)
                    differences += static_cast<uint8_t>(ppm[header.size() + (y * 127 + x) * 3 + c]) != ref.At(x, y)[c];
        EXPECT_EQ(differences, 0);
    }

    std::ofstream(dir.Path() / "empty.bmp").close();
    ASSERT_EQ(Run(dir.Path() / "empty.bmp"), 0) << Errors();
    EXPECT_EQ(Slurp(output), "P6 0 0 255\n");
}

TEST_F(PictureDumpTest, FailuresPrintClassAndMessageAndExitWithOne) {
    EXPECT_EQ(Run(kCorpus / "bmp/b/badplanes.bmp"), 1);
    EXPECT_EQ(Errors(), "EInvalidGraphic: Bitmap image is not valid\n");
    EXPECT_EQ(Run(kCorpus / "bmp/b/reallybig.bmp"), 1);
    EXPECT_EQ(Errors(), "EOutOfResources: Out of system resources\n");
    EXPECT_EQ(Run(dir.Path() / "picture.png"), 1);
    EXPECT_EQ(Errors(), "EInvalidGraphic: Unknown picture file extension (.png)\n");

    // A named pipe would block the opening until a writer came; it is refused at once instead.
    const fs::path pipe = dir.Path() / "pipe.bmp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Run(pipe), 1);
    EXPECT_EQ(Errors(), "EFOpenError: Cannot open file " + pipe.string() + "\n");
}

}  // namespace
}  // namespace kv
