// The command line's Ctrl-C handler with several sessions alive at once (a
// fleet's stations): it stays until the last one ends, then the handler from
// before is back.

#include <QtTest>
#include <csignal>
#include <memory>

#include "TestMain.h"
#include "cli/CliProgress.h"

class TestCliProgress : public QObject {
    Q_OBJECT

    static void (*interruptHandler())(int) {
        struct sigaction now {};
        ::sigaction(SIGINT, nullptr, &now);
        return now.sa_handler;
    }

private slots:
    void interruptHandlerLeavesWithTheLastSession() {
        struct sigaction ignore {
        }, before{};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGINT, &ignore, &before);
        {
            tav::cli::CliProgress first(false);
            { tav::cli::CliProgress second(false); }
            QVERIFY(interruptHandler() != SIG_IGN && interruptHandler() != SIG_DFL);
        }
        QVERIFY(interruptHandler() == SIG_IGN);
        ::sigaction(SIGINT, &before, nullptr);
    }
};

TAV_TEST_GUILESS(TestCliProgress);
#include "tst_cliprogress.moc"
