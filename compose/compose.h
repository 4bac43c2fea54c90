// compose.h - the program's random source and the composer of news texts.
//
// A news text is one flow line of the loaded template, drawn at random, with one sentence
// drawn at random for each block the line names, joined and closed by two line feeds.
#ifndef ZENTAVO_COMPOSE_COMPOSE_H
#define ZENTAVO_COMPOSE_COMPOSE_H

#include <stdint.h>

#include "core/host.h"

enum { NEWS_BUFFER_SIZE = 100 * 256 + 3 };

// ---- State, all defined in compose.cpp ----
extern char NewsBuffer[NEWS_BUFFER_SIZE];  // the current news text; empty before the first show
extern uint32_t RandomSeed;                // the generator's state, initially 1

// Takes the start time that seeds are counted from. Call once at program start.
void RecordStartTime();

// Milliseconds since the start time, on the wall clock, as a 32-bit value.
uint32_t ElapsedMilliseconds();

// Advances the generator one step and returns bits 16 to 22 of the new seed (0 to 127).
uint8_t NextRandom7();

// Composes a news text into NewsBuffer from LoadedTemplate, seeding the generator with
// elapsed (milliseconds since the start time): the same seed gives the same text. A template
// must have loaded (TemplateIsLoaded): the empty store holds no sentences. Returns 1, or 0
// after warning that the drawn flow line names a block the template does not define;
// NewsBuffer then holds a partial text.
int ComposeNewsSeeded(uint32_t elapsed);

// The show command's composition: keeps a copy of the current text, composes with the seed
// ElapsedMilliseconds() (or elapsed), and puts the previous text back when composing fails.
// Returns ComposeNewsSeeded's result.
int ComposeNextNews();
int ComposeNextNewsSeeded(uint32_t elapsed);

// Formats the warning for flow line `line` (from 0) naming the undefined block `block` at
// element `element` (from 0) into out, which holds MESSAGE_BUFFER_SIZE bytes.
void FormatUndefinedBlockMessage(char* out, unsigned block, unsigned line, unsigned element);

// Empties NewsBuffer and its copy, sets the seed back to 1 and forgets the start time.
void ResetComposer();

#endif
