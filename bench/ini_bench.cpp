// ini_bench: the ini library against inih, SimpleIni, Boost.PropertyTree and QSettings on
// generated files: read the file and look up 1,000 keys (as ints where they are numbers),
// then write the document back durably.
//
// Writes are made durable for every library: ours syncs the temporary file and the directory
// itself; after SimpleIni's and Boost's in-place writes the file is opened and fsync'ed;
// after QSettings' write (a rename of a saved file) the file and its directory are fsync'ed.
// inih only reads, so it has no write figure.
//
// Each figure is the median of several runs; the table shows it as a ratio to the fastest
// peer (1.00 = as fast as the fastest of inih, SimpleIni, Boost and QSettings).
//
// Usage: ini_bench [directory for the files, default: a fresh one under /tmp]

#include "inifile/inifile.h"

#include <QCoreApplication>
#include <QSettings>
// Plain bytes, as our reader takes them: no UTF-8 validation in SimpleIni either.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <boost/property_tree/ini_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <ini.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

struct Key {
    std::string section;
    std::string item;
    bool numeric;
};

struct Workload {
    std::string name;
    std::string text;
    std::vector<Key> keys;
    int runs;
};

constexpr int kLookups = 1000;

// A sink for results, so that nothing is optimised away and the libraries can be compared.
struct Checksum {
    long long numbers = 0;
    long long found = 0;
};

std::string number(int i, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*d", width, i);
    return text;
}

std::vector<Key> pickKeys(const std::vector<Key> &all) {
    std::mt19937 random(42);
    std::vector<Key> keys;
    for (int i = 0; i < kLookups; ++i) {
        keys.push_back(all[random() % all.size()]);
    }
    return keys;
}

Workload settingsWorkload() {
    Workload w{
        "settings (3 items)", "[com]\r\nadresse = 49\r\ncom = 3\r\nlcom = 3\r\n\r\n", {}, 301};
    w.keys = pickKeys({{"com", "com", true}, {"com", "lcom", true}, {"com", "adresse", true}});
    return w;
}

Workload gridWorkload() {
    Workload w{"100 sections x 20 items", "", {}, 41};
    std::vector<Key> all;
    for (int s = 0; s < 100; ++s) {
        const std::string section = "section" + number(s, 3);
        w.text += "[" + section + "]\r\n";
        for (int i = 0; i < 20; ++i) {
            const std::string item = "item" + number(i, 2);
            const bool numeric = i % 2 == 0;
            w.text +=
                item + " = " + (numeric ? std::to_string(s * 100 + i) : "text" + item) + "\r\n";
            all.push_back({section, item, numeric});
        }
        w.text += "\r\n";
    }
    w.keys = pickKeys(all);
    return w;
}

Workload largeWorkload() {
    Workload w{"2000 sections x 50 items", "", {}, 5};
    std::vector<Key> all;
    std::mt19937 random(7);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int s = 0; s < 2000; ++s) {
        const std::string section = "section" + number(s, 4);
        w.text += "; settings group " + std::to_string(s) + "\r\n[" + section + "]\r\n";
        for (int i = 0; i < 50; ++i) {
            const std::string item = "item" + number(i, 2);
            const int kind = i % 3;
            std::string value;
            if (kind == 0) {
                value = std::to_string(random() % 100000);
            } else {
                const size_t length = 1 + random() % 118;
                value = "v";
                for (size_t c = 1; c < length; ++c) {
                    value += letters[random() % letters.size()];
                }
                value += "e";
                if (kind == 2) {
                    value = "\"" + value + "\"";
                }
            }
            if (i % 10 == 5) {
                w.text += "; note on " + item + "\r\n";
            }
            w.text += item + " = " + value + "\r\n";
            all.push_back({section, item, kind == 0});
        }
        w.text += "\r\n";
    }
    w.keys = pickKeys(all);
    return w;
}

double milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median time of runs of body (setup is not timed).
double medianMs(int runs, const std::function<void(int)> &setup,
                const std::function<void(int)> &body) {
    std::vector<double> times;
    // One untimed run first, so that no contender pays for cold caches alone.
    if (setup) {
        setup(runs);
    }
    body(runs);
    for (int run = 0; run < runs; ++run) {
        if (setup) {
            setup(run);
        }
        const auto start = std::chrono::steady_clock::now();
        body(run);
        times.push_back(milliseconds(std::chrono::steady_clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void writeFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void fsyncPath(const std::string &path, bool directory = false) {
    const int fd = ::open(path.c_str(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

struct Figures {
    double readLookup = NAN;
    double write = NAN;
};

// ---------------------------------------------------------------------------------------------
// The contenders.

Figures benchOurs(const Workload &w, const std::string &path, int sorting, Checksum &sum) {
    Figures f;
    writeFile(path, w.text);
    f.readLookup = medianMs(w.runs, nullptr, [&](int) {
        IniDocument *doc = Ini_New(sorting);
        if (Ini_ReadFromFile(doc, path.c_str()) != 0) {
            std::fprintf(stderr, "ini: read failed\n");
            std::exit(1);
        }
        for (const Key &key : w.keys) {
            if (key.numeric) {
                int value = 0;
                if (Ini_GetInt(doc, key.section.c_str(), key.item.c_str(), &value) == 1) {
                    sum.numbers += value;
                    ++sum.found;
                }
            } else {
                char *value = nullptr;
                sum.found += Ini_GetPointerToRawString(doc, key.section.c_str(), key.item.c_str(),
                                                       &value) == 1;
            }
        }
        Ini_Dispose(doc);
    });
    IniDocument *doc = Ini_New(sorting);
    Ini_ReadFromFile(doc, path.c_str());
    f.write = medianMs(w.runs, nullptr, [&](int) {
        if (Ini_WriteToFile(doc, path.c_str()) != 0) {
            std::fprintf(stderr, "ini: write failed\n");
            std::exit(1);
        }
    });
    Ini_Dispose(doc);
    return f;
}

struct InihData {
    std::unordered_map<std::string, std::string> values;
};

int inihHandler(void *user, const char *section, const char *name, const char *value) {
    auto *data = static_cast<InihData *>(user);
    std::string key = section;
    key += '\x1f';
    key += name;
    data->values[std::move(key)] = value;
    return 1;
}

Figures benchInih(const Workload &w, const std::string &path, Checksum &sum) {
    Figures f;
    writeFile(path, w.text);
    f.readLookup = medianMs(w.runs, nullptr, [&](int) {
        InihData data;
        ini_parse(path.c_str(), inihHandler, &data);
        for (const Key &key : w.keys) {
            auto found = data.values.find(key.section + '\x1f' + key.item);
            if (found == data.values.end()) {
                continue;
            }
            ++sum.found;
            if (key.numeric) {
                sum.numbers += std::strtol(found->second.c_str(), nullptr, 10);
            }
        }
    });
    return f;
}

Figures benchSimpleIni(const Workload &w, const std::string &path, Checksum &sum) {
    Figures f;
    writeFile(path, w.text);
    f.readLookup = medianMs(w.runs, nullptr, [&](int) {
        CSimpleIniA ini;
        ini.LoadFile(path.c_str());
        for (const Key &key : w.keys) {
            if (key.numeric) {
                const long value = ini.GetLongValue(key.section.c_str(), key.item.c_str(), -1);
                if (value >= 0) {
                    sum.numbers += value;
                    ++sum.found;
                }
            } else {
                sum.found += ini.GetValue(key.section.c_str(), key.item.c_str()) != nullptr;
            }
        }
    });
    CSimpleIniA ini;
    ini.LoadFile(path.c_str());
    f.write = medianMs(w.runs, nullptr, [&](int) {
        ini.SaveFile(path.c_str());
        fsyncPath(path);
    });
    return f;
}

Figures benchBoost(const Workload &w, const std::string &path, Checksum &sum) {
    namespace pt = boost::property_tree;
    Figures f;
    writeFile(path, w.text);
    f.readLookup = medianMs(w.runs, nullptr, [&](int) {
        pt::ptree tree;
        pt::read_ini(path, tree);
        for (const Key &key : w.keys) {
            const pt::ptree::path_type at(key.section + '\x1f' + key.item, '\x1f');
            if (key.numeric) {
                if (auto value = tree.get_optional<int>(at)) {
                    sum.numbers += *value;
                    ++sum.found;
                }
            } else {
                sum.found += tree.get_optional<std::string>(at).has_value();
            }
        }
    });
    pt::ptree tree;
    pt::read_ini(path, tree);
    f.write = medianMs(w.runs, nullptr, [&](int) {
        pt::write_ini(path, tree);
        fsyncPath(path);
    });
    return f;
}

Figures benchQSettings(const Workload &w, const std::string &directory, Checksum &sum) {
    Figures f;
    // QSettings keeps parsed files in a process-wide cache keyed by path: each run reads a
    // fresh copy under a new name, so that every run parses.
    auto pathFor = [&](int run) {
        return directory + "/qsettings_" + std::to_string(run) + ".ini";
    };
    f.readLookup = medianMs(
        w.runs, [&](int run) { writeFile(pathFor(run), w.text); },
        [&](int run) {
            QSettings settings(QString::fromStdString(pathFor(run)), QSettings::IniFormat);
            for (const Key &key : w.keys) {
                const QVariant value =
                    settings.value(QString::fromStdString(key.section + "/" + key.item));
                if (!value.isValid()) {
                    continue;
                }
                ++sum.found;
                if (key.numeric) {
                    sum.numbers += value.toInt();
                }
            }
        });
    for (int run = 0; run <= w.runs; ++run) {
        std::filesystem::remove(pathFor(run));
    }
    const std::string path = directory + "/qsettings_write.ini";
    writeFile(path, w.text);
    QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
    settings.childGroups(); // loads the file
    f.write = medianMs(w.runs, nullptr, [&](int run) {
        // QSettings writes only a changed document.
        settings.setValue("bench/run", run);
        settings.sync();
        fsyncPath(path);
        fsyncPath(directory, true);
    });
    return f;
}

std::string cell(double value, double fastestPeer) {
    if (std::isnan(value)) {
        return "        -        ";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%8.3f ms %5.2fx", value, value / fastestPeer);
    return text;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    std::string directory;
    if (argc > 1) {
        directory = argv[1];
        std::filesystem::create_directories(directory);
    } else {
        char pattern[] = "/tmp/ini_bench_XXXXXX";
        directory = ::mkdtemp(pattern);
    }
    const std::vector<Workload> workloads = {settingsWorkload(), gridWorkload(), largeWorkload()};
    const char *names[] = {"Ini_New(1)", "Ini_New(0)",  "inih",
                           "SimpleIni",  "Boost.PTree", "QSettings"};
    std::printf("files in %s; figures: median time, and ratio to the fastest peer\n",
                directory.c_str());
    bool goalsMet = true;
    for (const Workload &w : workloads) {
        Checksum sums[6];
        const std::string path = directory + "/bench.ini";
        Figures figures[6] = {
            benchOurs(w, path, 1, sums[0]), benchOurs(w, path, 0, sums[1]),
            benchInih(w, path, sums[2]),    benchSimpleIni(w, path, sums[3]),
            benchBoost(w, path, sums[4]),   benchQSettings(w, directory, sums[5])};
        double fastestRead = INFINITY;
        double fastestWrite = INFINITY;
        for (int i = 2; i < 6; ++i) {
            fastestRead = std::min(fastestRead, figures[i].readLookup);
            if (!std::isnan(figures[i].write)) {
                fastestWrite = std::min(fastestWrite, figures[i].write);
            }
        }
        std::printf("\n%s, %zu bytes, %d runs\n", w.name.c_str(), w.text.size(), w.runs);
        std::printf("  %-12s %-20s %-20s %s\n", "", "read + 1000 lookups", "write (durable)",
                    "checksum");
        for (int i = 0; i < 6; ++i) {
            std::printf("  %-12s %-20s %-20s %lld/%lld\n", names[i],
                        cell(figures[i].readLookup, fastestRead).c_str(),
                        cell(figures[i].write, fastestWrite).c_str(), sums[i].numbers,
                        sums[i].found / (w.runs + 1));
        }
        // Goals for Ini_New(1): read + lookup faster than every peer that keeps a document;
        // write faster than QSettings and within 1.5x of the fastest writer.
        const Figures &ours = figures[0];
        const bool readGoal = ours.readLookup < figures[3].readLookup &&
                              ours.readLookup < figures[4].readLookup &&
                              ours.readLookup < figures[5].readLookup;
        const bool writeGoal = ours.write < figures[5].write && ours.write <= 1.5 * fastestWrite;
        std::printf("  goals: read+lookup %s, write %s\n", readGoal ? "met" : "MISSED",
                    writeGoal ? "met" : "MISSED");
        goalsMet = goalsMet && readGoal && writeGoal;
    }
    std::filesystem::remove(directory + "/bench.ini");
    std::filesystem::remove(directory + "/qsettings_write.ini");
    if (argc <= 1) {
        std::filesystem::remove_all(directory);
    }
    std::printf("\nall goals %s\n", goalsMet ? "met" : "not met");
    return 0;
}
