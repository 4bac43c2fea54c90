// recording.cpp - the record command's switching on.
#include "recording.h"

#include "transcript/transcript.h"
#include "ui/dialogs.h"

void BeginTranscriptFromDialog()
{
    if (!ChooseTranscriptFile(FileTitle, PathBuffer)) return;
    BeginTranscript(PathBuffer);
}
