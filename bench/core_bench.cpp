// core_bench.cpp - Google Benchmark of the portable core: loading, composing and the layout
// walk, next to plain C library passes over the same template files.
//
//   core_bench --templates=DIR [Google Benchmark options]
//
// DIR holds largest.new, its UTF-8 twin largest-utf8.new and small.new from
// bench/generate-templates.js. Every benchmark is registered once per template as
// NAME/largest and NAME/small, and the load and the fgets pass also as NAME/largest-utf8.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench/bench_host.h"
#include "bench/counting_allocator.h"
#include "compose/compose.h"
#include "layout/layout.h"
#include "template/template.h"

namespace {

std::string TemplateFolder;

std::string TemplatePath(const char* name)
{
    return TemplateFolder + "/" + name + ".new";
}

long FileSize(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return -1;
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    fclose(file);
    return size;
}

// Loads a template for the benchmarks that need one; false (and the benchmark is skipped)
// when it does not load.
bool LoadForBenchmark(benchmark::State& state, const std::string& path)
{
    if (LoadTemplate(path.c_str())) return true;
    state.SkipWithError("the template did not load");
    return false;
}

// The loader, as the open command and zentavo-cli run it; each load frees the one before, and
// the next takes the memory it freed (main keeps freed memory in the process).
void LoadTemplateFile(benchmark::State& state, const char* name)
{
    std::string path = TemplatePath(name);
    for (auto _ : state)
        if (!LoadForBenchmark(state, path)) break;
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}

// The loader as a process's first load runs it: the sentences land on pages the process has
// never touched, so the load pays their page faults.
void LoadTemplateIntoFreshMemory(benchmark::State& state, const char* name)
{
    std::string path = TemplatePath(name);
    for (auto _ : state) {
        state.PauseTiming();
        ResetTemplateStore();
        malloc_trim(0);  // hands every free page back to the kernel
        state.ResumeTiming();
        if (!LoadForBenchmark(state, path)) break;
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}

// What this machine charges for as many fresh bytes as the file holds: a write to each new
// page of a new mapping. Every first load pays about this much, whatever the allocator.
void TouchFreshPages(benchmark::State& state, const char* name)
{
    size_t size = FileSize(TemplatePath(name));
    size_t page = sysconf(_SC_PAGESIZE);
    for (auto _ : state) {
        void* mapping = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping == MAP_FAILED) {
            state.SkipWithError("mmap failed");
            break;
        }
        char* bytes = static_cast<char*>(mapping);
        for (size_t i = 0; i < size; i += page) bytes[i] = 1;
        benchmark::ClobberMemory();
        munmap(mapping, size);
    }
}

// A plain pass over the same file line by line, with the loader's 256-byte buffer.
void FgetsPass(benchmark::State& state, const char* name)
{
    std::string path = TemplatePath(name);
    char line[TEMPLATE_LINE_BUFFER_SIZE];
    for (auto _ : state) {
        FILE* file = fopen(path.c_str(), "r");
        while (fgets(line, sizeof line, file)) benchmark::DoNotOptimize(line[0]);
        fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}

// The whole file in one fread into a buffer that already exists.
void FreadPass(benchmark::State& state, const char* name)
{
    std::string path = TemplatePath(name);
    std::vector<char> bytes(FileSize(path) + 1);
    for (auto _ : state) {
        FILE* file = fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(fread(bytes.data(), 1, bytes.size(), file));
        fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}

// One news text per iteration, each with its own seed; items per second are texts per
// second. The composition must not allocate: any allocation fails the benchmark.
void ComposeText(benchmark::State& state, const char* name)
{
    if (!LoadForBenchmark(state, TemplatePath(name))) return;
    uint32_t seed = 0;
    unsigned long warningsBefore = BenchWarnings;
    unsigned long allocationsBefore = AllocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComposeNewsSeeded(seed++));
        benchmark::ClobberMemory();
    }
    unsigned long allocations = AllocationCount() - allocationsBefore;
    state.counters["allocations"] = static_cast<double>(allocations);
    state.counters["bytes_per_text"] = static_cast<double>(strlen(NewsBuffer));
    state.SetItemsProcessed(state.iterations());
    if (allocations > 0) state.SkipWithError("composing allocated memory");
    if (BenchWarnings != warningsBefore) state.SkipWithError("a composition failed");
}

// Widths of a typical display font: double-byte characters twice as wide as single bytes.
int32_t MeasureUnit(const char*, int length, void*)
{
    return length == 2 ? 16 : 8;
}

void CountUnit(int32_t, int32_t, const char*, int, void* context)
{
    ++*static_cast<long*>(context);
}

// The news view's layout walk over one text from the template (the longest possible one
// from the largest), with the measuring and drawing left to trivial callbacks: the cost of
// the walk itself, which every paint and every scroll step pays.
void LayOutNews(benchmark::State& state, const char* name)
{
    if (!LoadForBenchmark(state, TemplatePath(name)) || !ComposeNewsSeeded(1)) return;
    const LayoutMetrics metrics = {800, 46, 16, 16};
    long units = 0;
    UnitPainter painter = {MeasureUnit, CountUnit, &units};
    TopLine = 0;
    unsigned long allocationsBefore = AllocationCount();
    for (auto _ : state) benchmark::DoNotOptimize(LayOutText(NewsBuffer, metrics, painter));
    state.counters["allocations"] = static_cast<double>(AllocationCount() - allocationsBefore);
    state.counters["units"] = static_cast<double>(units / state.iterations());
    state.counters["lines"] = static_cast<double>(LineCount);
    state.counters["bytes"] = static_cast<double>(strlen(NewsBuffer));
    state.SetItemsProcessed(state.iterations());
}

void RegisterAll()
{
    const struct {
        const char* name;
        void (*function)(benchmark::State&, const char*);
    } benchmarks[] = {
        {"LoadTemplate", LoadTemplateFile}, {"FgetsPass", FgetsPass},   {"FreadPass", FreadPass},
        {"Compose", ComposeText},           {"LayOutText", LayOutNews},
    };
    for (const auto& b : benchmarks)
        for (const char* name : {"largest", "small"})
            benchmark::RegisterBenchmark((std::string(b.name) + "/" + name).c_str(), b.function, name)
                ->Unit(benchmark::kMicrosecond);
    // The largest template saved as UTF-8, against a pass over that file.
    benchmark::RegisterBenchmark("LoadTemplate/largest-utf8", LoadTemplateFile, "largest-utf8")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("FgetsPass/largest-utf8", FgetsPass, "largest-utf8")->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LoadTemplateIntoFreshMemory/largest", LoadTemplateIntoFreshMemory, "largest")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("TouchFreshPages/largest", TouchFreshPages, "largest")->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; i++)
        if (strncmp(argv[i], "--templates=", 12) == 0) TemplateFolder = argv[i] + 12;
    if (TemplateFolder.empty()) {
        fprintf(stderr, "usage: core_bench --templates=DIR [benchmark options]\n");
        return 2;
    }
    // glibc hands a free stretch at the top of its heap back to the kernel at once. In the load
    // loop that made every other load fault the replaced template's 2.6 MB in afresh, or not,
    // depending only on where those sentences lay; the loop is to time the loader, and
    // LoadTemplateIntoFreshMemory times the faults.
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
