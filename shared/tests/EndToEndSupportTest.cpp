#include "shared/testing/EndToEnd.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using kx::test::forkedWithoutExec;
using kx::test::processesOf;

pid_t forkThen(bool execSleep) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (execSleep) {
            ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::pause(); // stays a copy of this test program until it is killed
        ::_exit(0);
    }
    return pid;
}

void endChild(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

// A program that opens a document forks before the opener runs; for that moment the child has
// the program's file and arguments. The look-ups must not count it as a second run.
TEST(ProcessLookup, LeavesOutForksThatHaveNotExecuted) {
    const pid_t copy = forkThen(false);
    ASSERT_GT(copy, 0);
    EXPECT_TRUE(forkedWithoutExec(copy));
    for (qint64 pid : processesOf(QCoreApplication::applicationFilePath())) EXPECT_NE(pid, copy);
    endChild(copy);

    const pid_t ran = forkThen(true);
    ASSERT_GT(ran, 0);
    QElapsedTimer t;
    t.start();
    while (forkedWithoutExec(ran) && t.elapsed() < 5000) QThread::msleep(10);
    EXPECT_FALSE(forkedWithoutExec(ran)) << "exec clears the mark";
    endChild(ran);
}

} // namespace
