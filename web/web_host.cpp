// web_host.cpp - the core's warning box, clock and recording mark on the web page, and the
// page's commands over the core, exported to the page's script.
//
// The page hands files to the core through the module's in-memory file system and reads
// texts back as code page 932 bytes; everything in between is the core's own code, so a
// template and a seed give the page the same news and transcript as the window program.
#include <emscripten.h>
#include <time.h>

#include "compose/compose.h"
#include "core/clock.h"
#include "core/host.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "zentavo_version.h"

// The page shows each warning as a modal message after the command returns; message is
// zero-terminated code page 932.
EM_JS(void, ShowWarningOnPage, (const char* message), { Module.onWarning(message); });
EM_JS(void, ShowRecordingMarkOnPage, (int on), { Module.onRecordingMark(on); });

void ShowWarning(const char* message)
{
    ShowWarningOnPage(message);
}

WallClockTime ReadWallClock()
{
    struct timespec reading;
    clock_gettime(CLOCK_REALTIME, &reading);
    return WallClockFromPosixTime(reading.tv_sec, reading.tv_nsec);
}

void ShowRecordingMark(int on)
{
    ShowRecordingMarkOnPage(on);
}

extern "C" {

// Takes the start time that clock seeds count from. Call once, before anything else.
EMSCRIPTEN_KEEPALIVE void WebStart()
{
    RecordStartTime();
}

// The open command after the file is chosen: loads the template at path and records its
// title when recording is on. Returns 1 when it loaded, 0 after the loader's warning (the
// previous template stays).
EMSCRIPTEN_KEEPALIVE int WebOpenTemplate(const char* path)
{
    if (!LoadTemplate(path)) return 0;
    // A failed title write has warned and stopped recording; the template did load.
    RecordTitle();
    return 1;
}

// The show command: composes the next news text, seeded with the clock, or with elapsed
// milliseconds when seeded is 1, and records it when recording is on. Returns 1 with the
// text in WebNewsText(), or 0 when nothing is loaded or composing failed (after its
// warning; the previous text stays).
EMSCRIPTEN_KEEPALIVE int WebShowNews(int seeded, uint32_t elapsed)
{
    if (!TemplateIsLoaded()) return 0;
    if (!(seeded ? ComposeNextNewsSeeded(elapsed) : ComposeNextNews())) return 0;
    RecordNews();
    return 1;
}

// The news text on screen and the loaded template's title, zero-terminated code page 932;
// both stay valid until the next command.
EMSCRIPTEN_KEEPALIVE const char* WebNewsText()
{
    return NewsBuffer;
}

EMSCRIPTEN_KEEPALIVE const char* WebTitle()
{
    return LoadedTemplate.TitleBuffer;
}

// Starts recording into path, with the current title and news, or stops it. Returns what
// StartTranscript returns; stopping always succeeds.
EMSCRIPTEN_KEEPALIVE int WebStartRecording(const char* path)
{
    return StartTranscript(path);
}

EMSCRIPTEN_KEEPALIVE void WebStopRecording()
{
    if (RecordingFlag) StopTranscript();
}

// The about box's version line, "version 1.10".
EMSCRIPTEN_KEEPALIVE const char* WebVersionLine()
{
    return ZENTAVO_VERSION_LINE;
}
}
