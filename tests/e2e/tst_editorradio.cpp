// The editor window, offscreen, against `tavctl sim` on a pseudo-terminal
// through the real serial port code: read the radio, change a channel, write
// the radio, and find the change in the simulator's EEPROM when it stops.

#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "../ui/UiFixture.h"
#include "E2eSupport.h"
#include "app/QtSerialLink.h"
#include "model/MGlobals.h"
#include "ui/RadioCommands.h"
#include "ui/WindowClock.h"

using namespace tav;
using namespace tav::test;

class TestEditorRadio : public QObject {
    Q_OBJECT

private slots:
    void readChangeWrite() {
        QTemporaryDir dir;
        const QString dump = dir.filePath(QStringLiteral("eeprom.tav"));
        Simulator sim({QStringLiteral("--dump-on-exit"), dump});
        const QString device = sim.device;
        QVERIFY(device.startsWith(QLatin1String("/dev/")));

        UiRig ui;
        WindowClock clock;
        ui.clockOverride = &clock;
        ui.settings->saveInteger(QStringLiteral("Features"), QStringLiteral("Label"), 1);
        EditorServices s = ui.services();
        s.openPort = [device](int) { return std::make_unique<QtSerialLink>(device); };
        ui.w = std::make_unique<frmGroups>(std::move(s));
        frmGroups& w = *ui.w;
        w.show();

        w.mnuRead->trigger();
        QCOMPARE(ui.prompter.texts(), QStringList{QStringLiteral("All groups read OK.")});
        QVERIFY(w.mnuRead->isEnabled());
        const auto read = ui.state.EEImage;

        ui.selectGroup(1);
        ui.setCell(1, 2, QStringLiteral("151.12500"));
        ui.prompter.answers = {MsgResult::Ok, MsgResult::Yes};
        w.mnuWriteAll->trigger();
        QCOMPARE(ui.prompter.texts().last(), QStringLiteral("All groups written OK."));
        QCOMPARE(w.radio().backups().list().size(), 2);

        ui.prompter.answers = {MsgResult::No};
        w.close();
        ui.w.reset();
        // A terminated simulator ends normally and leaves its EEPROM behind.
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(10000));
        QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process.exitCode(), 0);

        QFile f(dump);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray eeprom = f.read(kEEPromSize);
        QCOMPARE(eeprom.size(), kEEPromSize);
        uint8_t b1 = 0, b2 = 0;
        QVERIFY(FreqTextToBytes(QStringLiteral("151.12500"), b1, b2));
        const int at = 2 * kPageSize + 16 + 2 * 8;  // group 2, channel 3
        QCOMPARE(uint8_t(eeprom[at]), b1);
        QCOMPARE(uint8_t(eeprom[at + 1]), b2);
        // Everything else in the radio is as it was read.
        for (int i = 0; i < kEEPromSize; ++i)
            if (i != at && i != at + 1) QCOMPARE(uint8_t(eeprom[i]), read[i]);
    }
};

TAV_TEST(TestEditorRadio);
#include "tst_editorradio.moc"
