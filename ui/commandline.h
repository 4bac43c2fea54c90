// commandline.h - the template path in the command-line tail.
#ifndef ZENTAVO_UI_COMMANDLINE_H
#define ZENTAVO_UI_COMMANDLINE_H

// The template path named by tail, the command line after the program name and the blanks
// after it, or nullptr when the tail is empty. When the whole tail, blanks at its end aside, is
// one non-empty quoted string, the path is what lies between the quotes, since Windows quotes
// paths that hold blanks; the closing quote is overwritten with a zero, so the path stays inside
// the tail. Any other tail is the path as it is, so that a stray quote or anything after the
// closing one leads to the loader's warning instead of being dropped unseen.
char* TemplatePathFromTail(char* tail);

#endif
