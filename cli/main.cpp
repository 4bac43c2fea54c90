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
#include "compose/compose.h"
#include "template/template.h"
#include "transcript/transcript.h"

namespace {

const char kUsage[] =
    "usage: zentavo-cli [--elapsed MS] [--count N] [--transcript FILE] [--utf8] TEMPLATE... | "
    "zentavo-cli --check [--utf8] TEMPLATE...";

const char kHelp[] =
    "\n"
    "Loads each TEMPLATE in order (a template that fails keeps the one before it) and writes\n"
    "news texts composed from the last template that loaded to standard output.\n"
    "\n"
    "  --count N          compose N news texts (default 1)\n"
    "  --elapsed MS       seed the i-th text (from 0) with MS+i elapsed milliseconds\n"
    "                     instead of the clock; the same seed gives the same text\n"
    "  --transcript FILE  record every loaded title and composed text into FILE\n"
    "  --utf8             write UTF-8 instead of code page 932\n"
    "  --check            check each TEMPLATE and report faults as PATH:LINE: MESSAGE\n"
    "                     on standard error\n"
    "\n"
    "Warnings go to standard error. Exit status: 0 success, 1 a load, composition or\n"
    "write failed (or --check found a fault), 2 usage error.\n";

const char kUnusedBlockNote[] = "注意: ブロック%uはどの流れデータでも使われていません";

struct Options {
    bool check = false;
    bool help = false;
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

bool ParseArguments(int argc, char** argv, Options* options)
{
    bool composing = false;  // an option that only makes sense when composing was given
    int i = 1;
    for (; i < argc; i++) {
        const char* arg = argv[i];
        if (strcmp(arg, "--") == 0) {
            i++;
            break;
        }
        if (arg[0] != '-' || arg[1] == '\0') {
            options->templates.push_back(arg);
        } else if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            options->help = true;
        } else if (strcmp(arg, "--utf8") == 0) {
            OutputUtf8 = true;
        } else if (strcmp(arg, "--check") == 0) {
            options->check = true;
        } else if (IsOption(arg, "--count")) {
            const char* value = OptionValue("--count", argc, argv, &i);
            if (!value || !ParseCount(value, &options->count)) return false;
            composing = true;
        } else if (IsOption(arg, "--elapsed")) {
            const char* value = OptionValue("--elapsed", argc, argv, &i);
            if (!value || !ParseElapsed(value, &options->elapsed)) return false;
            options->haveElapsed = true;
            composing = true;
        } else if (IsOption(arg, "--transcript")) {
            const char* value = OptionValue("--transcript", argc, argv, &i);
            if (!value || !*value) return false;
            options->transcript = value;
            composing = true;
        } else {
            return false;
        }
    }
    for (; i < argc; i++) options->templates.push_back(argv[i]);
    if (options->help) return true;
    return !options->templates.empty() && !(options->check && composing);
}

// Writes "PATH:LINE: MESSAGE" (or "PATH: MESSAGE" without a line) to standard error.
void ReportAt(const char* path, unsigned long line, const char* message)
{
    std::string report = path;
    if (line > 0) report += ":" + std::to_string(line);
    report += ": ";
    report += message;
    WriteErrorLine(report.c_str());
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
            char message[128];
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
        char message[128];
        snprintf(message, sizeof message, kUnusedBlockNote, block);
        ReportAt(path, LoadedSourceLines.Block[block], message);
    }
}

int CheckTemplates(const Options& options)
{
    CaptureWarnings = true;
    int status = 0;
    for (const char* path : options.templates) {
        if (!LoadTemplate(path)) {
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
    if (options.transcript && !BeginTranscript(options.transcript)) status = 1;
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
            options.haveElapsed ? ShowNextNewsSeeded(options.elapsed + static_cast<uint32_t>(i)) : ShowNextNews();
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
    if (!ParseArguments(argc, argv, &options)) {
        fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    if (options.help) {
        printf("%s\n%s", kUsage, kHelp);
        return 0;
    }
    return options.check ? CheckTemplates(options) : ComposeFromTemplates(options);
}
