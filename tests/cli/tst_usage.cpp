#include <QFile>
#include <QProcess>
#include <QtTest>

#include "TestMain.h"

// `tavctl --help`, every `tavctl VERB --help` and the manual page tell the
// same story: each verb's synopsis stands in the manual as its section heading.
class TestUsage : public QObject {
    Q_OBJECT

    static QString tavctl() { return qEnvironmentVariable("TAVCTL"); }

    static QString run(const QStringList& args, int* exitCode) {
        QProcess p;
        p.start(tavctl(), args);
        p.waitForFinished(30000);
        *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // Section headings of the manual page, with groff's escaped hyphens undone.
    static QStringList manualSections() {
        QFile f(qEnvironmentVariable("TAV_SOURCE_DIR") + "/packaging/tavctl.1");
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList sections;
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
            if (line.startsWith(".SS \""))
                sections << line.mid(5).chopped(1).replace(QLatin1String("\\-"), "-");
        return sections;
    }

private slots:
    void everyVerbHasHelpMatchingTheManual() {
        int code = -1;
        const QString overview = run({"--help"}, &code);
        QCOMPARE(code, 0);
        QStringList verbs;
        for (const QString& line : overview.split('\n'))
            if (line.startsWith("  ")) verbs << line.trimmed().section(' ', 0, 0);
        QVERIFY(verbs.size() >= 9);
        const QStringList sections = manualSections();
        for (const QString& verb : verbs) {
            const QString help = run({verb, "--help"}, &code);
            QCOMPARE(code, 0);
            const QString synopsis = help.section('\n', 0, 0);
            QVERIFY2(synopsis.startsWith("usage: tavctl " + verb), qPrintable(synopsis));
            QVERIFY2(sections.contains(synopsis.mid(14)), qPrintable(verb));
        }
    }

    void versionAndUnknownVerb() {
        int code = -1;
        QVERIFY(run({"--version"}, &code).startsWith("tavctl 1."));
        QCOMPARE(code, 0);
        run({"frobnicate"}, &code);
        QCOMPARE(code, 2);
    }
};

TAV_TEST_GUILESS(TestUsage);
#include "tst_usage.moc"
