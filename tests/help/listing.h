// listing.h - reading the listing that the help file generator writes beside the help file:
// each topic's number and context name, what it shows, and its links.
#ifndef ZENTAVO_TESTS_HELP_LISTING_H
#define ZENTAVO_TESTS_HELP_LISTING_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ListedLink {
    std::string target;
    std::string text;
};

struct ListedTopic {
    unsigned number = 0;
    std::string id;
    std::string text;  // title and paragraphs, without line breaks
    std::vector<ListedLink> links;
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
        } else if (mark == "@>") {
            ListedLink link;
            fields >> link.target;
            link.text = line.substr(4 + link.target.size());
            topics.back().links.push_back(link);
        } else {
            topics.back().text += line;
        }
    }
    return topics;
}

#endif
