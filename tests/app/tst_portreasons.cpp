// Why a serial port could not be opened, in words the user can act on: the
// devices that do exist, the group that grants access, the program that
// holds the port. The real port uses them in tst_qtseriallink.

#include <grp.h>
#include <unistd.h>

#include <QTemporaryFile>
#include <QtTest>

#include "TestMain.h"
#include "app/QtSerialLink.h"

using namespace tav;

class TestPortReasons : public QObject {
    Q_OBJECT

private slots:
    void reasons_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing, others present")
            << 0 << "/dev/ttyS0|/dev/ttyUSB1"
            << "/dev/ttyUSB0 does not exist. Serial devices on this computer: /dev/ttyS0, "
               "/dev/ttyUSB1.";
        QTest::newRow("missing, none present")
            << 0 << ""
            << "/dev/ttyUSB0 does not exist. No serial device was found on this computer.";
        QTest::newRow("denied, group known")
            << 1 << "dialout"
            << "No permission to use /dev/ttyUSB0. The members of the group \"dialout\" may use "
               "it: add your user to that group (sudo usermod -aG dialout $USER), then log out "
               "and in again.";
        QTest::newRow("denied, root's only") << 1 << "root"
                                             << "No permission to use /dev/ttyUSB0.";
        QTest::newRow("in use, holder known")
            << 2 << "minicom (process 4242)"
            << "/dev/ttyUSB0 is in use by another program: minicom (process 4242).";
        QTest::newRow("in use, holder unknown") << 2 << ""
                                                << "/dev/ttyUSB0 is in use by another program.";
    }
    void reasons() {
        QFETCH(int, kind);
        QFETCH(QString, extra);
        QFETCH(QString, reason);
        const QString dev = QStringLiteral("/dev/ttyUSB0");
        const QString made = kind == 0 ? QtSerialLink::noSuchDeviceReason(
                                             dev, extra.split(QLatin1Char('|'), Qt::SkipEmptyParts))
                             : kind == 1 ? QtSerialLink::permissionReason(dev, extra)
                                         : QtSerialLink::inUseReason(dev, extra);
        QCOMPARE(made, reason);
    }

    void groupOfADevice() {
        QTemporaryFile f;
        QVERIFY(f.open());
        const struct group* g = ::getgrgid(::getegid());
        QVERIFY(g);
        QCOMPARE(QtSerialLink::deviceGroup(f.fileName()), QString::fromLocal8Bit(g->gr_name));
        QCOMPARE(QtSerialLink::deviceGroup(QStringLiteral("/dev/tav-no-such-port")), QString());
    }
};

TAV_TEST_GUILESS(TestPortReasons);
#include "tst_portreasons.moc"
