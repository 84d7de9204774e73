#pragma once
// Every write into a file fails while one of these lives, as on a full
// disk: the process's file size limit is 0 (and its signal ignored), which
// binds root as well, unlike a read-only folder. Files can still be
// created empty, renamed and deleted.
#include <sys/resource.h>

#include <csignal>

namespace app_test {

class FileWritesFail {
public:
    FileWritesFail()
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none = old_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FileWritesFail()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_signal_);
    }
    FileWritesFail(const FileWritesFail&) = delete;
    FileWritesFail& operator=(const FileWritesFail&) = delete;

private:
    rlimit old_{};
    void (*old_signal_)(int) = SIG_DFL;
};

}  // namespace app_test
