// commandline.h - the template path in the command-line tail.
#ifndef ZENTAVO_UI_COMMANDLINE_H
#define ZENTAVO_UI_COMMANDLINE_H

// The template path named by tail, the command line after the program name and the blanks
// after it, or nullptr when it names none. When the tail starts with a double quote, the path is
// what lies between it and the next double quote (or the tail's end), since Windows quotes paths
// that hold blanks and no file name can hold a quote; the closing quote is overwritten with a
// zero, so the path stays inside the tail. Otherwise the whole tail is the path. An empty tail
// and an empty pair of quotes name none.
char* TemplatePathFromTail(char* tail);

#endif
