#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"
#include "TestSupport.h"
#include "store/ChannelTable.h"

using namespace tav;

namespace {

const QString kRecreated =
    QStringLiteral("The working channel table was damaged and has been created anew.");

// A second, independent connection to a database file, as another program
// (or a reopened editor) would see it.
class Peek {
public:
    explicit Peek(const QString& path) : name_(QStringLiteral("peek-%1").arg(++count_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Peek() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    QStringList column(const QString& sql) const {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        QStringList out;
        if (!q.exec(sql)) return {QStringLiteral("error: ") + q.lastError().text()};
        while (q.next()) out << q.value(0).toString();
        return out;
    }
    bool exec(const QString& sql) const {
        return QSqlQuery(QSqlDatabase::database(name_, false)).exec(sql);
    }

private:
    static inline int count_ = 0;
    QString name_;
};

QStringList oneToFourteen() {
    QStringList n;
    for (int i = 1; i <= 14; ++i) n << QString::number(i);
    return n;
}

}  // namespace

class TestChannelTable : public QObject {
    Q_OBJECT
    test::ScratchHome home_;
    QTemporaryDir dir_;
    QString path(const QString& name = QStringLiteral("TavCurrent.MDB")) const {
        return dir_.filePath(name);
    }

private slots:
    void cleanup() {
        for (const QString& f :
             QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            QFileInfo(dir_.filePath(f)).isDir() ? QDir(dir_.filePath(f)).removeRecursively()
                                                : QFile::remove(dir_.filePath(f));
    }

    void freshFolderGetsWorkingTable() {
        const QString p = dir_.filePath(QStringLiteral("new/folder/TavCurrent.MDB"));
        test::ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(p, prompter));
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(t.isOpen());

        Peek peek(p);
        QCOMPARE(peek.column(QStringLiteral("SELECT name FROM pragma_table_info('tblChannel')")),
                 ChannelTable::columnNames());
        QCOMPARE(peek.column(QStringLiteral("SELECT pk FROM pragma_table_info('tblChannel')")),
                 QStringList({"1", "0", "0", "0", "0", "0"}));
        // Stored order, not just sorted order: rowid order is the primary key.
        QCOMPARE(peek.column(QStringLiteral("SELECT CHAN FROM tblChannel")), oneToFourteen());

        QCOMPARE(ChannelTable::columnNames(),
                 QStringList({"CHAN", "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Ch Label"}));
        for (int c = 0; c < 6; ++c)
            QCOMPARE(t.headerData(c, Qt::Horizontal).toString(), ChannelTable::columnNames()[c]);
        for (int r = 0; r < 14; ++r) {
            QCOMPARE(t.cellText(0, r), QString::number(r + 1));
            QCOMPARE(t.data(t.index(r, 0)).toInt(), r + 1);
        }
    }

    void damagedFileIsCreatedAnew_data() {
        QTest::addColumn<QStringList>("setup");  // SQL run on the file; empty: garbage bytes
        QTest::newRow("not a database") << QStringList();
        QTest::newRow("wrong columns") << QStringList{"CREATE TABLE tblChannel (a, b)"};
        QTest::newRow("too few rows") << QStringList{
            "CREATE TABLE tblChannel (CHAN INTEGER PRIMARY KEY, \"Rec Freq\", "
            "\"Rec CG\", \"Tx Freq\", \"Tx CG\", \"Ch Label\")",
            "INSERT INTO tblChannel (CHAN) VALUES (1), (2), (3)"};
        QTest::newRow("CHAN from 0") << QStringList{
            "CREATE TABLE tblChannel (CHAN INTEGER PRIMARY KEY, \"Rec Freq\", "
            "\"Rec CG\", \"Tx Freq\", \"Tx CG\", \"Ch Label\")",
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
            "WHERE i < 13) INSERT INTO tblChannel (CHAN) SELECT i FROM n"};
        QTest::newRow("CHAN not the key") << QStringList{
            "CREATE TABLE tblChannel (CHAN INTEGER, \"Rec Freq\", "
            "\"Rec CG\", \"Tx Freq\", \"Tx CG\", \"Ch Label\")"};
    }
    void damagedFileIsCreatedAnew() {
        QFETCH(QStringList, setup);
        if (setup.isEmpty()) {
            QFile f(path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(5000, 'x'));
        } else {
            Peek peek(path());
            for (const QString& sql : setup) QVERIFY2(peek.exec(sql), qPrintable(sql));
        }
        test::ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(path(), prompter));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, kRecreated);
        QCOMPARE(prompter.shown[0].icon, MsgIcon::Information);
        QCOMPARE(prompter.shown[0].buttons, MsgButtons::Ok);

        t.setCellText(5, 13, QStringLiteral("LAST"));
        Peek peek(path());
        QCOMPARE(peek.column(QStringLiteral("SELECT CHAN FROM tblChannel")), oneToFourteen());
        QCOMPARE(peek.column(QStringLiteral("SELECT \"Ch Label\" FROM tblChannel WHERE CHAN = 14")),
                 QStringList{"LAST"});
    }

    void unusablePlaceIsReportedNotFatal_data() {
        QTest::addColumn<QString>("relative");
        QTest::newRow("parent is a file") << QStringLiteral("plain/TavCurrent.MDB");
        QTest::newRow("a folder") << QStringLiteral("folder");
    }
    void unusablePlaceIsReportedNotFatal() {
        QFETCH(QString, relative);
        QDir(dir_.path()).mkdir(QStringLiteral("folder"));
        QFile plain(path(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        test::ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(!t.open(path(relative), prompter));
        QVERIFY(!t.isOpen());
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text,
                 QStringLiteral("The working channel table could not be opened or created: ") +
                     path(relative));
        QCOMPARE(prompter.shown[0].icon, MsgIcon::Exclamation);
        QVERIFY(!prompter.shown[0].detail.isEmpty());
        QVERIFY(QFileInfo(path(QStringLiteral("folder"))).isDir());
        // The grid still works from memory.
        t.setCellText(1, 0, QStringLiteral("155.00000"));
        QCOMPARE(t.cellText(1, 0), QStringLiteral("155.00000"));
    }

    void cellsSurviveReopening() {
        test::ScriptedPrompter prompter;
        {
            ChannelTable t;
            QVERIFY(t.open(path(), prompter));
            t.setCellText(1, 0, QStringLiteral("162.40000"));
            t.setCellText(2, 6, QStringLiteral("D023-"));
            QVERIFY(t.setData(t.index(13, 5), QStringLiteral("Ch 14")));
        }
        ChannelTable again;
        QVERIFY(again.open(path(), prompter));
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(again.cellText(1, 0), QStringLiteral("162.40000"));
        QCOMPARE(again.cellText(2, 6), QStringLiteral("D023-"));
        QCOMPARE(again.data(again.index(13, 5)).toString(), QStringLiteral("Ch 14"));
        QCOMPARE(again.cellText(3, 0), QString(""));
    }

    void channelColumnIsReadOnly() {
        test::ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(path(), prompter));
        QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
        t.setCellText(0, 3, QStringLiteral("99"));
        QVERIFY(!t.setData(t.index(3, 0), 99));
        t.setCellText(6, 0, QStringLiteral("x"));
        t.setCellText(1, 14, QStringLiteral("x"));
        t.setCellText(1, -1, QStringLiteral("x"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(t.cellText(0, 3), QStringLiteral("4"));
        QVERIFY(!(t.flags(t.index(3, 0)) & Qt::ItemIsEditable));
        for (int c = 1; c < 6; ++c) QVERIFY(t.flags(t.index(3, c)) & Qt::ItemIsEditable);
        QCOMPARE(Peek(path()).column("SELECT CHAN FROM tblChannel"), oneToFourteen());
    }

    void singleWriteIsStoredAndAnnouncedAtOnce() {
        test::ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(path(), prompter));
        QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
        Peek peek(path());
        t.setCellText(4, 2, QStringLiteral("123.5"));
        QCOMPARE(peek.column("SELECT \"Tx CG\" FROM tblChannel WHERE CHAN = 3"),
                 QStringList{"123.5"});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), t.index(2, 4));
    }

    void batchIsOneTransaction() {
        test::ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(path(), prompter));
        QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
        Peek peek(path());
        const QString everyLabel = QStringLiteral("SELECT \"Ch Label\" FROM tblChannel");
        {
            ChannelTable::Batch batch(t);
            for (int r = 0; r < 14; ++r)
                for (int c = 1; c < 6; ++c)
                    t.setCellText(c, r, QStringLiteral("v%1%2").arg(r).arg(c));
            // Inside the batch nothing has reached the file yet, and every
            // cell already reads back from memory.
            QCOMPARE(peek.column(everyLabel), QStringList(14, QString("")));
            QCOMPARE(t.cellText(5, 13), QStringLiteral("v135"));
            QCOMPARE(changed.count(), 0);
        }
        QStringList expected;
        for (int r = 0; r < 14; ++r) expected << QStringLiteral("v%1").arg(r) + QLatin1Char('5');
        QCOMPARE(peek.column(everyLabel), expected);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), t.index(0, 1));
        QCOMPARE(changed[0][1].toModelIndex(), t.index(13, 5));
    }

    void folderChoice() {
        const QString user = ChannelTable::userDataFolder();
        QVERIFY(user.startsWith(home_.path()));
        QVERIFY(user.endsWith(QStringLiteral("/TAVEDWIN")));
        QCOMPARE(ChannelTable::chooseFolder(dir_.path(), user), dir_.path());
        QCOMPARE(ChannelTable::chooseFolder(path(QStringLiteral("missing")), user), user);
        QCOMPARE(ChannelTable::chooseFolder(QString(), user), user);
        // An installed program keeps its table in the user's folder, even as root.
        QCOMPARE(ChannelTable::chooseFolder(QStringLiteral("/usr/bin"), user), user);
        QCOMPARE(ChannelTable::chooseFolder(QStringLiteral("/opt/tavedit/bin"), user), user);
        QVERIFY(ChannelTable::defaultPath().endsWith(QStringLiteral("/TavCurrent.MDB")));
        QVERIFY(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

TAV_TEST_GUILESS(TestChannelTable);
#include "tst_channeltable.moc"
