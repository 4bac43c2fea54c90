// recording.h - switching recording on from the window: the save dialog, then the transcript.
#ifndef ZENTAVO_UI_RECORDING_H
#define ZENTAVO_UI_RECORDING_H

// Asks for the transcript in the save dialog and, when the user confirms, starts recording into
// it (BeginTranscript: the file is created or emptied, the current title and news are written,
// and recording goes on with its marks). A cancelled dialog changes nothing; a failed open or
// write has warned and leaves recording off.
void BeginTranscriptFromDialog();

#endif
