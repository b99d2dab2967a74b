#pragma once
// Two saves of one file at the same moment, met at a chosen step rather than by timing: when the
// save of the test reaches the step, a second save starts in a child process, and the first goes
// on only once the second waits for the file's lock (or has ended without waiting).
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "runtime/Files.h"

namespace runtime::testing {

class SecondSave {
public:
    // `other` runs in the child at the first step named `at` of this process's saves.
    SecondSave(const std::string& at, const std::function<void()>& other) {
        onFileStep([this, at, other](const std::string& step) {
            if (step != at || child_ != 0) return;
            int ends[2];
            if (::pipe(ends) != 0) return;
            child_ = ::fork();
            if (child_ == 0) {
                ::close(ends[0]);
                const std::function<void()> run = other;  // the hook that holds `other` goes now
                onFileStep([ready = ends[1]](const std::string& s) mutable {
                    if (s != "wait for lock" || ready < 0) return;
                    (void)!::write(ready, "w", 1);  // once: the first save goes on and stops reading
                    ready = -1;
                });
                try {
                    run();
                } catch (...) {
                    ::_exit(1);
                }
                ::_exit(0);
            }
            ::close(ends[1]);
            char waiting = 0;
            (void)!::read(ends[0], &waiting, 1);
            ::close(ends[0]);
            waitedForLock_ = waiting == 'w';
        });
    }
    ~SecondSave() { onFileStep({}); }
    // True when the second save waited for the lock and then ended without an error.
    bool waitedAndSucceeded() {
        int status = 0;
        return child_ > 0 && ::waitpid(child_, &status, 0) == child_ && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
               waitedForLock_;
    }

private:
    pid_t child_ = 0;
    bool waitedForLock_ = false;
};

}  // namespace runtime::testing
