#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "cli/Terminal.h"
#include "engine/PageWriteSection.h"

namespace vantaro::cli {
namespace {

// Each case runs in a child process of its own, which installs the handler.

char MainThreadState() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() ? text[paren + 2] : '?';
}

TEST(InterruptDeathTest, ASecondInterruptEndsAtOnceButNotWhileAPageIsWritten) {
    EXPECT_EXIT(
        {
            InstallInterruptHandler();
            ::raise(SIGINT);
            if (!Interrupted()) {
                ::_exit(3);
            }
            {
                const PageWriteSection outer;
                const PageWriteSection inner;  // a page written while another is open
                ::raise(SIGINT);
                std::fputs("page complete\n", stderr);
            }
            std::fputs("went on\n", stderr);
            ::_exit(4);
        },
        ::testing::ExitedWithCode(kInterruptedStatus), "page complete\n$");
    EXPECT_EXIT(
        {
            InstallInterruptHandler();
            ::raise(SIGINT);
            ::raise(SIGINT);
            std::fputs("went on\n", stderr);
            ::_exit(4);
        },
        ::testing::ExitedWithCode(kInterruptedStatus), "^$");
}

// System calls are restarted after an interrupt, yet a question waiting for input must end.
TEST(InterruptDeathTest, AQuestionEndsAtAnInterrupt) {
    EXPECT_EXIT(
        {
            int input[2];
            if (::pipe(input) != 0 || ::dup2(input[0], STDIN_FILENO) < 0) {
                ::_exit(3);
            }
            ::alarm(30);  // fails the case rather than hang it
            InstallInterruptHandler();
            std::thread([] {
                // Once the question waits, the interrupt comes.
                while (MainThreadState() != 'S') {
                    std::this_thread::yield();
                }
                ::kill(::getpid(), SIGINT);
            }).detach();
            ::_exit(ReadAnswer() == 0 ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantaro::cli
