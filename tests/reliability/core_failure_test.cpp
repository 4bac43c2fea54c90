// core_failure_test.cpp - the core when memory runs out or templates cannot be read.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "compose/compose.h"
#include "core/test_host.h"
#include "template/template.h"

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
            EXPECT_EQ(ComposeNextNewsSeeded(seed), 1);
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
TEST_F(CoreFailure, UnreadableOrMissingTemplates)
{
    LoadTownNews();
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {"/proc/self/mem", MSG_TITLE_READ_ERROR},  // opens, but every read fails
        {"/dev/zero", MSG_FLOW_READ_ERROR},        // endless zero bytes: an empty title, an empty flow line
        {"no-such-file.new", MSG_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        Warnings.clear();
        EXPECT_EQ(LoadTemplate(c.path.c_str()), 0) << c.path.substr(0, 40);
        EXPECT_EQ(Warnings, std::vector<std::string>{c.message}) << c.path.substr(0, 40);
        ExpectTownNewsStillLoaded(c.path.substr(0, 40));
    }
}

}  // namespace
