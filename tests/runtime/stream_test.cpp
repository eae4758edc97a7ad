#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {
namespace {

std::string TempFile(const std::string& name, const std::string& contents) {
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

TEST(MemoryStream, ReadsSeeksAndReportsShortReads) {
    TMemoryStream stream(std::vector<uint8_t>{1, 2, 3, 4, 5});
    uint8_t buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 3), 3);
    EXPECT_EQ(stream.Position(), 3);
    EXPECT_EQ(stream.Read(buffer, 8), 2);  // only what is left
    EXPECT_EQ(buffer[1], 5);
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(stream.Seek(-2, SeekOrigin::End), 3);
    EXPECT_EQ(stream.Seek(-100, SeekOrigin::Current), 0);  // never before the start
    EXPECT_EQ(stream.Size(), 5);
    stream.SetPosition(50);  // past the end: reads nothing, Remaining is 0
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(MemoryStream, ReadBufferRaisesOnShortData) {
    TMemoryStream stream(std::vector<uint8_t>{1, 2, 3});
    uint8_t buffer[4];
    try {
        stream.ReadBuffer(buffer, 4);
        FAIL() << "no failure";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
        EXPECT_STREQ(e.ClassName(), "EReadError");
    }
    EXPECT_THROW(stream.ReadBuffer(buffer, -1), EReadError);
}

TEST(MemoryStream, WritesGrowTheBuffer) {
    TMemoryStream stream;
    stream.Write("ab", 2);
    stream.SetPosition(4);
    stream.Write("c", 1);
    ASSERT_EQ(stream.Data().size(), 5u);
    EXPECT_EQ(stream.Data()[2], 0);
    EXPECT_EQ(stream.Data()[4], 'c');
}

TEST(FileStream, ReadsAFileAndLoadsIntoMemory) {
    std::string path = TempFile("kv_stream_read.bin", "hello");
    TFileStream file(path);
    EXPECT_EQ(file.Size(), 5);
    char buffer[5];
    file.ReadBuffer(buffer, 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_THROW(file.ReadBuffer(buffer, 1), EReadError);

    TMemoryStream memory;
    memory.LoadFromFile(path);
    EXPECT_EQ(memory.Data().size(), 5u);
    EXPECT_EQ(memory.Position(), 0);
    std::remove(path.c_str());
}

TEST(FileStream, BufferedReadsAndSeeksAgreeWithTheBytesOfTheFile) {
    // Larger than the read buffer, so reads, look-backs and skips cross its edges.
    std::string contents(300 * 1024 + 17, '\0');
    for (size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>((i * 7919) >> 3);
    const std::string path = TempFile("kv_stream_buffered.bin", contents);
    TFileStream file(path);
    TMemoryStream memory(contents.data(), contents.size());
    std::vector<uint8_t> a(100 * 1024);
    std::vector<uint8_t> b(a.size());
    const int64_t steps[][2] = {{1, 0}, {255, -1}, {70000, 3}, {100 * 1024, -100000}, {1, 65535},
                                {4000, 40000}, {90000, 0}, {100 * 1024, 0}, {1, 0}};
    for (const auto& step : steps) {
        ASSERT_EQ(file.Read(a.data(), step[0]), memory.Read(b.data(), step[0])) << memory.Position();
        ASSERT_TRUE(std::equal(a.begin(), a.begin() + step[0], b.begin())) << memory.Position();
        ASSERT_EQ(file.Seek(step[1], SeekOrigin::Current), memory.Seek(step[1], SeekOrigin::Current));
        ASSERT_EQ(file.Remaining(), memory.Remaining());
    }
    EXPECT_EQ(file.Seek(-5, SeekOrigin::End), static_cast<int64_t>(contents.size()) - 5);
    EXPECT_EQ(file.ReadUpTo(a.data(), 10), 5);
    EXPECT_EQ(file.Read(a.data(), 10), 0);
    std::remove(path.c_str());
}

TEST(FileStream, AFailingMediumRaisesReadErrorInsteadOfEndingTheData) {
    // A regular file whose reads fail: the process's memory at address 0 is never mapped.
    TFileStream file("/proc/self/mem");
    uint8_t buffer[16];
    EXPECT_THROW(file.Read(buffer, 1), EReadError);
    EXPECT_THROW(file.ReadUpTo(buffer, sizeof buffer), EReadError);
}

TEST(FileStream, MissingFilesAndFoldersRaiseOpenError) {
    std::string missing = testing::TempDir() + "kv_no_such_file.bmp";
    try {
        TFileStream file(missing);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing);
    }
    EXPECT_THROW(TFileStream{testing::TempDir()}, EFOpenError);
}

TEST(FileStream, NamedPipesAreRefusedWithoutWaitingForAWriter) {
    std::string pipe = testing::TempDir() + "kv_stream_pipe.bmp";
    std::remove(pipe.c_str());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(TFileStream{pipe}, EFOpenError);
    std::remove(pipe.c_str());
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(CountedBytes, ReadsTheCountedBytesAndRefusesCountsPastTheEnd) {
    TMemoryStream stream(std::vector<uint8_t>{3, 0, 0, 0, 'a', 'b', 'c', 'd'});
    EXPECT_EQ(ReadCountedBytes(stream), (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(stream.Position(), 7);

    // A count of 4 GiB - 1 in a tiny stream: refused before any allocation.
    TMemoryStream huge(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1});
    EXPECT_THROW(ReadCountedBytes(huge), EReadError);
    TMemoryStream cutShort(std::vector<uint8_t>{1, 0});
    EXPECT_THROW(ReadCountedBytes(cutShort), EReadError);
}

}  // namespace
}  // namespace kv
