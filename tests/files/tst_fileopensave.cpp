#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "TestMain.h"
#include "TestSupport.h"
#include "app/Settings.h"
#include "files/FileOpenSave.h"

using namespace tav;

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
    struct Dialog {
        bool saveMode;
        QString preset;
    };
    QList<Dialog> dialogs;
    uint8_t editOnStore = 0;  // a pending edit that storing puts into the image

    void storeShownGroup() override {
        log << "storeShownGroup";
        if (editOnStore) state.EEImage[200] = editOnStore;
    }
    void storeGlobals() override { log << "storeGlobals"; }
    void redisplayGlobals() override { log << "redisplayGlobals"; }
    void redisplayShownGroup() override { log << "redisplayShownGroup"; }
    void setCaption(const QString& text) override {
        log << "setCaption";
        caption = text;
    }
    bool chooseFile(bool saveMode, const QString& presetPath, QString& chosenPath) override {
        dialogs.append({saveMode, presetPath});
        const std::optional<QString> a =
            dialogAnswers.isEmpty() ? std::nullopt : dialogAnswers.takeFirst();
        if (a) chosenPath = *a;
        return a.has_value();
    }
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestFileOpenSave : public QObject {
    Q_OBJECT
    test::ScratchHome home_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<FakeHost> host_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<FileOpenSave> files_;

    QString path(const QString& name) const { return dir_->filePath(name); }
    // A radio file whose every byte is `fill`, element 2048 included.
    QString radioFile(const QString& name, char fill) {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly)) f.write(QByteArray(4127, fill));
        return path(name);
    }
    QString lastOpen() const { return settings_->get("File", "LastOpen"); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        state_ = std::make_unique<AppState>();
        host_ = std::make_unique<FakeHost>(*state_);
        prompter_ = std::make_unique<test::ScriptedPrompter>();
        settings_ = std::make_unique<Settings>(path("settings.ini"));
        files_ = std::make_unique<FileOpenSave>(*state_, *host_, *prompter_, *settings_);
    }

    void filters() {
        QCOMPARE(FileOpenSave::filterList(),
                 QStringLiteral("TAV (*.tav)|*.tav|Frequency (*.frq)|*.frq|All (*.*)|*.*"));
        QCOMPARE(FileOpenSave::nameFilters(),
                 QStringList({"TAV (*.tav)", "Frequency (*.frq)", "All (*)"}));
        QCOMPARE(FileOpenSave::commandLineText({"tavedwin", "/radios/a b.tav"}),
                 QStringLiteral("/radios/a b.tav"));
        QCOMPARE(FileOpenSave::commandLineText({"tavedwin"}), QString());
    }

    void saveRightAfterStartAsksAndCancelWritesNothing() {
        QVERIFY(!files_->OpenFromCommandLine(QString()));
        QVERIFY(!files_->SaveFile());
        QCOMPARE(host_->dialogs.size(), 1);
        QVERIFY(host_->dialogs[0].saveMode);
        QCOMPARE(host_->dialogs[0].preset, QString());
        QVERIFY(host_->log.isEmpty());
        QVERIFY(prompter_->shown.isEmpty());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{});
    }

    void commandLineOpensOnlyTav_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opens");
        QTest::newRow("mixed case .TaV") << "unit.TaV" << true;
        QTest::newRow("upper case") << "UNIT.TAV" << true;
        QTest::newRow(".frq") << "unit.frq" << false;
        QTest::newRow("no extension") << "unittav" << false;
    }
    void commandLineOpensOnlyTav() {
        QFETCH(QString, name);
        QFETCH(bool, opens);
        const QString p = radioFile(name, '\x42');
        QCOMPARE(files_->OpenFromCommandLine(p), opens);
        QCOMPARE(state_->EEImage[2048], uint8_t(opens ? 0x42 : 0));
        QCOMPARE(state_->PowerMask[29], uint8_t(opens ? 0x42 : 0));
        QCOMPARE(files_->CurrentFileName, p);
        QCOMPARE(files_->ConfirmedFileName, opens ? p : QString());
        QCOMPARE(files_->PrintFileName, opens ? p : QString());
        QCOMPARE(lastOpen(), opens ? p : QString());
        QCOMPARE(host_->caption, opens ? QStringLiteral("TAV File - ") + p + "   TAV Editor"
                                       : QStringLiteral("TAVEDWIN  -  TAV Editor"));
        if (opens) {
            QCOMPARE(host_->log, QStringList({"redisplayShownGroup", "setCaption"}));
            return;
        }
        // The name not opened stays current: Save asks, preset with it.
        QVERIFY(!files_->SaveFile());
        QCOMPARE(host_->dialogs.size(), 1);
        QCOMPARE(host_->dialogs[0].preset, p);
        QCOMPARE(fileBytes(p), QByteArray(4127, '\x42'));
    }

    void saveAfterOpenWritesWithoutDialog() {
        const QString p = radioFile("unit.tav", '\x07');
        QFile tail(p);
        QVERIFY(tail.open(QIODevice::Append));
        tail.write(QByteArray(500, '\x07'));  // an old, longer file
        tail.close();
        QVERIFY(files_->OpenFromCommandLine(p));
        host_->editOnStore = 0x99;
        host_->log.clear();
        QVERIFY(files_->SaveFile());
        QVERIFY(host_->dialogs.isEmpty());
        QByteArray expected(4127, '\x07');
        expected[200] = '\x99';
        QCOMPARE(fileBytes(p), expected);
        QCOMPARE(host_->log, QStringList({"storeShownGroup", "setCaption"}));
        QVERIFY(prompter_->shown.isEmpty());
    }

    void globalsWindowTakesPart_data() {
        QTest::addColumn<bool>("open");
        QTest::newRow("globals window open") << true;
        QTest::newRow("globals window closed") << false;
    }
    void globalsWindowTakesPart() {
        QFETCH(bool, open);
        state_->GlobalsWindowOpen = open;
        host_->dialogAnswers = {path("a.tav"), path("a.tav")};
        QVERIFY(files_->SaveFileAs());
        QVERIFY(files_->OpenFile());
        QStringList expected{"storeShownGroup"};
        if (open) expected << "storeGlobals";
        expected << "setCaption"
                 << "redisplayShownGroup";
        if (open) expected << "redisplayGlobals";
        expected << "setCaption";
        QCOMPARE(host_->log, expected);
        QVERIFY(!host_->dialogs[1].saveMode);
    }

    void saveAsFailureKeepsTheOldFile() {
        const QString old = radioFile("unit.tav", '\x33');
        QVERIFY(files_->OpenFromCommandLine(old));
        const QString caption = host_->caption;
        radioFile("plain", 'x');
        const QString bad = path("plain/new.tav");  // its folder is a regular file
        host_->dialogAnswers = {bad};
        host_->editOnStore = 0x55;

        QVERIFY(!files_->SaveFileAs());
        QCOMPARE(host_->dialogs.size(), 1);
        QCOMPARE(host_->dialogs[0].preset, old);
        QCOMPARE(prompter_->shown.size(), 1);
        const test::ShownBox box = prompter_->shown[0];
        QCOMPARE(box.text, QStringLiteral("Error Number 76!\rNot a directory"));
        QCOMPARE(box.title, QStringLiteral("File Error"));
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        QCOMPARE(box.buttons, MsgButtons::Ok);
        QCOMPARE(host_->caption, caption);
        QCOMPARE(files_->CurrentFileName, old);
        QCOMPARE(lastOpen(), old);
        QCOMPARE(fileBytes(old), QByteArray(4127, '\x33'));

        // A later Save goes to the old path, without asking.
        QVERIFY(files_->SaveFile());
        QCOMPARE(host_->dialogs.size(), 1);
        QCOMPARE(uint8_t(fileBytes(old)[200]), uint8_t(0x55));
    }

    void refusedOpenLeavesEverything_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");  // %1: the path
        QTest::newRow("short file") << "short.tav"
                                    << "Invalid File: %1";
        QTest::newRow("folder") << "folder.tav"
                                << "Invalid File: %1\rIt is a folder or a device, not a file.";
        QTest::newRow("missing") << "missing.tav"
                                 << "Error Number 53!\rNo such file or directory";
    }
    void refusedOpenLeavesEverything() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFile shortFile(path("short.tav"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write(QByteArray(2047, '\x01'));
        shortFile.close();
        QDir(dir_->path()).mkdir("folder.tav");
        const QString good = radioFile("good.tav", '\x0C');
        QVERIFY(files_->OpenFromCommandLine(good));
        host_->log.clear();

        host_->dialogAnswers = {path(name)};
        QVERIFY(!files_->OpenFile());
        QCOMPARE(prompter_->texts(), QStringList{message.arg(path(name))});
        QCOMPARE(prompter_->shown[0].title, QStringLiteral("File Error"));
        QCOMPARE(prompter_->shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(prompter_->shown[0].buttons, MsgButtons::Ok);
        QVERIFY(host_->log.isEmpty());  // no redisplay, no caption
        QCOMPARE(state_->EEImage[0], uint8_t(0x0C));
        QCOMPARE(state_->EEImage[2048], uint8_t(0x0C));
        QCOMPARE(files_->CurrentFileName, good);
        QCOMPARE(lastOpen(), good);
        QCOMPARE(files_->PrintFileName, good);
    }

    void cancelledOpenDoesNothing() {
        QVERIFY(!files_->OpenFile());
        QCOMPARE(host_->dialogs.size(), 1);
        QVERIFY(!host_->dialogs[0].saveMode);
        QVERIFY(host_->log.isEmpty());
        QVERIFY(prompter_->shown.isEmpty());
    }
};

TAV_TEST_GUILESS(TestFileOpenSave);
#include "tst_fileopensave.moc"
