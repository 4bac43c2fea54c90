// core_failure_test.cpp - the core when memory runs out, templates cannot be read and the
// transcript's folder is gone.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "core/test_host.h"
#include "template/template.h"
#include "transcript/transcript.h"

namespace {

const std::string kTownNews = std::string(ZENTAVO_SAMPLES) + "/town-news.new";
const std::string kSports = std::string(ZENTAVO_SAMPLES) + "/sports.vnt";

class CoreFailure : public ::testing::Test {
protected:
    void SetUp() override { ResetCoreForTest(); }
    void TearDown() override { ResetCoreForTest(); }

    // Loads the town news sample and keeps the store and twenty texts composed from it.
    void LoadTownNews()
    {
        ASSERT_EQ(LoadTemplate(kTownNews.c_str()), 1);
        memcpy(&loaded, &LoadedTemplate, sizeof loaded);
        texts = ComposeTexts();
    }

    // The town news sample is still loaded, unchanged, and composes the same texts.
    void ExpectTownNewsStillLoaded(const std::string& context)
    {
        EXPECT_EQ(memcmp(&loaded, &LoadedTemplate, sizeof loaded), 0) << context;
        EXPECT_EQ(ComposeTexts(), texts) << context;
    }

    static std::vector<std::string> ComposeTexts()
    {
        std::vector<std::string> composed;
        for (uint32_t seed = 0; seed < 20; seed++) {
            EXPECT_EQ(ShowNextNewsSeeded(seed), 1);
            composed.push_back(NewsBuffer);
        }
        return composed;
    }

    TemplateStore loaded;
    std::vector<std::string> texts;
};

// Each sentence allocation of a load fails in turn: one warning each time, and the previous
// template stays and composes as before, until a load whose allocations all succeed.
TEST_F(CoreFailure, AllocationFailureAtEachSentenceKeepsThePreviousTemplate)
{
    LoadTownNews();
    long failures = 0;
    for (long n = 0; n < MAX_BLOCKS * MAX_SENTENCES; n++) {
        Warnings.clear();
        FailSentenceAllocationsFrom(n);
        if (LoadTemplate(kSports.c_str())) break;
        failures++;
        ASSERT_EQ(Warnings, std::vector<std::string>{MSG_OUT_OF_MEMORY}) << "allocation " << n;
        ExpectTownNewsStillLoaded("allocation " + std::to_string(n));
    }
    EXPECT_EQ(failures, 23);  // the sports sample has 23 sentences
    EXPECT_STREQ(LoadedTemplate.TitleBuffer, "ほのぼのスポーツ速報");
}

// Paths that do not lead to a readable template: each gives its one warning and changes
// nothing.
TEST_F(CoreFailure, UnreadableAndVanishedTemplates)
{
    LoadTownNews();
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {"/proc/self/mem", MSG_TITLE_READ_ERROR},  // opens, but every read fails
        {"/dev/zero", MSG_FLOW_READ_ERROR},        // endless zero bytes: an empty title, an empty flow line
        {".", MSG_FILE_NOT_FOUND},
        {"no-such-folder/t.new", MSG_FILE_NOT_FOUND},
        {"no-such-file.new", MSG_FILE_NOT_FOUND},
        {"", MSG_FILE_NOT_FOUND},
        {std::string(5000, 'a'), MSG_FILE_NOT_FOUND},  // longer than any path the system takes
    };
    for (const auto& c : cases) {
        Warnings.clear();
        EXPECT_EQ(LoadTemplate(c.path.c_str()), 0) << c.path.substr(0, 40);
        EXPECT_EQ(Warnings, std::vector<std::string>{c.message}) << c.path.substr(0, 40);
        ExpectTownNewsStillLoaded(c.path.substr(0, 40));
    }
}

// A template its reader may not open. Root opens every file, so the load runs in a child
// that gives up root first.
TEST_F(CoreFailure, TemplateWithoutReadPermission)
{
    char folder[] = "/tmp/zentavo-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    chmod(folder, 0755);
    std::string path = std::string(folder) + "/locked.new";
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("T\n0,-1\na\n/E\n", file);
    fclose(file);
    chmod(path.c_str(), 0);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        Warnings.clear();
        bool right = LoadTemplate(path.c_str()) == 0 && Warnings == std::vector<std::string>{MSG_FILE_NOT_FOUND};
        _exit(right ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    unlink(path.c_str());
    rmdir(folder);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// On Linux an open file outlives its folder: the writes still succeed, nothing is reported,
// and only a new recording into the vanished folder fails, at its open.
TEST_F(CoreFailure, TranscriptWhoseFolderVanishes)
{
    mkdir("zentavo-test-vanishing", 0755);
    strcpy(LoadedTemplate.TitleBuffer, "T");
    ASSERT_EQ(BeginTranscript("zentavo-test-vanishing/t.txt"), 1);
    unlink("zentavo-test-vanishing/t.txt");
    ASSERT_EQ(rmdir("zentavo-test-vanishing"), 0);
    strcpy(NewsBuffer, "news\n\n");
    EXPECT_EQ(RecordNews(), 1);
    EXPECT_EQ(RecordingFlag, 1);
    StopTranscript();
    EXPECT_TRUE(Warnings.empty());
    EXPECT_EQ(BeginTranscript("zentavo-test-vanishing/t.txt"), 0);
    EXPECT_EQ(Warnings, std::vector<std::string>{MSG_TRANSCRIPT_OPEN_FAILED});
}

}  // namespace
