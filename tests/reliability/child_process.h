// child_process.h - zentavo-cli run as a child process under chosen limits, with what it
// left behind: status and output.
#ifndef ZENTAVO_TESTS_CHILD_PROCESS_H
#define ZENTAVO_TESTS_CHILD_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

struct ChildRun {
    int status = -1;  // exit status, or -1 when a signal ended the process
    int signal = 0;   // that signal, or 0
    std::string out;  // standard output
    std::string err;  // standard error
};

// Starts zentavo-cli with the arguments, standard output into outPath and standard error
// into errPath, its files limited to fileSizeLimit bytes unless that is -1 (a write beyond
// then fails instead of killing it). Returns the child's id; the caller waits for it with
// FinishChild. Open descriptors are inherited, so the child can read a memfd through
// /proc/self/fd/N.
pid_t StartCli(const std::vector<std::string>& arguments, const std::string& outPath, const std::string& errPath,
               long long fileSizeLimit = -1);

// Waits for the child started by StartCli and collects what it left in the two files.
ChildRun FinishChild(pid_t child, const std::string& outPath, const std::string& errPath);

// Runs zentavo-cli to its end; under a file size limit its standard output is discarded.
ChildRun RunCliChild(const std::vector<std::string>& arguments, long long fileSizeLimit = -1);

// Seconds on a monotonic clock.
double MonotonicSeconds();

#endif
