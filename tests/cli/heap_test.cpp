// heap_test.cpp - zentavo-cli's heap preparation: after it, the many small blocks of a large
// template's sentences land on pages that are already in place, instead of faulting each one in.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

#include "cli/platform.h"

namespace {

long MinorPageFaults()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Whether this kernel puts pages in place on request (Linux 5.14 and later).
bool KernelPopulatesOnRequest()
{
#ifdef MADV_POPULATE_WRITE
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    bool populates = probe != MAP_FAILED && madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    if (probe != MAP_FAILED) munmap(probe, page);
    return populates;
#else
    return false;
#endif
}

TEST(CliHeap, SentencesAfterThePreparationFaultInAlmostNoPages)
{
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "only glibc's heap is prepared, and not under AddressSanitizer";
#endif
    if (!KernelPopulatesOnRequest()) GTEST_SKIP() << "the kernel cannot put pages in place on request";
    const size_t kPrepared = 8 << 20, kSentences = 4 << 20, kSentenceSize = 100;
    const long kPages = static_cast<long>(kSentences / static_cast<size_t>(sysconf(_SC_PAGESIZE)));
    std::vector<void*> sentences;
    sentences.reserve(kSentences / kSentenceSize);
    PrepareHeap(kPrepared);
    const long before = MinorPageFaults();
    while (sentences.size() < kSentences / kSentenceSize)
        sentences.push_back(memset(malloc(kSentenceSize), 'x', kSentenceSize));
    EXPECT_LT(MinorPageFaults() - before, kPages / 10) << "of the " << kPages << " pages the sentences fill";
    for (void* sentence : sentences) free(sentence);
}

}  // namespace
