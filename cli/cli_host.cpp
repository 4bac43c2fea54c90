// cli_host.cpp - the core's warnings and recording mark for zentavo-cli, and its reports.
#include "cli_host.h"

#include <errno.h>

#include "cli/encoding.h"
#include "core/host.h"

bool OutputUtf8;
bool ErrorUtf8;
std::string LastWarning;

bool WriteOutput(FILE* stream, const char* text, size_t length)
{
    if (stream == stderr ? ErrorUtf8 : OutputUtf8) {
        std::string converted = Cp932ToUtf8(text, length);
        return fwrite(converted.data(), 1, converted.size(), stream) == converted.size();
    }
    return fwrite(text, 1, length, stream) == length;
}

void WriteErrorLine(const std::string& text)
{
    WriteOutput(stderr, text.data(), text.size());
    fputc('\n', stderr);
    fflush(stderr);
}

void ReportAt(const char* path, unsigned long line, const std::string& message)
{
    fputs(path, stderr);
    if (line > 0) fprintf(stderr, ":%lu", line);
    fputs(": ", stderr);
    WriteErrorLine(message);
}

// The system's reasons that a user can act on, in the messages' language; any other comes
// with its number.
static std::string DescribeSystemError(int error)
{
    switch (error) {
        case ENOENT: return "ファイルまたはフォルダがありません";
        case EISDIR: return "フォルダです";
        case EACCES:
        case EPERM: return "アクセスが許可されていません";
        case ENOTDIR: return "パスの途中にフォルダでないものがあります";
        case ENAMETOOLONG: return "パスが長すぎます";
        case ENOSPC: return "ディスクに空きがありません";
        case EFBIG: return "ファイルの大きさの上限を超えました";
        case EROFS: return "書き込めない場所です";
        case EMFILE:
        case ENFILE: return "開いているファイルが多すぎます";
        case EIO: return "入出力エラーです";
        default: return "エラー番号" + std::to_string(error);
    }
}

std::string WithReason(const std::string& message, int error)
{
    return error ? message + " (" + DescribeSystemError(error) + ")" : message;
}

// Kept, not printed: only the caller knows which file the warning is about.
void ShowWarning(const char* message)
{
    LastWarning = message;
}

void ShowRecordingMark(int) {}
