#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "Fixtures.h"
#include "TestMain.h"
#include "TestSupport.h"
#include "store/ChannelTable.h"

using namespace tav;
using namespace tav::test;

namespace {

// An independent connection to a database file, as another program would see it.
class Peek {
public:
    explicit Peek(const QString& path) : name_(QStringLiteral("peek-%1").arg(++count_)) {
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_).setDatabaseName(path);
        QSqlDatabase::database(name_);  // opens it
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

// tblChannel as the editor makes it: its columns, CHAN the primary key, and
// the rows 1 to 14 in stored order (rowid order is the primary key).
void verifyWorkingTable(const Peek& peek) {
    QCOMPARE(
        peek.column("SELECT name || '=' || pk FROM pragma_table_info('tblChannel')").join(", "),
        "CHAN=1, Rec Freq=0, Rec CG=0, Tx Freq=0, Tx CG=0, Ch Label=0");
    QCOMPARE(peek.column(QStringLiteral("SELECT CHAN FROM tblChannel")).join(u' '),
             QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14"));
}

}  // namespace

class TestChannelTable : public QObject {
    Q_OBJECT
    ScratchHome home_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name = QStringLiteral("TavCurrent.MDB")) const {
        return dir_->filePath(name);
    }

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void freshFolderGetsWorkingTable() {
        const QString p = dir_->filePath(QStringLiteral("new/folder/TavCurrent.MDB"));
        ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(p, prompter) && t.isOpen() && prompter.shown.isEmpty());

        verifyWorkingTable(Peek(p));
        QCOMPARE(t.headerData(5, Qt::Horizontal).toString(), QStringLiteral("Ch Label"));
        for (int r = 0; r < 14; ++r) QCOMPARE(t.data(t.index(r, 0)).toInt(), r + 1);
    }

    // Only SQLite's own verdict on the file replaces it; a tblChannel of another shape is made
    // again in place, beside the file's other tables. Name|offset of a page of garbage (-1:
    // none)|damaged|tblChannel's columns (key, no key: ours, with or without the key)|CHANs.
    void unusableTableIsReplaced_data() {
        textRows(
            "not a database|0|1||;corrupt|4096|1|key|1 14;wrong columns|-1|0|(a, b)|;"
            "too few rows|-1|0|key|1 3;CHAN from 0|-1|0|key|0 13;CHAN not the key|-1|0|no key|");
    }
    void unusableTableIsReplaced() {
        QFETCH(QStringList, row);
        const int garbageAt = row[1].toInt();
        const bool damaged = row[2] == "1";
        QStringList setup;
        const QString ours = R"(, "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Ch Label"))";
        if (!row[3].isEmpty())
            setup << "CREATE TABLE tblChannel " + (row[3].startsWith(u'(') ? row[3]
                                                   : row[3] == "key"
                                                       ? "(CHAN INTEGER PRIMARY KEY" + ours
                                                       : "(CHAN INTEGER" + ours);
        if (!row[4].isEmpty())
            setup << "WITH RECURSIVE n(i) AS (SELECT " +
                         row[4].replace(u' ', " UNION ALL SELECT i + 1 FROM n WHERE i < ") +
                         ") INSERT INTO tblChannel (CHAN) SELECT i FROM n";
        {
            Peek peek(path());  // tblChannel first: its rows are on page 2
            for (const QString& sql :
                 setup + QStringList{"CREATE TABLE keep (x)", "INSERT INTO keep VALUES ('kept')"})
                QVERIFY2(peek.exec(sql), qPrintable(sql));
        }
        if (garbageAt >= 0) {
            QFile f(path());
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(garbageAt));
            f.write(QByteArray(4096, 'x'));
        }
        ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(path(), prompter));
        QCOMPARE(prompter.texts(), QStringList(damaged ? 1 : 0,
                                               "The working channel table was damaged and has "
                                               "been created anew."));
        if (damaged)
            QVERIFY(prompter.shown[0].icon == MsgIcon::Information &&
                    prompter.shown[0].buttons == MsgButtons::Ok);

        t.setCellText(5, 13, QStringLiteral("LAST"));
        Peek peek(path());
        QCOMPARE(peek.column(QStringLiteral("SELECT x FROM keep")) == QStringList{"kept"},
                 !damaged);
        verifyWorkingTable(peek);
        QCOMPARE(peek.column(QStringLiteral("SELECT \"Ch Label\" FROM tblChannel WHERE CHAN = 14")),
                 QStringList{"LAST"});
    }

    void unusablePlaceIsReportedNotFatal() {
        for (const QString relative :
             {"plain/TavCurrent.MDB", "folder"}) {  // parent a file; a folder
            QDir(dir_->path()).mkdir(QStringLiteral("folder"));
            QVERIFY(writeFile(path(QStringLiteral("plain")), {}));

            ScriptedPrompter prompter;
            ChannelTable t;
            QVERIFY(!t.open(path(relative), prompter) && !t.isOpen());
            QCOMPARE(prompter.texts(),
                     QStringList{"The working channel table could not be opened or created: " +
                                 path(relative)});
            QVERIFY(prompter.shown[0].icon == MsgIcon::Exclamation &&
                    !prompter.shown[0].detail.isEmpty());
            t.setCellText(1, 0, QStringLiteral("155.00000"));  // the grid works from memory
            QVERIFY(t.cellText(1, 0) == "155.00000" && QFileInfo(path("folder")).isDir());
        }
    }

    // The channel column cannot be written; any other cell reaches the file at once.
    void channelColumnIsReadOnlyOthersAreStoredAtOnce() {
        ScriptedPrompter prompter;
        ChannelTable t;
        QVERIFY(t.open(path(), prompter));
        QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
        QVERIFY(!t.setData(t.index(3, 0), 99));
        for (const auto& [column, row] : {std::pair{0, 3}, {6, 0}, {1, 14}, {1, -1}})
            t.setCellText(column, row, QStringLiteral("99"));
        QCOMPARE(changed.count(), 0);
        QVERIFY(t.cellText(0, 3) == "4" && !(t.flags(t.index(3, 0)) & Qt::ItemIsEditable));
        for (int c = 1; c < 6; ++c) QVERIFY(t.flags(t.index(3, c)) & Qt::ItemIsEditable);
        Peek peek(path());
        verifyWorkingTable(peek);
        t.setCellText(4, 2, QStringLiteral("123.5"));
        QCOMPARE(peek.column("SELECT \"Tx CG\" FROM tblChannel WHERE CHAN = 3"),
                 QStringList{"123.5"});
        QVERIFY(changed.count() == 1 && changed[0][0].toModelIndex() == t.index(2, 4));
    }

    // A batch reaches the file in one transaction, announced once; the cells
    // are there when the table is opened again.
    void batchIsOneTransaction() {
        ScriptedPrompter prompter;
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
            QVERIFY(t.setData(t.index(6, 2), QStringLiteral("D023-")));
            // Inside the batch nothing has reached the file yet, and every
            // cell already reads back from memory.
            QCOMPARE(peek.column(everyLabel), QStringList(14, QString("")));
            QVERIFY(t.cellText(5, 13) == "v135" && changed.count() == 0);
        }
        QCOMPARE(peek.column(everyLabel).join(u' '),
                 "v05 v15 v25 v35 v45 v55 v65 v75 v85 v95 v105 v115 v125 v135");
        QVERIFY(changed.count() == 1 && changed[0][0].toModelIndex() == t.index(0, 1) &&
                changed[0][1].toModelIndex() == t.index(13, 5));
        ChannelTable again;
        QVERIFY(again.open(path(), prompter) && prompter.shown.isEmpty());
        QCOMPARE(again.cellText(5, 13) + again.data(again.index(6, 2)).toString(), "v135D023-");
    }

    void folderChoice() {
        const QString user = ChannelTable::userDataFolder();
        QVERIFY(user.startsWith(home_.path()) && user.endsWith(QStringLiteral("/TAVEDWIN")));
        QCOMPARE(ChannelTable::chooseFolder(dir_->path(), user), dir_->path());
        // Missing, none; an installed program keeps its table in the user's folder, even as root.
        for (const QString& dir :
             {path("missing"), QString(), QString("/usr/bin"), QString("/opt/tavedit/bin")})
            QCOMPARE(ChannelTable::chooseFolder(dir, user), user);
        QVERIFY(ChannelTable::defaultPath().endsWith(QStringLiteral("/TavCurrent.MDB")));
        QVERIFY(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

TAV_TEST_GUILESS(TestChannelTable);
#include "tst_channeltable.moc"
