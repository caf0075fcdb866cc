// Times one run of a command: from the moment it is spawned to the moment
// it has exited, in wall time, and the CPU time of it and of its output's
// reader. A shell's `time` also counts the fork of the shell itself, which
// on some virtual machines costs more than a small tool's whole run and so
// flattens every ratio between two tools.
//
// Usage: linkrake-bench-time-run null|pipe COMMAND [ARG...]
//   null  the command's output goes to /dev/null
//   pipe  it goes to a cat that discards it, started before the clock and
//         waiting for input when the clock starts
// Prints "WALL_MS CPU_MS" and exits with the command's status.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>

extern char** environ;

namespace {

double Milliseconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

double CpuMilliseconds(const rusage& usage)
{
    return Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
}

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Spawns argv with standard input on in (unless -1), standard output on
// out and standard error on /dev/null. Every descriptor of ours closes on
// exec, so the reader sees the end of its pipe when the command exits.
pid_t Spawn(char* const argv[], int in, int out)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (in >= 0)
        posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(failed));
        return -1;
    }
    return pid;
}

// Waits until the reader blocks in a read of its standard input, so that
// its start-up (an exec and a dynamic link) is over before the clock starts
// rather than running beside the command; gives up after about a second.
void AwaitFirstRead(pid_t reader)
{
    const std::string path = "/proc/" + std::to_string(reader) + "/syscall";
    for (int tries = 0; tries < 10000; ++tries) {
        std::ifstream file(path);
        std::string call;
        std::getline(file, call);
        if (call.rfind("0 0x0 ", 0) == 0)  // read(0, ...)
            return;
        usleep(100);
    }
}

int Status(int raw)
{
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3 || (std::strcmp(argv[1], "null") != 0 && std::strcmp(argv[1], "pipe") != 0)) {
        std::fprintf(stderr, "usage: %s null|pipe COMMAND [ARG...]\n", argv[0]);
        return 2;
    }
    const bool piped = std::strcmp(argv[1], "pipe") == 0;
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    int pipeEnds[2] = {-1, -1};
    pid_t reader = -1;
    if (piped) {
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
            std::perror("pipe");
            return 2;
        }
        char cat[] = "cat";
        char* const catArgv[] = {cat, nullptr};
        reader = Spawn(catArgv, pipeEnds[0], devNull);
        close(pipeEnds[0]);
        if (reader < 0)
            return 2;
        AwaitFirstRead(reader);
    }
    const double start = Now();
    const pid_t command = Spawn(argv + 2, -1, piped ? pipeEnds[1] : devNull);
    if (command < 0)
        return 2;
    if (piped)
        close(pipeEnds[1]);
    int raw = 0;
    rusage usage{};
    while (wait4(command, &raw, 0, &usage) < 0 && errno == EINTR) { }
    const double wall = Now() - start;
    double cpu = CpuMilliseconds(usage);
    if (piped) {
        int readerRaw = 0;
        rusage readerUsage{};
        while (wait4(reader, &readerRaw, 0, &readerUsage) < 0 && errno == EINTR) { }
        cpu += CpuMilliseconds(readerUsage);
    }
    std::printf("%.2f %.2f\n", wall, cpu);
    return Status(raw);
}
