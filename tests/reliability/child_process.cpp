// child_process.cpp - starting zentavo-cli with limits and collecting its results.
#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "core/test_host.h"

double MonotonicSeconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] static void ExecCli(char* const* argv, const char* outPath, const char* errPath, long long fileSizeLimit)
{
    int out = open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);  // /dev/null included
    int err = open(errPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    if (fileSizeLimit >= 0) {
        // A write beyond the limit then fails with EFBIG instead of killing the process.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
    }
    execv(argv[0], argv);
    _exit(127);
}

pid_t StartCli(const std::vector<std::string>& arguments, const std::string& outPath, const std::string& errPath,
               long long fileSizeLimit)
{
    std::vector<std::string> words = {ZENTAVO_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) ExecCli(argv.data(), outPath.c_str(), errPath.c_str(), fileSizeLimit);
    return child;
}

ChildRun FinishChild(pid_t child, const std::string& outPath, const std::string& errPath)
{
    ChildRun run;
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return run;
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    run.out = ReadWholeFile(outPath);
    run.err = ReadWholeFile(errPath);
    return run;
}

ChildRun RunCliChild(const std::vector<std::string>& arguments, long long fileSizeLimit)
{
    const std::string outPath = fileSizeLimit >= 0 ? "/dev/null" : "zentavo-test-child-out";
    const std::string errPath = "zentavo-test-child-err";
    pid_t child = StartCli(arguments, outPath, errPath, fileSizeLimit);
    return FinishChild(child, outPath, errPath);
}
