// cli_test.cpp - zentavo-cli run end to end as a separate process.
#include <gtest/gtest.h>

#include <string>

#include "core/test_host.h"
#include "template/template.h"
#include "zentavo_version.h"

namespace {

ShellRun RunCli(const std::string& arguments)
{
    return RunShell(std::string(ZENTAVO_CLI) + " " + arguments);
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

const std::string kSample = std::string(ZENTAVO_SAMPLES) + "/town-news.new";

TEST(CliUsage, UsageErrorSaysWhatWasWrongThenGivesTheUsageAndStatus2)
{
    const struct {
        const char* arguments;
        const char* error;
    } cases[] = {
        {"", "no TEMPLATE given"},
        {"--count", "--count needs a whole number"},
        {"--count -1 t.new", "--count needs a whole number, not \"-1\""},
        {"--count 5x t.new", "--count needs a whole number, not \"5x\""},
        {"--count 4294967296 t.new", "--count \"4294967296\" is out of range: 0 to 4294967295"},
        {"--elapsed=x t.new", "--elapsed needs a number of milliseconds, not \"x\""},
        {"--transcript= t.new", "--transcript needs a file name, not \"\""},
        {"--frobnicate t.new", "unknown option \"--frobnicate\""},
        {"--counts 2 t.new", "unknown option \"--counts\""},
        {"--check --count 2 t.new", "--check does not go with --count, --elapsed or --transcript"},
        {"--utf8 --cp932 t.new", "--utf8 does not go with --cp932"},
    };
    for (const auto& c : cases) {
        ShellRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        size_t lineEnd = run.err.find('\n');
        EXPECT_EQ(run.err.substr(0, lineEnd), std::string("zentavo-cli: ") + c.error);
        EXPECT_EQ(run.err.find("usage: zentavo-cli"), lineEnd + 1) << c.arguments;
    }
    for (const char* help : {"--help", "-h"}) {
        ShellRun run = RunCli(help);
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_EQ(run.out.find("usage: zentavo-cli"), 0u) << help;
    }
    EXPECT_EQ(RunCli("--elapsed 4294967295 --elapsed=-2147483648 " + kSample).status, 0);  // the ends of the range
    ShellRun version = RunCli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zentavo-cli " ZENTAVO_VERSION "\n");
    // The window program's about box and version block show 1.1.0 as they always have.
    EXPECT_STREQ(ZENTAVO_VERSION_LINE ", " ZENTAVO_VERSION_NUMBERS_TEXT, "version 1.10, 1, 1, 0, 0");
}

// The texts come from the last template that loaded, the i-th seeded with the given elapsed
// milliseconds plus i (a negative count wraps); a failed load or composition names its file,
// sets the exit status, and the rest go on.
TEST(CliCompose, LastTemplateThatLoadedConsecutiveSeedsAndTranscript)
{
    std::string first = WriteScratchFile("first.new", "First\n0,-1\nq\n/E\n");
    std::string second = WriteScratchFile("second.new", "Second\n0,1,-1\nA\nB\nC\nD\n/E\nx/@y\n/E\n");
    std::string bad = WriteScratchFile("bad.new", "Bad\n1, 2,-1\nq\n/E\n");
    std::string one = RunCli("--elapsed 4000000000 " + second).out, two = RunCli("--elapsed=-294967295 " + second).out;
    ASSERT_NE(one, two) << "these seeds should give different texts";
    ShellRun run = RunCli("--elapsed 4000000000 --count 2 --transcript zentavo-test-cli.txt " + first + " " + second +
                          " " + bad + " no-such-file.new . " + ZENTAVO_SAMPLES);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, one + two);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_EQ(run.err, bad + ":2: 流れデータの中に数字、｢-｣、｢,｣以外の文字があります\nno-such-file.new: " +
                           MSG_FILE_NOT_FOUND + "\n.: ファイルが見つかりません (フォルダです)\n" + ZENTAVO_SAMPLES +
                           ": ファイルが見つかりません (フォルダです)\n");
    EXPECT_EQ(ReadWholeFile("zentavo-test-cli.txt"), "First\r\n\r\nSecond\r\n\r\n" + WithCrLf(run.out));

    // Without --elapsed one reading of the clock, which counts from the start, seeds the batch a
    // millisecond apart: the texts are a run of those seeded 0, 1, 2 and on.
    const std::string sports = std::string(ZENTAVO_SAMPLES) + "/sports.vnt";
    std::string clocked = RunCli("--count 8 " + sports).out;
    EXPECT_NE(RunCli("--elapsed 0 --count 3000 " + sports).out.find(clocked), std::string::npos) << clocked;

    ShellRun none = RunCli("--count 5 " + bad);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    ShellRun undefined =
        RunCli("--elapsed 0 --count 20 " + WriteScratchFile("undefined.new", "T\n0,-2\n5,-1\nok\n/E\n"));
    EXPECT_EQ(undefined.status, 1);
    EXPECT_NE(undefined.out.find("ok\n\n"), std::string::npos);
    EXPECT_EQ(undefined.err.find("undefined.new: 定義されていないブロック5が"), 0u);
}

// A failed write names what could not be written and why; a transcript that fills up is
// checked with its bytes by the reliability tests.
TEST(CliCompose, FailedWritesNameTheirFileAndReason)
{
    const struct {
        const char* arguments;
        const char* error;
        bool news;
    } cases[] = {
        {"--transcript no-such-folder/t.txt",
         "no-such-folder/t.txt: ファイルのオープンに失敗しました (ファイルまたはフォルダがありません)", true},
        // Standard output fails within a batch larger than its buffer, and at its last flush.
        {"--count 100 >/dev/full", "標準出力: 文章データの出力中にエラーが発生しました (ディスクに空きがありません)",
         false},
        {"--version >/dev/full", "標準出力: 文章データの出力中にエラーが発生しました (ディスクに空きがありません)",
         false},
    };
    for (const auto& c : cases) {
        // The group's own redirections come after the command's, which decide.
        ShellRun run = RunShell("{ " + std::string(ZENTAVO_CLI) + " " + kSample + " " + c.arguments + "; }");
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, std::string(c.error) + "\n");
        EXPECT_EQ(run.out.empty(), !c.news) << c.arguments;
    }
}

// Output and warnings are UTF-8 on a terminal in a UTF-8 locale, code page 932 into pipes and
// files or on other terminals, and either when asked for; each stream is decided on its own.
TEST(CliEncoding, Utf8OnlyOnAUtf8TerminalUnlessAskedFor)
{
    const std::string run = std::string(ZENTAVO_CLI) + " --elapsed 7 " + kSample + " no-such-file.new ";
    const struct {
        const char* locale;
        const char* rest;
        bool outUtf8, errUtf8;
    } cases[] = {
        {"ja_JP.UTF-8", "2>e", true, false},
        {"C.UTF-8", ">o", false, true},
        {"C.UTF-8", "--cp932", false, false},
        {"C", "", false, false},
        {"C", "--utf8 >o", true, true},
        {"C.UTF-8", "2>&1 | cat", false, false},
        {" LC_CTYPE=xx_XX.UTF-8", ">o", false, true},  // LC_ALL empty, a locale this machine lacks
    };
    for (const auto& c : cases) {
        // script(1) runs the command with its standard output and error on a pseudo-terminal;
        // the news text (【) comes on standard output, the warning on standard error.
        std::string received =
            RunShell("rm -f o e; script -qec 'LC_ALL=" + std::string(c.locale) + " " + run + c.rest + "' /dev/null")
                .out;
        received += ReadWholeFile("o") + ReadWholeFile("e");
        // u8 literals stay UTF-8; the others are code page 932.
        EXPECT_EQ(Contains(received, u8"【"), c.outUtf8) << c.locale << " " << c.rest;
        EXPECT_EQ(Contains(received, "【"), !c.outUtf8) << c.locale << " " << c.rest;
        EXPECT_EQ(Contains(received, u8"ファイルが見つかりません"), c.errUtf8) << c.locale << " " << c.rest;
        EXPECT_EQ(Contains(received, "ファイルが見つかりません"), !c.errUtf8) << c.locale << " " << c.rest;
    }
    // Bytes that are not code page 932 (0x80 among them) become U+FFFD each, and what follows
    // them survives.
    std::string odd = WriteScratchFile("odd.new", "T\n0,-1\n\x81 x\xA0y\x80z\n/E\n");
    EXPECT_EQ(RunCli("--utf8 --elapsed 0 " + odd).out, "\xEF\xBF\xBD x\xEF\xBF\xBDy\xEF\xBF\xBDz\n\n");
}

TEST(CliCheck, ReportsFaultsWithTheirLines)
{
    ShellRun clean = RunCli("--check " + kSample + " " + std::string(ZENTAVO_SAMPLES) + "/sports.vnt");
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.err, "");

    std::string bad = WriteScratchFile("check-bad.new", ";c\nT\n0,-2\n0,x,-1\na\n/E\n");
    std::string undefined = WriteScratchFile("check-undefined.new", "T\n\n0,-2\n0,7,1,9,-1\na\n/E\nb\n/E\nc\n/E\n");
    std::string unused = WriteScratchFile("check-unused.new", "T\n-2\n1,-1\na\n/E\nb\n/E\n");
    std::string empty = WriteScratchFile("check-empty.new", "");
    std::string unfinished = WriteScratchFile("check-unfinished.new", "T\n0,-1\n\na\n/e");
    std::string unfinishedUpper = WriteScratchFile("check-unfinished-upper.new", "T\n0,-1\na\n/E");
    // A lone "-" is a file name like any other.
    ShellRun run = RunCli("--check " + bad + " " + undefined + " " + unused + " " + empty + " " + unfinished + " " +
                          unfinishedUpper + " -");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, bad + ":4: 流れデータの中に数字、｢-｣、｢,｣以外の文字があります\n" + undefined +
                           ":4: 定義されていないブロック7が、流れデータ第2行目の第2個目で指定されました\n" + undefined +
                           ":4: 定義されていないブロック9が、流れデータ第2行目の第4個目で指定されました\n" + undefined +
                           ":9: 注意: ブロック2はどの流れデータでも使われていません\n" + unused +
                           ":2: 注意: 流れデータ第1行目にブロック番号がありません。選ばれると空のニュースになるので、"
                           "番号を書くか行を消してください\n" +
                           unused + ":4: 注意: ブロック0はどの流れデータでも使われていません\n" + empty +
                           ":1: " + MSG_TITLE_READ_ERROR + "\n" + unfinished + ":5: " + MSG_SENTENCE_READ_ERROR + "\n" +
                           unfinished +
                           ":5: 注意: 最後の「/e」の行が改行で終わっていないため、文として読まれました。「/e」のあとで"
                           "改行してください\n" +
                           unfinishedUpper + ":4: " + MSG_SENTENCE_READ_ERROR + "\n" + unfinishedUpper +
                           ":4: 注意: 最後の「/E」の行が改行で終わっていないため、文として読まれました。「/E」のあとで"
                           "改行してください\n-: ファイルが見つかりません\n");

    // One undefined block alone is a fault; a file name in UTF-8 (ニ) stays as typed while the
    // message is converted.
    std::string named = WriteScratchFile("\xE3\x83\x8B.new", "T\n0,5,-1\na\n/E\n");
    ShellRun one = RunCli("--check --utf8 " + named);
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.err.find(named + ":2: \xE5\xAE\x9A"), 0u);  // 定
}

// A template saved in UTF-8 composes as its Shift-JIS twin, from a pipe too; --check says how
// each file was read and names every line on which a character was replaced.
TEST(CliCheck, NotesTheEncodingAndEachLineWithAReplacedCharacter)
{
    std::string utf8 = WriteScratchFile("utf8.new", u8"\uFEFF題\U0001F600\n\n0,-1\n文éé\n/E\n");
    std::string utf16 = WriteScratchFile("utf16.new", std::string("\xFE\xFF\0T\0\n\0", 7));
    EXPECT_EQ(RunCli("--cp932 --elapsed 0 " + utf8).out, "文??\n\n");
    EXPECT_EQ(RunShell("cat " + utf8 + " | " ZENTAVO_CLI " --cp932 --elapsed 0 /dev/stdin").out, "文??\n\n");
    // Each of the two 64 KB blocks this one is read in holds a replaced character; the lines
    // between them hold none.
    std::string comments;
    while (comments.size() < 70000) comments += ";" + std::string(99, 'c') + "\n";
    std::string twoBlocks = WriteScratchFile("two-blocks.new", u8"Té\n" + comments + u8"0,-1\nabcdefghij\né\n/E\n");
    const std::string lastLine = std::to_string(4 + comments.size() / 101);
    ShellRun run = RunCli("--check --cp932 " + utf8 + " " + utf16 + " " + twoBlocks);
    EXPECT_EQ(run.status, 1);
    const std::string replaced = ": 注意: シフトJISにない文字を｢?｣に置き換えました\n";
    EXPECT_EQ(run.err, utf8 + ": 注意: UTF-8のファイルとして読みました\n" + utf8 + ":1" + replaced + utf8 + ":4" +
                           replaced + utf16 + ": 注意: UTF-16BEのファイルとして読みました\n" + utf16 +
                           ":2: " + MSG_BROKEN_UTF16 + "\n" + twoBlocks + ": 注意: UTF-8のファイルとして読みました\n" +
                           twoBlocks + ":1" + replaced + twoBlocks + ":" + lastLine + replaced);
}

}  // namespace
