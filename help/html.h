// html.h - the manual as one self-contained HTML page, for systems without a help viewer.
#ifndef ZENTAVO_HELP_HTML_H
#define ZENTAVO_HELP_HTML_H

#include <string>
#include <vector>

#include "help/manualsource.h"

// The whole manual as one UTF-8 HTML page from topics that ResolveManual has accepted: the
// page is titled with the first topic's title, and each topic is a section with its context
// name as its id, in order, its links jumping to the sections they name. The style sheet is
// inline and there is no script, so the page reads the same in any browser, offline.
std::string BuildHtmlManual(const std::vector<ManualTopic>& topics);

#endif
