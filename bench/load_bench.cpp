// load_bench.cpp - load_bench.exe: the Windows build's template loader against plain C
// runtime reads of the same file, timed side by side in one run (under Wine or Windows).
//
//   load_bench.exe TEMPLATE [ROUNDS]
//
// Each round times, with QueryPerformanceCounter, one LoadTemplate of TEMPLATE, one fread
// of the whole file into a buffer that already exists, and one fgets pass over it in text
// mode with the loader's 256-byte buffer. Prints one JSON object: the median of each, and
// the median over the rounds of the loader's time divided by each other's.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "bench/bench_host.h"
#include "bench/win32_timing.h"
#include "template/template.h"

namespace {

double TimeLoad(const char* path)
{
    double start = Now();
    int loaded = LoadTemplate(path);
    double seconds = Now() - start;
    if (!loaded) {
        fprintf(stderr, "load_bench: %s did not load\n", path);
        exit(1);
    }
    return seconds;
}

double TimeFread(const char* path, std::vector<char>* buffer)
{
    double start = Now();
    FILE* file = fopen(path, "rb");
    size_t read = fread(buffer->data(), 1, buffer->size(), file);
    fclose(file);
    double seconds = Now() - start;
    if (read == 0) exit(1);
    return seconds;
}

double TimeFgets(const char* path)
{
    char line[TEMPLATE_LINE_BUFFER_SIZE];
    volatile char sink = 0;
    double start = Now();
    FILE* file = fopen(path, "r");
    while (fgets(line, sizeof line, file)) sink = line[0];
    fclose(file);
    (void)sink;
    return Now() - start;
}

size_t FileSize(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (!file) {
        fprintf(stderr, "load_bench: cannot open %s\n", path);
        exit(1);
    }
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    fclose(file);
    return static_cast<size_t>(size);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: load_bench.exe TEMPLATE [ROUNDS]\n");
        return 2;
    }
    const char* path = argv[1];
    int rounds = argc > 2 ? atoi(argv[2]) : 31;
    std::vector<char> buffer(FileSize(path) + 1);
    std::vector<double> load, fread, fgets, toFread, toFgets;
    // The first round only warms the file cache, the heap and the runtime.
    for (int round = -1; round < rounds; round++) {
        double l = TimeLoad(path), r = TimeFread(path, &buffer), g = TimeFgets(path);
        if (round < 0) continue;
        load.push_back(l);
        fread.push_back(r);
        fgets.push_back(g);
        toFread.push_back(l / r);
        toFgets.push_back(l / g);
    }
    printf(
        "{\"rounds\": %d, \"load_ms\": %.4f, \"fread_ms\": %.4f, \"fgets_ms\": %.4f, "
        "\"load_to_fread\": %.3f, \"load_to_fgets\": %.3f, \"warnings\": %lu}\n",
        rounds, Median(load) * 1e3, Median(fread) * 1e3, Median(fgets) * 1e3, Median(toFread), Median(toFgets),
        BenchWarnings);
    return 0;
}
