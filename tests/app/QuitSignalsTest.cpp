#include "app/QuitSignals.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <csignal>

// A terminating signal ends the message loop, so the normal shut-down runs and saves the
// workspace instead of the process dying on the spot.
TEST(QuitSignals, TerminationEndsTheMessageLoop) {
    InstallQuitOnSignals();
    bool timedOut = false;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
}
