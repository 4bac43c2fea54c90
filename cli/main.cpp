// main.cpp - zentavo-cli, the command-line companion: composes news from templates in
// batches, records transcripts and checks templates for their authors.
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "cli/terminal.h"
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
    "  --count N          compose N news texts (default 1)\n"
    "  --elapsed MS       seed the i-th text (from 0) with MS+i elapsed milliseconds\n"
    "                     instead of the clock; the same seed gives the same text\n"
    "  --transcript FILE  record every loaded title and composed text into FILE\n"
    "  --utf8             write UTF-8 (the default on a terminal whose locale is UTF-8)\n"
    "  --cp932            write code page 932 (the default into pipes and files)\n"
    "  --check            check each TEMPLATE and report faults as PATH:LINE: MESSAGE\n"
    "                     on standard error\n"
    "  --version          print the version and exit\n"
    "\n"
    "Warnings go to standard error. Exit status: 0 success, 1 a load, composition or\n"
    "write failed (or --check found a fault), 2 usage error.\n";

const char kUnusedBlockNote[] = "注意: ブロック%uはどの流れデータでも使われていません";
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
    unsigned long count = 1;
    const char* transcript = nullptr;
    std::vector<const char*> templates;
};

bool ParseCount(const char* text, unsigned long* count)
{
    if (*text < '0' || *text > '9') return false;
    char* end;
    errno = 0;
    unsigned long long value = strtoull(text, &end, 10);
    if (*end || errno || value > 0xFFFFFFFFull) return false;
    *count = static_cast<unsigned long>(value);
    return true;
}

// A 32-bit value, written as an unsigned number or as a negative one that wraps.
bool ParseElapsed(const char* text, uint32_t* elapsed)
{
    if (!*text) return false;
    char* end;
    errno = 0;
    long long value = strtoll(text, &end, 10);
    if (*end || errno || value < -2147483648LL || value > 4294967295LL) return false;
    *elapsed = static_cast<uint32_t>(value);
    return true;
}

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
const char* OptionValue(const char* name, int argc, char** argv, int* index)
{
    const char* arg = argv[*index];
    size_t length = strlen(name);
    if (strncmp(arg, name, length) != 0) return nullptr;
    if (arg[length] == '=') return arg + length + 1;
    if (arg[length] != '\0' || *index + 1 >= argc) return nullptr;
    return argv[++*index];
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

// Takes one option, argv[*index], and its value (moving *index past a separate value).
// Returns false with the reason in *error when it is unknown or its value is unusable.
bool ParseOption(int argc, char** argv, int* index, Options* options, std::string* error)
{
    const char* arg = argv[*index];
    if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
        options->help = true;
    } else if (strcmp(arg, "--version") == 0) {
        options->version = true;
    } else if (strcmp(arg, "--utf8") == 0) {
        options->encoding = Encoding::Utf8;
    } else if (strcmp(arg, "--cp932") == 0) {
        options->encoding = Encoding::Cp932;
    } else if (strcmp(arg, "--check") == 0) {
        options->check = true;
    } else if (IsOption(arg, "--count")) {
        const char* value = OptionValue("--count", argc, argv, index);
        if (!value || !ParseCount(value, &options->count)) return NeedsValue("--count", "a whole number", value, error);
        options->haveCount = true;
    } else if (IsOption(arg, "--elapsed")) {
        const char* value = OptionValue("--elapsed", argc, argv, index);
        if (!value || !ParseElapsed(value, &options->elapsed))
            return NeedsValue("--elapsed", "a number of milliseconds", value, error);
        options->haveElapsed = true;
    } else if (IsOption(arg, "--transcript")) {
        const char* value = OptionValue("--transcript", argc, argv, index);
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
        } else if (!ParseOption(argc, argv, &i, options, error)) {
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

// Writes "PATH:LINE: MESSAGE" (or "PATH: MESSAGE" without a line) to standard error. The
// path goes out as the user typed it; only the message is the program's own text, which is
// converted like every warning.
void ReportAt(const char* path, unsigned long line, const char* message)
{
    fputs(path, stderr);
    if (line > 0) fprintf(stderr, ":%lu", line);
    fputs(": ", stderr);
    WriteErrorLine(message);
}

// Reports every flow-line element that names a block beyond the sentence data; each
// would make a show of its line fail. Returns the number reported.
int ReportUndefinedBlocks(const char* path, bool named[MAX_BLOCKS])
{
    const TemplateStore& store = LoadedTemplate;
    int faults = 0;
    for (int line = 0; line <= store.LastFlowLine; line++) {
        for (int element = 0; element < FlowLineLength(line); element++) {
            unsigned block = store.FlowTable[line][element];
            if (block <= store.LastBlock) {
                named[block] = true;
                continue;
            }
            char message[MESSAGE_BUFFER_SIZE];
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

// Notes how a template saved in UTF-8 or UTF-16 was read, and each line on which a character
// that code page 932 cannot hold was replaced. Reads the file once more on its own, up to
// where its input ends.
void NoteEncoding(const char* path)
{
    static const char* const kEncodingNames[] = {"", "UTF-8", "UTF-16LE", "UTF-16BE"};
    TextStream* stream = OpenTextStream(path, TEXT_READ);
    if (!stream) return;
    if (TextStreamEncoding(stream) != TEXT_CP932) {
        char message[128];
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
    CaptureWarnings = true;
    int status = 0;
    for (const char* path : options.templates) {
        int loaded = LoadTemplate(path);
        NoteEncoding(path);
        if (!loaded) {
            ReportAt(path, LastLoadFaultLine, CapturedWarning.c_str());
            status = 1;
            continue;
        }
        bool named[MAX_BLOCKS] = {};
        if (ReportUndefinedBlocks(path, named) > 0) status = 1;
        NoteUnusedBlocks(path, named);
    }
    return status;
}

int ComposeFromTemplates(const Options& options)
{
    int status = 0;
    if (options.transcript && !StartTranscript(options.transcript)) status = 1;
    bool loaded = false;
    for (const char* path : options.templates) {
        if (!LoadTemplate(path)) {
            status = 1;
            continue;
        }
        loaded = true;
        if (!RecordTitle()) status = 1;
    }
    for (unsigned long i = 0; loaded && i < options.count; i++) {
        int shown =
            options.haveElapsed ? ComposeNextNewsSeeded(options.elapsed + static_cast<uint32_t>(i)) : ComposeNextNews();
        if (!shown) {
            status = 1;
            continue;
        }
        WriteOutput(stdout, NewsBuffer, strlen(NewsBuffer));
        if (!RecordNews()) status = 1;
    }
    if (RecordingFlag) StopTranscript();
    if (fflush(stdout) != 0) status = 1;
    return status;
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
    if (options.help) {
        printf("%s\n%s", kUsage, kHelp);
        return fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.version) {
        printf("zentavo-cli %s\n", ZENTAVO_VERSION);
        return fflush(stdout) == 0 ? 0 : 1;
    }
    OutputUtf8 = WritesUtf8(options.encoding, stdout);
    ErrorUtf8 = WritesUtf8(options.encoding, stderr);
    return options.check ? CheckTemplates(options) : ComposeFromTemplates(options);
}
