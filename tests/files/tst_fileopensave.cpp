#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "app/Settings.h"
#include "files/FileOpenSave.h"

using namespace tav;
using namespace tav::test;

namespace {

// The main window as the file commands see it: records what it is asked to
// do and answers the file dialog from a script.
class FakeHost : public FileHost {
public:
    explicit FakeHost(AppState& s) : state(s) {}
    AppState& state;
    QStringList log;
    QString caption = QStringLiteral("TAVEDWIN  -  TAV Editor");
    QList<std::optional<QString>> dialogAnswers;  // nullopt: cancelled
    QList<std::pair<bool, QString>> dialogs;      // save mode, preset path
    uint8_t editOnStore = 0;                      // a pending edit that storing puts into the image

    void storeShownGroup() override {
        log << "storeShownGroup";
        if (editOnStore) state.EEImage[200] = editOnStore;
    }
    void storeGlobals() override { log << "storeGlobals"; }
    void redisplayGlobals() override { log << "redisplayGlobals"; }
    void redisplayShownGroup() override { log << "redisplayShownGroup"; }
    void setCaption(const QString& text) override { log << "setCaption", caption = text; }
    bool chooseFile(bool saveMode, const QString& presetPath, QString& chosenPath) override {
        dialogs.append({saveMode, presetPath});
        const auto a = dialogAnswers.isEmpty() ? std::nullopt : dialogAnswers.takeFirst();
        if (a) chosenPath = *a;
        return a.has_value();
    }
};

struct Rig {
    QTemporaryDir dir;
    AppState state;
    FakeHost host{state};
    ScriptedPrompter prompter;
    Settings settings{dir.filePath("settings.ini")};
    FileOpenSave files{state, host, prompter, settings};

    QString path(const QString& name) const { return dir.filePath(name); }
    // A radio file whose every byte is `fill`, element 2048 included.
    QString radioFile(const QString& name, char fill) {
        return writeFile(path(name), QByteArray(4127, fill)) ? path(name) : QString();
    }
    QString lastOpen() const { return settings.get("File", "LastOpen"); }
    void verifyFileError(const QString& text) {
        QCOMPARE(prompter.texts(), QStringList{text});
        QCOMPARE(prompter.shown[0].title, QStringLiteral("File Error"));
        QVERIFY(prompter.shown[0].icon == MsgIcon::Exclamation &&
                prompter.shown[0].buttons == MsgButtons::Ok);
    }
};

}  // namespace

class TestFileOpenSave : public QObject {
    Q_OBJECT
    ScratchHome home_;

private slots:
    void filters() {
        QCOMPARE(FileOpenSave::filterList(),
                 QStringLiteral("TAV (*.tav)|*.tav|Frequency (*.frq)|*.frq|All (*.*)|*.*"));
        QCOMPARE(FileOpenSave::nameFilters(),
                 QStringList({"TAV (*.tav)", "Frequency (*.frq)", "All (*)"}));
        QCOMPARE(FileOpenSave::commandLineText({"tavedwin", "/radios/a b.tav"}),
                 QStringLiteral("/radios/a b.tav"));
        QCOMPARE(FileOpenSave::commandLineText({"tavedwin"}), QString());
    }

    // Right after start Save asks for a name; cancelling it, or Open, does nothing.
    void cancelledDialogsDoNothing() {
        Rig r;
        QVERIFY(!r.files.OpenFromCommandLine(QString()));
        QVERIFY(!r.files.SaveFile());
        QVERIFY(!r.files.OpenFile());
        QCOMPARE(r.host.dialogs, (QList<std::pair<bool, QString>>{{true, ""}, {false, ""}}));
        QVERIFY(r.host.log.isEmpty() && r.prompter.shown.isEmpty());
        QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files), QStringList{});
    }

    void commandLineOpensOnlyTav_data() { textRows("unit.TaV|1;UNIT.TAV|1;unit.frq|0;unittav|0"); }
    void commandLineOpensOnlyTav() {
        QFETCH(QStringList, row);
        const QString name = row[0];
        const bool opens = row[1] == "1";
        Rig r;
        const QString p = r.radioFile(name, '\x42');
        const QString none;
        QCOMPARE(r.files.OpenFromCommandLine(p), opens);
        QCOMPARE(r.state.EEImage[2048] + r.state.PowerMask[29], opens ? 2 * 0x42 : 0);
        QCOMPARE((QStringList{r.files.CurrentFileName, r.files.ConfirmedFileName,
                              r.files.PrintFileName, r.lastOpen()}),
                 QStringList({p}) + QStringList(3, opens ? p : none));
        QCOMPARE(r.host.caption, opens ? QStringLiteral("TAV File - ") + p + "   TAV Editor"
                                       : QStringLiteral("TAVEDWIN  -  TAV Editor"));
        if (opens) {
            QCOMPARE(r.host.log, QStringList({"redisplayShownGroup", "setCaption"}));
            return;
        }
        // The name not opened stays current: Save asks, preset with it.
        QVERIFY(!r.files.SaveFile());
        QCOMPARE(r.host.dialogs, (QList<std::pair<bool, QString>>{{true, p}}));
        QCOMPARE(readFile(p), QByteArray(4127, '\x42'));
    }

    void saveAfterOpenWritesWithoutDialog() {
        Rig r;
        const QString p = r.radioFile("unit.tav", '\x07');
        QVERIFY(writeFile(p, QByteArray(4627, '\x07')));  // an old, longer file
        QVERIFY(r.files.OpenFromCommandLine(p));
        r.host.editOnStore = 0x99;
        r.host.log.clear();
        QVERIFY(r.files.SaveFile());
        QVERIFY(r.host.dialogs.isEmpty() && r.prompter.shown.isEmpty());
        QByteArray expected(4127, '\x07');
        expected[200] = '\x99';
        QCOMPARE(readFile(p), expected);
        QCOMPARE(r.host.log, QStringList({"storeShownGroup", "setCaption"}));
    }

    void globalsWindowTakesPart() {
        for (const bool open : {true, false}) {
            Rig r;
            r.state.GlobalsWindowOpen = open;
            r.host.dialogAnswers = {r.path("a.tav"), r.path("a.tav")};
            QVERIFY(r.files.SaveFileAs());
            QVERIFY(r.files.OpenFile());
            const QString globals = open ? "storeGlobals" : "",
                          again = open ? "redisplayGlobals" : "";
            QCOMPARE(r.host.log, (QStringList{"storeShownGroup", globals, "setCaption",
                                              "redisplayShownGroup", again, "setCaption"}
                                      .filter(QRegularExpression("."))));
            QVERIFY(!r.host.dialogs[1].first);
        }
    }

    void saveAsFailureKeepsTheOldFile() {
        Rig r;
        const QString old = r.radioFile("unit.tav", '\x33');
        QVERIFY(r.files.OpenFromCommandLine(old));
        const QString caption = r.host.caption;
        r.radioFile("plain", 'x');
        r.host.dialogAnswers = {r.path("plain/new.tav")};  // its folder is a regular file
        r.host.editOnStore = 0x55;

        QVERIFY(!r.files.SaveFileAs());
        QCOMPARE(r.host.dialogs, (QList<std::pair<bool, QString>>{{true, old}}));
        r.verifyFileError(QStringLiteral("Error Number 76!\rNot a directory"));
        QCOMPARE(r.host.caption + r.files.CurrentFileName + r.lastOpen(), caption + old + old);
        QCOMPARE(readFile(old), QByteArray(4127, '\x33'));

        // A later Save goes to the old path, without asking.
        QVERIFY(r.files.SaveFile());
        QCOMPARE(r.host.dialogs.size() * 1000 + uint8_t(readFile(old)[200]), 1000 + 0x55);
    }

    // Name|message (%1: the path).
    void refusedOpenLeavesEverything_data() {
        textRows(
            "short.tav|Invalid File: %1;"
            "folder.tav|Invalid File: %1\rIt is a folder or a device, not a file.;"
            "missing.tav|Error Number 53!\rNo such file or directory");
    }
    void refusedOpenLeavesEverything() {
        QFETCH(QStringList, row);
        const QString name = row[0], message = row[1];
        Rig r;
        QVERIFY(writeFile(r.path("short.tav"), QByteArray(2047, '\x01')));
        QDir(r.dir.path()).mkdir("folder.tav");
        const QString good = r.radioFile("good.tav", '\x0C');
        QVERIFY(r.files.OpenFromCommandLine(good));
        r.host.log.clear();

        r.host.dialogAnswers = {r.path(name)};
        QVERIFY(!r.files.OpenFile());
        r.verifyFileError(message.arg(r.path(name)));
        QVERIFY(r.host.log.isEmpty());  // no redisplay, no caption
        QCOMPARE(QList<int>({r.state.EEImage[0], r.state.EEImage[2048]}), QList<int>({12, 12}));
        QCOMPARE((QStringList{r.files.CurrentFileName, r.lastOpen(), r.files.PrintFileName}),
                 QStringList(3, good));
    }
};

TAV_TEST_GUILESS(TestFileOpenSave);
#include "tst_fileopensave.moc"
