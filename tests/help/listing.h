// listing.h - reading the listing that the help file generator writes beside the help file:
// each topic's number and context name, and what it shows.
#ifndef ZENTAVO_TESTS_HELP_LISTING_H
#define ZENTAVO_TESTS_HELP_LISTING_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ListedTopic {
    unsigned number = 0;
    std::string id;
    std::string text;  // title and paragraphs, without line breaks
};

// The topics in order; none when the file cannot be read. The listing starts with a topic line.
inline std::vector<ListedTopic> ReadListing(const char* path)
{
    std::vector<ListedTopic> topics;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string mark;
        fields >> mark;
        if (mark == "@@") {
            topics.emplace_back();
            fields >> topics.back().number >> topics.back().id;
        } else if (mark != "@>") {  // link lines are not shown text
            topics.back().text += line;
        }
    }
    return topics;
}

#endif
