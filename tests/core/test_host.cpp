// test_host.cpp - recording host functions and file helpers shared by the core tests.
#include "test_host.h"

#include <stdio.h>

#include "compose/compose.h"
#include "template/template.h"
#include "transcript/transcript.h"

std::vector<std::string> Warnings;
WallClockTime FakeClock;
int RecordingMark = -1;

void ShowWarning(const char* message)
{
    Warnings.push_back(message);
}

WallClockTime ReadWallClock()
{
    return FakeClock;
}

void ShowRecordingMark(int on)
{
    RecordingMark = on;
}

void ResetCoreForTest()
{
    if (RecordingFlag || TranscriptFile) StopTranscript();
    ResetTemplateStore();
    ResetComposer();
    FailSentenceAllocationsFrom(-1);
    Warnings.clear();
    FakeClock = WallClockTime{};
    RecordingMark = -1;
}

std::string WriteScratchFile(const std::string& name, const std::string& bytes)
{
    std::string path = "zentavo-test-" + name;
    FILE* file = fopen(path.c_str(), "wb");
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return "<missing>";
    std::string bytes;
    char block[4096];
    size_t count;
    while ((count = fread(block, 1, sizeof block, file)) > 0) bytes.append(block, count);
    fclose(file);
    return bytes;
}
