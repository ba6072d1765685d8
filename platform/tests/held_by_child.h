// Another program for the tests, played by a child process: it takes hold of something (a tty
// for exclusive use, a terminal as its session's) and keeps it until released.
#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

class HeldByChild {
public:
    // Runs `take` in a child and waits until it has run; the child then holds on until
    // release() or the end of this object.
    explicit HeldByChild(const std::function<bool()> &take) {
        if (pipe(ready) != 0 || pipe(released) != 0)
            return;
        child = fork();
        if (child == 0) {
            char byte = take() ? 'y' : 'n';
            ssize_t ignored = write(ready[1], &byte, 1);
            ignored = read(released[0], &byte, 1);
            (void)ignored;
            _exit(0);
        }
        char byte = 'n';
        holding = child > 0 && read(ready[0], &byte, 1) == 1 && byte == 'y';
    }
    ~HeldByChild() {
        release();
        for (int fd : {ready[0], ready[1], released[0], released[1]})
            if (fd >= 0)
                close(fd);
    }
    HeldByChild(const HeldByChild &) = delete;
    HeldByChild &operator=(const HeldByChild &) = delete;

    // Whether `take` succeeded in the child.
    bool holds() const { return holding; }

    // Lets the child end, and waits for it.
    void release() {
        if (child <= 0)
            return;
        ssize_t ignored = write(released[1], "x", 1);
        (void)ignored;
        waitpid(child, nullptr, 0);
        child = -1;
    }

private:
    int ready[2] = {-1, -1};
    int released[2] = {-1, -1};
    pid_t child = -1;
    bool holding = false;
};
