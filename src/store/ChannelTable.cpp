#include "store/ChannelTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariant>
#include <algorithm>
#include <atomic>

#include "app/Ports.h"

namespace tav {

namespace {

std::atomic<int> connectionCounter{0};

QString quoted(const QString& column) {
    return QLatin1Char('"') + column + QLatin1Char('"');
}

QString channelNumberText(int row) {
    return QString::number(row + 1);
}

// A value bound to a text column; a null QString would be stored as NULL.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// Only a file that SQLite itself calls damaged is replaced; a busy or
// unreadable one (another editor holding it, say) is left alone.
bool saysDamaged(const QSqlError& e) {
    const int code = e.nativeErrorCode().toInt() & 0xFF;
    return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */;
}

bool folderIsWritable(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    // Asking the file system beats reading permission bits: a read-only
    // mount or an access-control list says no here even to root.
    QTemporaryFile probe(folder + QStringLiteral("/.tavprobe-XXXXXX"));
    return probe.open();
}

}  // namespace

const QStringList& ChannelTable::columnNames() {
    static const QStringList names = {QStringLiteral("CHAN"),   QStringLiteral("Rec Freq"),
                                      QStringLiteral("Rec CG"), QStringLiteral("Tx Freq"),
                                      QStringLiteral("Tx CG"),  QStringLiteral("Ch Label")};
    return names;
}

QString ChannelTable::userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/TAVEDWIN");
}

bool ChannelTable::isSystemFolder(const QString& folder) {
    // An installed program never keeps working files beside itself, even
    // when it runs with the rights to write there.
    static const char* const kSystemPrefixes[] = {"/usr/",  "/bin/", "/sbin/",  "/opt/",
                                                  "/snap/", "/lib/", "/lib64/", "/app/"};
    const QString f = QDir::cleanPath(folder) + QLatin1Char('/');
    for (const char* prefix : kSystemPrefixes)
        if (f.startsWith(QLatin1String(prefix))) return true;
    return false;
}

QString ChannelTable::chooseFolder(const QString& programFolder, const QString& userFolder) {
    return !isSystemFolder(programFolder) && folderIsWritable(programFolder) ? programFolder
                                                                             : userFolder;
}

QString ChannelTable::defaultPath() {
    return chooseFolder(QCoreApplication::applicationDirPath(), userDataFolder()) +
           QLatin1Char('/') + fileName();
}

ChannelTable::ChannelTable(QObject* parent)
    : QAbstractTableModel(parent),
      connection_(QStringLiteral("tav-channel-table-%1").arg(++connectionCounter)) {
    for (int row = 0; row < kRows; ++row) cells_[row][0] = channelNumberText(row);
}

ChannelTable::~ChannelTable() {
    closeConnection();
}

// ------------------------------------------------------------------ opening

bool ChannelTable::open(const QString& path, Prompter& prompter) {
    closeConnection();
    path_ = path;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(prompter, QStringLiteral("It is a folder or a device, not a file."));
    if (!QDir().mkpath(info.absolutePath()))
        return fail(prompter, QStringLiteral("Its folder cannot be made."));
    if (!openConnection(path)) return fail(prompter, lastError_);

    Shape shape = inspect();
    if (shape == Shape::Unavailable) {
        closeConnection();
        return fail(prompter, lastError_);
    }
    if (shape == Shape::Damaged) {
        closeConnection();
        if (!removeFiles() || !openConnection(path)) return fail(prompter, lastError_);
        prompter.show(
            QStringLiteral("The working channel table was damaged and has been created anew."),
            QString(), MsgButtons::Ok, MsgIcon::Information);
        shape = Shape::Missing;
    }
    if ((shape == Shape::Missing || shape == Shape::Misshapen) &&
        !create(shape == Shape::Misshapen)) {
        closeConnection();
        return fail(prompter, lastError_);
    }
    open_ = true;
    emit dataChanged(index(0, 0), index(kRows - 1, kColumns - 1));
    return true;
}

bool ChannelTable::fail(Prompter& prompter, const QString& why) {
    lastError_ = why;
    prompter.show(
        QStringLiteral("The working channel table could not be opened or created: ") + path_,
        QString(), MsgButtons::Ok, MsgIcon::Exclamation, why);
    return false;
}

bool ChannelTable::openConnection(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path);
    if (!db.open()) {
        lastError_ = db.lastError().text();
        closeConnection();
        return false;
    }
    // A scratch table: losing it in a crash costs nothing, so do not pay for
    // durability on every cell.
    exec(QStringLiteral("PRAGMA synchronous=OFF"));
    exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    return true;
}

void ChannelTable::closeConnection() {
    open_ = false;
    batchDepth_ = 0;
    if (!QSqlDatabase::contains(connection_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

bool ChannelTable::removeFiles() {
    // A journal left beside the old file would be played into the new one.
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        QFile f(path_ + QLatin1String(suffix));
        if (f.exists() && !f.remove()) {
            lastError_ = f.errorString();
            return false;
        }
    }
    return true;
}

ChannelTable::Shape ChannelTable::inspect() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    const auto failed = [&] {
        lastError_ = q.lastError().text();
        return saysDamaged(q.lastError()) ? Shape::Damaged : Shape::Unavailable;
    };
    // The first read of the file tells whether it is a database at all.
    if (!q.exec(QStringLiteral(
            "SELECT count(*) FROM sqlite_master WHERE type='table' AND name='tblChannel'")) ||
        !q.next())
        return failed();
    if (q.value(0).toInt() == 0) return Shape::Missing;

    if (!q.exec(QStringLiteral("PRAGMA table_info(tblChannel)"))) return failed();
    QStringList names;
    bool chanIsKey = false;
    while (q.next()) {
        names << q.value(1).toString();
        if (names.size() == 1) chanIsKey = q.value(5).toInt() == 1;
    }
    if (names != columnNames() || !chanIsKey) return Shape::Misshapen;

    QStringList columns;
    for (const QString& c : columnNames()) columns << quoted(c);
    if (!q.exec(QStringLiteral("SELECT %1 FROM tblChannel ORDER BY CHAN").arg(columns.join(','))))
        return failed();
    decltype(cells_) loaded;
    int row = 0;
    while (q.next()) {
        if (row >= kRows || q.value(0).toInt() != row + 1) return Shape::Misshapen;
        loaded[row][0] = channelNumberText(row);
        for (int c = 1; c < kColumns; ++c) loaded[row][c] = q.value(c).toString();
        ++row;
    }
    if (q.lastError().isValid()) return failed();
    if (row != kRows) return Shape::Misshapen;
    cells_ = loaded;
    return Shape::Usable;
}

bool ChannelTable::create(bool replacing) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QStringList defs{QStringLiteral("CHAN INTEGER PRIMARY KEY")};
    for (int c = 1; c < kColumns; ++c) defs << quoted(columnNames()[c]) + QStringLiteral(" TEXT");
    if (!db.transaction()) {
        lastError_ = db.lastError().text();
        return false;
    }
    // The old table goes in the same transaction, so a failure leaves it as it was.
    bool ok = !replacing || exec(QStringLiteral("DROP TABLE tblChannel"));
    ok = ok &&
         exec(QStringLiteral("CREATE TABLE tblChannel (%1)").arg(defs.join(QStringLiteral(", "))));
    QSqlQuery q(db);
    ok = ok && q.prepare(QStringLiteral("INSERT INTO tblChannel VALUES (?, ?, ?, ?, ?, ?)"));
    for (int row = 0; ok && row < kRows; ++row) {
        q.addBindValue(row + 1);
        for (int c = 1; c < kColumns; ++c) q.addBindValue(textValue(cells_[row][c]));
        ok = q.exec();
        if (!ok) lastError_ = q.lastError().text();
    }
    if (ok && db.commit()) return true;
    if (lastError_.isEmpty()) lastError_ = db.lastError().text();
    db.rollback();
    return false;
}

bool ChannelTable::exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (q.exec(sql)) return true;
    lastError_ = q.lastError().text();
    return false;
}

// -------------------------------------------------------------------- cells

QString ChannelTable::cellText(int column, int row) const {
    return validCell(column, row) ? cells_[row][column] : QString();
}

void ChannelTable::setCellText(int column, int row, const QString& text) {
    if (!validCell(column, row) || column == grid::Chan) return;
    cells_[row][column] = text;
    writeThrough(column, row, text);
    noteChanged(column, row);
}

bool ChannelTable::writeThrough(int column, int row, const QString& text) {
    if (!open_) return false;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (q.prepare(QStringLiteral("UPDATE tblChannel SET %1 = ? WHERE CHAN = ?")
                      .arg(quoted(columnNames()[column])))) {
        q.addBindValue(textValue(text));
        q.addBindValue(row + 1);
        if (q.exec()) return true;
    }
    lastError_ = q.lastError().text();
    return false;
}

void ChannelTable::noteChanged(int column, int row) {
    if (batchDepth_ == 0) {
        emit dataChanged(index(row, column), index(row, column));
        return;
    }
    dirtyTop_ = std::min(dirtyTop_, row);
    dirtyBottom_ = std::max(dirtyBottom_, row);
    dirtyLeft_ = std::min(dirtyLeft_, column);
    dirtyRight_ = std::max(dirtyRight_, column);
}

void ChannelTable::beginBatch() {
    if (batchDepth_++ > 0 || !open_) return;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) lastError_ = db.lastError().text();
}

void ChannelTable::endBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) return;
    if (open_) {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (!db.commit()) {
            lastError_ = db.lastError().text();
            db.rollback();
        }
    }
    if (dirtyBottom_ >= 0)
        emit dataChanged(index(dirtyTop_, dirtyLeft_), index(dirtyBottom_, dirtyRight_));
    dirtyTop_ = kRows, dirtyBottom_ = -1, dirtyLeft_ = kColumns, dirtyRight_ = -1;
}

// -------------------------------------------------------------------- model

int ChannelTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRows;
}

int ChannelTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ChannelTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    if (index.column() == grid::Chan) return index.row() + 1;
    return cellText(index.column(), index.row());
}

bool ChannelTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == grid::Chan) return false;
    setCellText(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags ChannelTable::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == grid::Chan ? base : base | Qt::ItemIsEditable;
}

QVariant ChannelTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumns)
        return columnNames()[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace tav
