// Message boxes of the command line: one "TITLE: TEXT" line each, answered
// without a person: Retry while the allowed retries last, else the safe answer.

#include <QtTest>

#include "TestMain.h"
#include "cli/StderrPrompter.h"

using namespace tav;
using namespace tav::cli;

class TestStderrPrompter : public QObject {
    Q_OBJECT

private slots:
    void answersAndLines();
};

void TestStderrPrompter::answersAndLines() {
    QString text;
    QTextStream out(&text);
    StderrPrompter p(2, &out);
    const QString failed = QStringLiteral("Write Failed. Cycle Radio Power before Retrying.");
    const QString title = QStringLiteral("COMM ERROR");
    QCOMPARE(p.show(failed, title, MsgButtons::RetryCancel, MsgIcon::Information),
             MsgResult::Retry);
    QCOMPARE(p.show(failed, title, MsgButtons::RetryCancel, MsgIcon::Information),
             MsgResult::Retry);
    QCOMPARE(p.show(failed, title, MsgButtons::RetryCancel, MsgIcon::Information),
             MsgResult::Cancel);
    QCOMPARE(
        p.show(QStringLiteral("Unable to set baud rate"), QString(), MsgButtons::Ok, MsgIcon::None),
        MsgResult::Ok);
    QCOMPARE(p.show(QStringLiteral("Warning: line one\rline two"), QStringLiteral("Read Power"),
                    MsgButtons::Ok, MsgIcon::None),
             MsgResult::Ok);
    QCOMPARE(p.show(QStringLiteral("Save?"), QString(), MsgButtons::YesNo, MsgIcon::Question),
             MsgResult::No);
    QCOMPARE(p.show(QStringLiteral("Unable to open Comm Port"), title, MsgButtons::Ok,
                    MsgIcon::None, QStringLiteral("No such file or directory")),
             MsgResult::Ok);
    QCOMPARE(text.split('\n', Qt::SkipEmptyParts),
             (QStringList{"COMM ERROR: " + failed, "COMM ERROR: " + failed, "COMM ERROR: " + failed,
                          "TAV Editor: Unable to set baud rate",
                          "Read Power: Warning: line one line two", "TAV Editor: Save?",
                          "COMM ERROR: Unable to open Comm Port (No such file or directory)"}));
}

TAV_TEST_GUILESS(TestStderrPrompter);
#include "tst_stderrprompter.moc"
