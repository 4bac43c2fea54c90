// replay_main.cpp - runs a fuzz target once on each file given, where libFuzzer is missing.
//
// Arguments are files or folders (every file in a folder, not recursively); arguments that
// begin with "-" are libFuzzer's options and are ignored, so a corpus replay is the same
// command in both builds.
#include <dirent.h>
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes->clear();
    uint8_t block[65536];
    size_t count;
    while ((count = fread(block, 1, sizeof block, file)) > 0) bytes->insert(bytes->end(), block, block + count);
    fclose(file);
    return true;
}

// The files named by one argument: the argument itself, or the files in that folder.
std::vector<std::string> InputsOf(const std::string& argument)
{
    DIR* folder = opendir(argument.c_str());
    if (!folder) return {argument};
    std::vector<std::string> paths;
    while (dirent* entry = readdir(folder))
        if (entry->d_name[0] != '.') paths.push_back(argument + "/" + entry->d_name);
    closedir(folder);
    return paths;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; i++) {
        if (argv[i][0] == '-') continue;
        for (const std::string& path : InputsOf(argv[i])) {
            std::vector<uint8_t> bytes;
            if (!ReadFile(path, &bytes)) {
                fprintf(stderr, "replay: cannot read %s\n", path.c_str());
                return 1;
            }
            // Like libFuzzer, never a null pointer, even for an empty file.
            static const uint8_t kNothing = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing : bytes.data(), bytes.size());
            runs++;
        }
    }
    printf("replay: %d inputs ran cleanly\n", runs);
    return runs > 0 ? 0 : 1;
}
