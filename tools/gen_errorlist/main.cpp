// gen_errorlist [FILE]: writes the list of error numbers (Markdown) to FILE, or to stdout.
#include "tools/gen_errorlist/errorlist.h"

#include <cstdio>
#include <fstream>
#include <iostream>

int main(int argc, char **argv) {
    const std::string text = errorListMarkdown();
    if (argc < 2) {
        std::cout << text;
        return std::cout ? 0 : 1;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
