// Start-up of the program until its first screen is on the display, with the
// installed profile logged in automatically (so the first screen is the main
// menu), against a bare Qt Widgets window with a menu bar. Both are started
// in turn in the same run, the order alternating, and the medians compared.
// Needs a display and its own data folders: bench/startup.sh provides both.
#include <QByteArray>
#include <QFile>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

qint64 now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Starts `program`, waits for its "visible <nanoseconds>" line and ends it
// again; returns the milliseconds from the start to the line, or -1.
double startupMilliseconds(const char* program)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const qint64 start = now();
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return -1;
    }
    std::string output;
    qint64 visible = -1;
    pollfd readable{fds[0], POLLIN, 0};
    while (visible < 0 && poll(&readable, 1, 30000) > 0) {
        char buffer[256];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        output.append(buffer, std::size_t(got));
        const std::size_t at = output.find("visible ");
        if (at != std::string::npos && output.find('\n', at) != std::string::npos)
            visible = std::atoll(output.c_str() + at + 8);
    }
    close(fds[0]);
    // Ended before the next start; the program may not give up at SIGTERM
    // (a signal handler of the sound library), so it is killed after a while.
    kill(pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
        if (waited == 100)
            kill(pid, SIGKILL);
        usleep(20000);
    }
    return visible < 0 ? -1 : double(visible - start) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// QUORVEL_STARTUP_PROGRAM names another build of the program (beside the
// same data), to compare a change with the build before it.
const char* programFile()
{
    const char* other = std::getenv("QUORVEL_STARTUP_PROGRAM");
    return other && *other ? other : QUORVEL_PROGRAM;
}

int rounds()
{
    const char* value = std::getenv("QUORVEL_BENCH_ROUNDS");
    return value ? std::max(1, std::atoi(value)) : 9;
}

// The first start installs the data; then the installed profile logs in automatically.
bool prepare(benchmark::State& state)
{
    const QByteArray appData = qgetenv("QUORVEL_APPDATA");
    if (appData.isEmpty() || qgetenv("QUORVEL_DOCUMENTS").isEmpty()) {
        state.SkipWithError("QUORVEL_APPDATA and QUORVEL_DOCUMENTS must name scratch folders (bench/startup.sh)");
        return false;
    }
    setenv("QUORVEL_STARTUP_PROBE", "1", 1);
    if (startupMilliseconds(programFile()) < 0) {
        state.SkipWithError("the program did not show its first screen");
        return false;
    }
    QFile options(QString::fromLocal8Bit(appData) + QStringLiteral("/Data/Options.xml"));
    if (!options.open(QIODevice::ReadWrite)) {
        state.SkipWithError("no Options.xml after the first start");
        return false;
    }
    QByteArray content = options.readAll();
    content.replace("<autoload>false</autoload>", "<autoload>true</autoload>");
    options.resize(0);
    options.write(content);
    options.close();
    // Warm the file cache for both before measuring.
    startupMilliseconds(programFile());
    startupMilliseconds(QUORVEL_STARTUP_REFERENCE);
    return true;
}

void BM_Startup(benchmark::State& state)
{
    if (!prepare(state))
        return;
    std::vector<double> program, reference;
    bool programFirst = false;
    for (auto _ : state) {
        programFirst = !programFirst;
        for (int i = 0; i < 2; ++i) {
            const bool isProgram = (i == 0) == programFirst;
            const double ms = startupMilliseconds(isProgram ? programFile() : QUORVEL_STARTUP_REFERENCE);
            if (ms < 0) {
                state.SkipWithError(isProgram ? "the program did not show its first screen"
                                              : "the reference window did not show");
                return;
            }
            (isProgram ? program : reference).push_back(ms);
            std::fprintf(stderr, "%s %.1f ms\n", isProgram ? "program  " : "reference", ms);
        }
    }
    state.counters["program_ms"] = median(program);
    state.counters["reference_ms"] = median(reference);
    state.counters["ratio"] = median(program) / median(reference);
}

BENCHMARK(BM_Startup)->Iterations(rounds())->Unit(benchmark::kMillisecond);

} // namespace
