// test_support.cpp - whole-file helpers, shell runs, the per-test scratch folders and the main of
// every test program.
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <dirent.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::string WriteScratchFile(const std::string& path, const std::string& bytes)
{
    EXPECT_TRUE(std::ofstream(path, std::ios::binary) << bytes) << path;
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

#ifndef _WIN32
ShellRun RunShell(const std::string& command)
{
    int status = system((command + " >zentavo-test-stdout 2>zentavo-test-stderr").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile("zentavo-test-stdout"),
            ReadWholeFile("zentavo-test-stderr")};
}

size_t OpenFileCount()
{
    size_t count = 0;
    DIR* folder = opendir("/proc/self/fd");
    while (folder && readdir(folder)) count++;
    if (folder) closedir(folder);
    return count;
}
#endif

namespace {

// Enters a new empty folder under the system's temporary folder before each test and, after
// it, returns to where the test program started and removes that folder.
class ScratchFolders : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        std::error_code error;
        home_ = fs::current_path(error);
        fs::path temporary = fs::temp_directory_path(error);
        for (int attempt = 0;; attempt++) {
            folder_ = temporary / ("zentavo-test-" + std::to_string(getpid()) + "-" + std::to_string(attempt));
            if (fs::create_directory(folder_, error) || attempt > 1000) break;
        }
        fs::current_path(folder_, error);
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        std::error_code error;
        fs::current_path(home_, error);
        fs::remove_all(folder_, error);
    }

private:
    fs::path home_, folder_;
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScratchFolders);
    return RUN_ALL_TESTS();
}

const LeadByteEdge LEAD_BYTE_EDGES[8] = {{'\x80', false}, {'\x81', true}, {'\x9f', true}, {'\xa0', false},
                                         {'\xdf', false}, {'\xe0', true}, {'\xfc', true}, {'\xfd', false}};
