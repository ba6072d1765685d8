// Start-up of trz4Steuerung against a minimal Qt Widgets program: wall time from spawning the
// process to its "shown" line (main panel on screen, event loop running), and resident memory
// after half a second of idle time. Both programs run alternately, each in a fresh directory
// with a complete settings file, under the same Qt platform (offscreen unless a display or a
// platform is set). Prints medians and the ratios against the goals (time <= 1.3x, memory <=
// 1.2x of the baseline). The machine's load moves wall times a lot; the fastest run and the
// CPU time of a run are printed as steadier companions.
//
//   startup_bench [runs]     default 15 runs of each program
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

struct Sample {
    double ms = -1;
    long rssKb = -1;
    double cpuMs = -1; // user + system time of the whole run, idle time and exit included
};

// Starts `program` in `directory` and reads its report lines.
Sample measure(const char *program, const std::string &directory) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    char *argv[] = {const_cast<char *>(program), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    Sample sample;
    if (spawned != 0) {
        close(pipeFds[0]);
        return sample;
    }
    std::FILE *out = fdopen(pipeFds[0], "r");
    char line[128];
    while (std::fgets(line, sizeof line, out) != nullptr) {
        if (std::strncmp(line, "shown", 5) == 0) {
            sample.ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        } else if (std::strncmp(line, "rss ", 4) == 0) {
            sample.rssKb = std::strtol(line + 4, nullptr, 10);
        }
    }
    std::fclose(out);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid) {
        sample.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    }
    return sample;
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename T> T minimum(const std::vector<T> &values) {
    return *std::min_element(values.begin(), values.end());
}

bool anySet(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

} // namespace

int main(int argc, char *argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (!anySet("DISPLAY") && !anySet("WAYLAND_DISPLAY") && !anySet("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    setenv("TRZ4_STARTUP_PROBE", "1", 1);
    char pattern[] = "/tmp/trz4_startup_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string directory = pattern;
    const std::string settings = directory + "/trz4Steuerung.ini";
    if (std::FILE *file = std::fopen(settings.c_str(), "w")) {
        std::fputs("[com]\ncom = 0\nlcom = 0\nadresse = 49\n", file);
        std::fclose(file);
    }

    std::vector<double> programMs, baselineMs;
    std::vector<long> programKb, baselineKb;
    std::vector<double> programCpu, baselineCpu;
    // One unmeasured run each warms the page cache and the font cache.
    measure(TRZ4_PROGRAM, directory);
    measure(TRZ4_BASELINE, directory);
    for (int i = 0; i < runs; ++i) {
        const Sample program = measure(TRZ4_PROGRAM, directory);
        const Sample baseline = measure(TRZ4_BASELINE, directory);
        if (program.ms < 0 || baseline.ms < 0 || program.rssKb < 0 || baseline.rssKb < 0) {
            std::fprintf(stderr, "run %d: a program did not report\n", i + 1);
            return 1;
        }
        programMs.push_back(program.ms);
        baselineMs.push_back(baseline.ms);
        programKb.push_back(program.rssKb);
        baselineKb.push_back(baseline.rssKb);
        programCpu.push_back(program.cpuMs);
        baselineCpu.push_back(baseline.cpuMs);
    }
    std::remove(settings.c_str());
    rmdir(directory.c_str());

    const double timeRatio = median(programMs) / median(baselineMs);
    const double memoryRatio =
        static_cast<double>(median(programKb)) / static_cast<double>(median(baselineKb));
    std::printf("platform: %s, %d runs each (medians)\n",
                anySet("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "display", runs);
    std::printf("start-up to shown   trz4Steuerung %7.1f ms   baseline %7.1f ms   ratio %.2f "
                "(goal <= 1.30) %s\n",
                median(programMs), median(baselineMs), timeRatio,
                timeRatio <= 1.3 ? "ok" : "MISSED");
    std::printf("start-up, fastest   trz4Steuerung %7.1f ms   baseline %7.1f ms   ratio %.2f\n",
                minimum(programMs), minimum(baselineMs), minimum(programMs) / minimum(baselineMs));
    std::printf("CPU time of a run   trz4Steuerung %7.1f ms   baseline %7.1f ms   ratio %.2f\n",
                median(programCpu), median(baselineCpu), median(programCpu) / median(baselineCpu));
    std::printf("resident when idle  trz4Steuerung %7ld kB   baseline %7ld kB   ratio %.2f "
                "(goal <= 1.20) %s\n",
                median(programKb), median(baselineKb), memoryRatio,
                memoryRatio <= 1.2 ? "ok" : "MISSED");
    return 0;
}
