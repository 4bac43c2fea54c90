// window_timer.cpp - window_timer: how long a program takes from its launch until its first
// top-level window is mapped on the X display, and its peak memory.
//
//   window_timer [--timeout SECONDS] COMMAND [ARGUMENTS...]
//
// Starts COMMAND (a program run under Wine, typically), waits for the first window of it
// that appears on the root window without override-redirect (menus and tool tips have it;
// a main window has not), then asks that window to close as a window manager would
// (WM_DELETE_WINDOW) and waits for the process to end. Prints one JSON object:
//   {"map_seconds": ..., "peak_rss_kb": ..., "exit_code": ...}
// Peak memory is the process's own resident high-water mark, as the kernel reports it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

double Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// The _NET_WM_PID of window, or 0 when it has none.
long WindowPid(Display* display, Window window)
{
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    Atom property = XInternAtom(display, "_NET_WM_PID", False);
    long pid = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &remaining,
                           &data) == Success &&
        data && count == 1 && format == 32)
        pid = *reinterpret_cast<long*>(data);
    if (data) XFree(data);
    return pid;
}

// Waits for the first top-level window of process pid to be mapped; returns it, or None
// when the process ends or the time runs out first.
Window WaitForWindow(Display* display, pid_t pid, double deadline)
{
    Window root = DefaultRootWindow(display);
    while (Now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.event != root || event.xmap.override_redirect) continue;
            long owner = WindowPid(display, event.xmap.window);
            if (owner == 0 || owner == pid) return event.xmap.window;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) return None;
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 5);
    }
    return None;
}

void AskToClose(Display* display, Window window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Waits for pid to end, killing it at the deadline. Returns its wait status, or -1.
int WaitForExit(pid_t pid, double deadline, rusage* usage)
{
    int status;
    while (Now() < deadline) {
        pid_t ended = wait4(pid, &status, WNOHANG, usage);
        if (ended == pid) return status;
        usleep(2000);
    }
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, usage);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    int first = 1;
    double timeout = 60;
    if (argc > 2 && strcmp(argv[1], "--timeout") == 0) {
        timeout = atof(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: window_timer [--timeout SECONDS] COMMAND [ARGUMENTS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "window_timer: no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        // Our standard output is the report. The program's would be handed on to the
        // Wine server it starts, which outlives it, and whoever reads our output would
        // wait for that server too.
        int nothing = open("/dev/null", O_WRONLY);
        if (nothing >= 0) dup2(nothing, STDOUT_FILENO);
        execvp(argv[first], argv + first);
        _exit(127);
    }
    Window window = WaitForWindow(display, pid, start + timeout);
    double mapped = Now() - start;
    if (window != None) AskToClose(display, window);
    rusage usage = {};
    int status = WaitForExit(pid, Now() + timeout, &usage);
    XCloseDisplay(display);
    if (window == None) {
        fprintf(stderr, "window_timer: %s showed no window\n", argv[first]);
        return 1;
    }
    int exitCode = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    printf("{\"map_seconds\": %.4f, \"peak_rss_kb\": %ld, \"exit_code\": %d}\n", mapped, usage.ru_maxrss, exitCode);
    return exitCode == 0 ? 0 : 1;
}
