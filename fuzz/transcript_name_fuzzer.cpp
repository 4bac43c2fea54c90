// transcript_name_fuzzer.cpp - the proposed transcript name for arbitrary paths.
//
// Any path of up to 255 bytes, in a buffer of exactly 256, comes back terminated inside
// the buffer: with the text after its last dot below index 252 replaced by "txt", or
// unchanged when it has no such dot.
#include <stdlib.h>
#include <string.h>

#include <string>

#include "fuzz/fuzz_host.h"
#include "transcript/transcript.h"

namespace {

const size_t kPathBuffer = 256;

FUZZ_NOT_COVERED std::string ModelName(const std::string& path)
{
    for (size_t index = path.size(); index-- > 0;)
        if (path[index] == '.' && index < 252) return path.substr(0, index + 1) + "txt";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    if (path.size() >= kPathBuffer) path.resize(kPathBuffer - 1);
    // A buffer of exactly 256 bytes on the heap, so a write past it is caught.
    char* buffer = static_cast<char*>(malloc(kPathBuffer));
    memset(buffer, 'J', kPathBuffer);  // bytes behind the path are not zero
    memcpy(buffer, path.c_str(), path.size() + 1);
    ProposeTranscriptName(buffer);
    FuzzRequire(memchr(buffer, '\0', kPathBuffer) != nullptr, "the name stays terminated in its buffer");
    FuzzRequire(std::string(buffer) == ModelName(path), "the text after the last dot below 252 becomes txt");
    free(buffer);
    return 0;
}
