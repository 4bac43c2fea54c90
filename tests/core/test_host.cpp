// test_host.cpp - recording host functions shared by the core tests.
#include "test_host.h"

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
