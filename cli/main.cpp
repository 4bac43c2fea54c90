// main.cpp - zentavo-cli, the command-line companion: composes news from templates in
// batches, records transcripts and checks templates for their authors.
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "cli/platform.h"
#include "compose/compose.h"
#include "core/textstream.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "zentavo_version.h"

namespace {

const char kUsage[] =
    "usage: zentavo-cli [--elapsed MS] [--count N] [--transcript FILE] [--utf8|--cp932] TEMPLATE... | "
    "zentavo-cli --check [--utf8|--cp932] TEMPLATE...";

const char kHelp[] =
    "\n"
    "Loads each TEMPLATE in order (a template that fails keeps the one before it) and writes\n"
    "news texts composed from the last template that loaded to standard output.\n"
    "\n"
    "  --count N          compose N news texts (default 1); without --elapsed they are\n"
    "                     seeded one millisecond apart from one reading of the clock\n"
    "  --elapsed MS       seed the i-th text (from 0) with MS+i elapsed milliseconds\n"
    "                     instead of the clock; the same seed gives the same text\n"
    "  --transcript FILE  record every loaded title and composed text into FILE\n"
    "  --utf8             write UTF-8 (the default on a terminal whose locale is UTF-8)\n"
    "  --cp932            write code page 932 (the default into pipes and files)\n"
    "  --check            check each TEMPLATE: faults as PATH:LINE: MESSAGE on standard\n"
    "                     error, and notes on unused blocks, flow lines without block\n"
    "                     numbers and a last /E line without its line end\n"
    "  --version          print the version and exit\n"
    "\n"
    "Failures go to standard error in Japanese, saying what failed: PATH:LINE: MESSAGE for\n"
    "a fault in a template, PATH: MESSAGE (REASON) for a file that could not be opened or\n"
    "written (standard output named in Japanese too). Exit status: 0 success, 1 a load,\n"
    "composition or write failed (or --check found a fault), 2 usage error.\n";

const char kStandardOutput[] = "標準出力";
const char kUnusedBlockNote[] = "注意: ブロック%uはどの流れデータでも使われていません";
const char kEmptyFlowLineNote[] =
    "注意: 流れデータ第%u行目にブロック番号がありません。選ばれると空のニュースになるので、"
    "番号を書くか行を消してください";
const char kUnfinishedEndOfBlockNote[] =
    "注意: 最後の「/%c」の行が改行で終わっていないため、文として読まれました。「/%c」のあとで"
    "改行してください";
const char kReadAsNote[] = "注意: %sのファイルとして読みました";
const char kReplacedNote[] = "注意: シフトJISにない文字を｢?｣に置き換えました";

// How text is written: UTF-8 where a terminal reads it, otherwise as stored, unless told.
enum class Encoding { ForTheStream, Utf8, Cp932 };

struct Options {
    bool check = false;
    bool help = false;
    bool version = false;
    Encoding encoding = Encoding::ForTheStream;
    bool haveCount = false;
    bool haveElapsed = false;
    uint32_t elapsed = 0;
    uint32_t count = 1;
    const char* transcript = nullptr;
    std::vector<const char*> templates;
};

enum class Number { Valid, NotANumber, OutOfRange };

// Reads text as a decimal number from low to high: digits, after a "-" where low is negative.
Number ParseNumber(const char* text, long long low, long long high, long long* value)
{
    const char* digits = text + (*text == '-' && low < 0);
    if (*digits < '0' || *digits > '9') return Number::NotANumber;
    char* end;
    errno = 0;
    long long parsed = strtoll(text, &end, 10);
    if (*end) return Number::NotANumber;
    if (errno == ERANGE || parsed < low || parsed > high) return Number::OutOfRange;
    *value = parsed;
    return Number::Valid;
}

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
const char* OptionValue(const char* name, char** argv, int* index)
{
    const char* arg = argv[*index];
    size_t length = strlen(name);
    if (strncmp(arg, name, length) != 0) return nullptr;
    if (arg[length] == '=') return arg + length + 1;
    if (arg[length] != '\0') return nullptr;
    return argv[++*index];  // argv[argc] is a null pointer: a value missing at the end
}

bool IsOption(const char* arg, const char* name)
{
    size_t length = strlen(name);
    return strncmp(arg, name, length) == 0 && (arg[length] == '\0' || arg[length] == '=');
}

// Says what an option's value should have been: "NAME needs WHAT, not "VALUE"", or only
// "NAME needs WHAT" when the value is missing. Returns false, for the caller to pass on.
bool NeedsValue(const char* name, const char* what, const char* value, std::string* error)
{
    *error = std::string(name) + " needs " + what;
    if (value) *error += std::string(", not \"") + value + "\"";
    return false;
}

// Takes the value of a numeric option (nullptr when it is missing) into *value. Returns
// false with the reason in *error when it is not a number of the kind what, or out of range.
bool TakeNumber(const char* name, const char* what, const char* text, long long low, long long high, long long* value,
                std::string* error)
{
    Number result = text ? ParseNumber(text, low, high, value) : Number::NotANumber;
    if (result == Number::NotANumber) return NeedsValue(name, what, text, error);
    if (result == Number::Valid) return true;
    *error =
        std::string(name) + " \"" + text + "\" is out of range: " + std::to_string(low) + " to " + std::to_string(high);
    return false;
}

// Takes --utf8 or --cp932; the other one given before is a conflict.
bool ChooseEncoding(Encoding chosen, Options* options, std::string* error)
{
    if (options->encoding != Encoding::ForTheStream && options->encoding != chosen) {
        *error = "--utf8 does not go with --cp932";
        return false;
    }
    options->encoding = chosen;
    return true;
}

// Takes one option, argv[*index], and its value (moving *index past a separate value).
// Returns false with the reason in *error when it is unknown or its value is unusable.
bool ParseOption(char** argv, int* index, Options* options, std::string* error)
{
    const char* arg = argv[*index];
    if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
        options->help = true;
    } else if (strcmp(arg, "--version") == 0) {
        options->version = true;
    } else if (strcmp(arg, "--utf8") == 0) {
        return ChooseEncoding(Encoding::Utf8, options, error);
    } else if (strcmp(arg, "--cp932") == 0) {
        return ChooseEncoding(Encoding::Cp932, options, error);
    } else if (strcmp(arg, "--check") == 0) {
        options->check = true;
    } else if (IsOption(arg, "--count")) {
        long long count;
        if (!TakeNumber("--count", "a whole number", OptionValue("--count", argv, index), 0, UINT32_MAX, &count, error))
            return false;
        options->count = static_cast<uint32_t>(count);
        options->haveCount = true;
    } else if (IsOption(arg, "--elapsed")) {
        // A 32-bit value, written as an unsigned number or as a negative one that wraps.
        long long elapsed;
        if (!TakeNumber("--elapsed", "a number of milliseconds", OptionValue("--elapsed", argv, index), INT32_MIN,
                        UINT32_MAX, &elapsed, error))
            return false;
        options->elapsed = static_cast<uint32_t>(elapsed);
        options->haveElapsed = true;
    } else if (IsOption(arg, "--transcript")) {
        const char* value = OptionValue("--transcript", argv, index);
        if (!value || !*value) return NeedsValue("--transcript", "a file name", value, error);
        options->transcript = value;
    } else {
        *error = std::string("unknown option \"") + arg + "\"";
        return false;
    }
    return true;
}

// Fills options from the command line. Returns false with the reason in *error for a
// usage error.
bool ParseArguments(int argc, char** argv, Options* options, std::string* error)
{
    int i = 1;
    for (; i < argc; i++) {
        const char* arg = argv[i];
        if (strcmp(arg, "--") == 0) {
            i++;
            break;
        }
        if (arg[0] != '-' || arg[1] == '\0') {
            options->templates.push_back(arg);
        } else if (!ParseOption(argv, &i, options, error)) {
            return false;
        }
    }
    for (; i < argc; i++) options->templates.push_back(argv[i]);
    if (options->help || options->version) return true;
    if (options->check && (options->haveCount || options->haveElapsed || options->transcript)) {
        *error = "--check does not go with --count, --elapsed or --transcript";
        return false;
    }
    if (options->templates.empty()) {
        *error = "no TEMPLATE given";
        return false;
    }
    return true;
}

// Whether text for stream is to be converted to UTF-8.
bool WritesUtf8(Encoding encoding, FILE* stream)
{
    if (encoding == Encoding::ForTheStream) return IsUtf8Terminal(stream);
    return encoding == Encoding::Utf8;
}

// Reports where and why the last load of the template at path failed: the fault's line, or,
// for a file that could not be opened, the system's reason when it says more than "not found".
void ReportLoadFailure(const char* path)
{
    bool opened = LastWarning != MSG_FILE_NOT_FOUND;
    int reason = opened || LastTextStreamError == ENOENT ? 0 : LastTextStreamError;
    ReportAt(path, LastLoadFaultLine, WithReason(LastWarning, reason));
}

// Loads the template at path, or reports why it did not load. Returns whether it loaded.
bool LoadAndReport(const char* path)
{
    if (LoadTemplate(path)) return true;
    ReportLoadFailure(path);
    return false;
}

// Reports the transcript's failed open or write with its path and reason. Returns 1, the
// exit status it sets.
int ReportTranscriptFailure(const char* path)
{
    ReportAt(path, 0, WithReason(LastWarning, LastTextStreamError));
    return 1;
}

// Reports that standard output did not take what was written, with the reason in error.
void ReportOutputFailure(int error)
{
    WriteErrorLine(std::string(kStandardOutput) + ": " + WithReason(MSG_TRANSCRIPT_WRITE_FAILED, error));
}

// Hands everything written to standard output over. Returns the exit status: 0, or 1 after
// reporting the failure.
int FinishOutput()
{
    if (fflush(stdout) == 0) return 0;
    ReportOutputFailure(errno);
    return 1;
}

// Reports every flow-line element that names a block beyond the sentence data (each would
// make a show of its line fail), and notes every flow line without block numbers. Returns
// the number of faults reported.
int ReportFlowLines(const char* path, bool named[MAX_BLOCKS])
{
    const TemplateStore& store = LoadedTemplate;
    int faults = 0;
    for (int line = 0; line <= store.LastFlowLine; line++) {
        char message[MESSAGE_BUFFER_SIZE];
        if (FlowLineLength(line) == 0) {
            snprintf(message, sizeof message, kEmptyFlowLineNote, line + 1);
            ReportAt(path, LoadedSourceLines.FlowLine[line], message);
        }
        for (int element = 0; element < FlowLineLength(line); element++) {
            unsigned block = store.FlowTable[line][element];
            if (block <= store.LastBlock) {
                named[block] = true;
                continue;
            }
            FormatUndefinedBlockMessage(message, block, line, element);
            ReportAt(path, LoadedSourceLines.FlowLine[line], message);
            faults++;
        }
    }
    return faults;
}

void NoteUnusedBlocks(const char* path, const bool named[MAX_BLOCKS])
{
    for (unsigned block = 0; block <= LoadedTemplate.LastBlock; block++) {
        if (named[block]) continue;
        char message[MESSAGE_BUFFER_SIZE];
        snprintf(message, sizeof message, kUnusedBlockNote, block);
        ReportAt(path, LoadedSourceLines.Block[block], message);
    }
}

// After a load that failed because the sentence data did not end right after an end-of-block
// line: notes a last line "/E" or "/e" that lacks its line feed, which the loader read as a
// sentence. The file is read again the way the loader reads it.
void NoteUnfinishedEndOfBlock(const char* path)
{
    if (LastWarning != MSG_SENTENCE_READ_ERROR) return;
    TextStream* file = OpenTextStream(path, TEXT_READ);
    if (!file) return;
    char line[TEMPLATE_LINE_BUFFER_SIZE], last[TEMPLATE_LINE_BUFFER_SIZE] = "";
    size_t lastLength = 0;
    for (size_t length; (length = ReadTextLine(file, line, sizeof line)) > 0; lastLength = length)
        memcpy(last, line, length + 1);
    unsigned long number = TextLineNumber(file);
    CloseTextStream(file);
    if (lastLength != 2 || (strcmp(last, "/E") != 0 && strcmp(last, "/e") != 0)) return;
    char message[MESSAGE_BUFFER_SIZE];
    snprintf(message, sizeof message, kUnfinishedEndOfBlockNote, last[1], last[1]);
    ReportAt(path, number, message);
}

// Notes how a template saved in UTF-8 or UTF-16 was read, and each line on which a character
// that code page 932 cannot hold was replaced. Reads the file once more on its own, up to
// where its input ends.
void NoteEncoding(const char* path)
{
    static const char* const kEncodingNames[] = {"", "UTF-8", "UTF-16LE", "UTF-16BE"};
    TextStream* stream = OpenTextStream(path, TEXT_READ);
    if (!stream) return;
    if (TextStreamEncoding(stream) != TEXT_CP932) {
        char message[MESSAGE_BUFFER_SIZE];
        snprintf(message, sizeof message, kReadAsNote, kEncodingNames[TextStreamEncoding(stream)]);
        ReportAt(path, 0, message);
        char piece[4096];
        unsigned long noted = 0;
        while (ReadTextLine(stream, piece, sizeof piece) > 0) {
            if (!TextPieceHasReplacement(stream) || TextLineNumber(stream) == noted) continue;
            noted = TextLineNumber(stream);
            ReportAt(path, noted, kReplacedNote);
        }
    }
    CloseTextStream(stream);
}

int CheckTemplates(const Options& options)
{
    int status = 0;
    for (const char* path : options.templates) {
        bool loaded = LoadTemplate(path);
        NoteEncoding(path);
        if (!loaded) {
            ReportLoadFailure(path);
            NoteUnfinishedEndOfBlock(path);
            status = 1;
            continue;
        }
        bool named[MAX_BLOCKS] = {};
        if (ReportFlowLines(path, named) > 0) status = 1;
        NoteUnusedBlocks(path, named);
    }
    return status;
}

// Composes options.count texts from the template loaded from path, writes them to standard
// output and records them. Returns the exit status.
int ComposeBatch(const Options& options, const char* path)
{
    // One reading of the clock seeds the whole batch, a millisecond apart as --elapsed does:
    // texts composed within one millisecond would otherwise all be the same.
    uint32_t first = options.haveElapsed ? options.elapsed : ElapsedMilliseconds();
    int status = 0;
    for (uint32_t i = 0; i < options.count; i++) {
        if (!ComposeNextNewsSeeded(first + i)) {
            ReportAt(path, 0, LastWarning);
            status = 1;
            continue;
        }
        // Nothing more can reach a standard output that failed once.
        if (!WriteOutput(stdout, NewsBuffer, strlen(NewsBuffer))) {
            ReportOutputFailure(errno);
            return 1;
        }
        if (!RecordNews()) status = ReportTranscriptFailure(options.transcript);
    }
    return FinishOutput() | status;
}

int ComposeFromTemplates(const Options& options)
{
    int status = 0;
    if (options.transcript && !StartTranscript(options.transcript))
        status = ReportTranscriptFailure(options.transcript);
    const char* inUse = nullptr;
    for (const char* path : options.templates) {
        if (!LoadAndReport(path)) {
            status = 1;
            continue;
        }
        inUse = path;
        if (!RecordTitle()) status = ReportTranscriptFailure(options.transcript);
    }
    if (inUse) status |= ComposeBatch(options, inUse);
    if (RecordingFlag) StopTranscript();
    return status;
}

// The sentences of a template take about as many bytes as its file, and never more than the
// largest template holds.
size_t SentenceMemoryFor(const Options& options)
{
    const size_t kLargestStore = size_t{MAX_BLOCKS} * MAX_SENTENCES * TEMPLATE_LINE_BUFFER_SIZE;
    size_t largest = 0;
    for (const char* path : options.templates) {
        struct stat info;
        if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) largest = std::max(largest, size_t(info.st_size));
    }
    return std::min(largest, kLargestStore);
}

}  // namespace

int main(int argc, char** argv)
{
    UseBinaryStandardStreams();
    RecordStartTime();
    Options options;
    std::string error;
    if (!ParseArguments(argc, argv, &options, &error)) {
        // The user's own words come back as typed, so they are not converted.
        fprintf(stderr, "zentavo-cli: %s\n%s\n", error.c_str(), kUsage);
        return 2;
    }
    OutputUtf8 = WritesUtf8(options.encoding, stdout);
    ErrorUtf8 = WritesUtf8(options.encoding, stderr);
    if (options.help) {
        printf("%s\n%s", kUsage, kHelp);
        return FinishOutput();
    }
    if (options.version) {
        printf("zentavo-cli %s\n", ZENTAVO_VERSION);
        return FinishOutput();
    }
    PrepareHeap(SentenceMemoryFor(options));
    return options.check ? CheckTemplates(options) : ComposeFromTemplates(options);
}
