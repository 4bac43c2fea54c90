// replay_main.cpp - runs a fuzz target once on each file given, where libFuzzer is missing.
//
// Arguments are files or folders (every file in a folder, not recursively); arguments that
// begin with "-" are libFuzzer's options and are ignored, so a corpus replay is the same
// command in both builds.
#include <stdint.h>
#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; i++) {
        if (argv[i][0] == '-') continue;
        if (!fs::is_directory(argv[i]))
            inputs.push_back(argv[i]);
        else
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i])) inputs.push_back(entry.path());
    }
    for (const fs::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            fprintf(stderr, "replay: cannot read %s\n", path.c_str());
            return 1;
        }
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // Like libFuzzer, never a null pointer, even for an empty file.
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.c_str()), bytes.size());
    }
    printf("replay: %zu inputs ran cleanly\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
