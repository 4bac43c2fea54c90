// main.cpp - zentavo-helpgen: builds QUORVEL.HLP, and the same manual as an HTML page, from
// the manual's UTF-8 topic files.
//
//   zentavo-helpgen [--html OUTPUT.html] OUTPUT.HLP LISTING.TXT TOPIC.txt...
//
// The topics go into the files in the order given; the first is the contents. LISTING.TXT
// receives what the viewer should show of each topic, for the tests.
#include <stdio.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "help/compile.h"
#include "help/html.h"
#include "help/manualsource.h"

namespace {

// The help file's title, also the caption of the viewer's window (code page 932).
const char kHelpTitle[] = "Zentavo ヘルプ";

bool ReadWholeFile(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return static_cast<bool>(in);
}

// Writes the bytes as they are: the help file is binary, and the listing and the page keep
// their own line ends.
bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), bytes.size());
    out.close();  // a full disk may show only when the last bytes go out
    return !out.fail();
}

int Fail(const std::string& message)
{
    fprintf(stderr, "zentavo-helpgen: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string html;
    if (argc > 2 && std::string(argv[1]) == "--html") html = argv[2], argc -= 2, argv += 2;
    if (argc < 4) return Fail("usage: zentavo-helpgen [--html OUTPUT.html] OUTPUT.HLP LISTING.TXT TOPIC.txt...");
    std::vector<ManualTopic> topics;
    std::string error;
    for (int i = 3; i < argc; ++i) {
        std::string text;
        if (!ReadWholeFile(argv[i], &text)) return Fail(std::string("cannot read ") + argv[i]);
        topics.emplace_back();
        if (!ParseTopicSource(text, argv[i], &topics.back(), &error)) return Fail(error);
    }
    if (!ResolveManual(&topics, &error)) return Fail(error);
    CompiledManual manual;
    if (!CompileManual(topics, kHelpTitle, &manual, &error)) return Fail(error);
    if (!WriteWholeFile(argv[1], std::string(manual.helpFile.begin(), manual.helpFile.end())))
        return Fail(std::string("cannot write ") + argv[1]);
    if (!WriteWholeFile(argv[2], manual.listing)) return Fail(std::string("cannot write ") + argv[2]);
    if (!html.empty() && !WriteWholeFile(html, BuildHtmlManual(topics))) return Fail("cannot write " + html);
    return 0;
}
