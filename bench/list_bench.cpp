// Times ListQuickSort against qsort (same comparator, same data) and appending with
// ListInsertItem against std::vector::push_back. Each pair is measured in the same run, several
// repetitions, and reported as the ratio of the medians, so the figures compare across machines.
//
// Usage: list_bench [items] [repetitions]   (defaults 1000000 and 7)

#include "toolbox/toolbox.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Keeps the optimizer from dropping work whose result is otherwise unused.
volatile long gSink;

} // namespace

int main(int argc, char **argv) {
    const int items = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 7;
    if (items <= 0 || repetitions <= 0) {
        std::fprintf(stderr, "usage: list_bench [items > 0] [repetitions > 0]\n");
        return 2;
    }

    std::mt19937 rng(12345);
    std::vector<double> listSort;
    std::vector<double> cSort;
    std::vector<double> listAppend;
    std::vector<double> vectorAppend;

    for (int rep = 0; rep < repetitions; ++rep) {
        std::vector<int> data(static_cast<std::size_t>(items));
        for (int &v : data) {
            v = static_cast<int>(rng());
        }

        ListHandle list = ListCreate(sizeof(int));
        if (!list || !ListInsertItems(list, data.data(), LIST_END, items)) {
            std::fprintf(stderr, "list_bench: out of memory\n");
            return 1;
        }
        Clock::time_point start = Clock::now();
        ListQuickSort(list, IntCompare);
        listSort.push_back(secondsSince(start));
        gSink = *static_cast<int *>(ListGetPtrToItem(list, 1));
        ListDispose(list);

        std::vector<int> copy = data;
        start = Clock::now();
        std::qsort(copy.data(), copy.size(), sizeof(int), IntCompare);
        cSort.push_back(secondsSince(start));
        gSink = copy.front();

        start = Clock::now();
        list = ListCreate(sizeof(int));
        for (int i = 0; i < items; ++i) {
            ListInsertItem(list, &data[static_cast<std::size_t>(i)], LIST_END);
        }
        listAppend.push_back(secondsSince(start));
        gSink = ListNumItems(list);
        ListDispose(list);

        start = Clock::now();
        {
            std::vector<int> vec;
            for (int i = 0; i < items; ++i) {
                vec.push_back(data[static_cast<std::size_t>(i)]);
            }
            gSink = static_cast<long>(vec.size());
        }
        vectorAppend.push_back(secondsSince(start));
    }

    const double ls = median(listSort);
    const double cs = median(cSort);
    const double la = median(listAppend);
    const double va = median(vectorAppend);
    std::printf("items %d, repetitions %d (medians)\n", items, repetitions);
    std::printf("sort   ListQuickSort %8.2f ms   qsort      %8.2f ms   ratio %.2f\n", ls * 1e3,
                cs * 1e3, ls / cs);
    std::printf("append ListInsertItem %7.2f ms   push_back  %8.2f ms   ratio %.2f\n", la * 1e3,
                va * 1e3, la / va);
    return 0;
}
