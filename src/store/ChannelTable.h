#pragma once
// The working channel table behind the main window's grid: the 14 channels of
// the shown group, six columns, kept in memory and written through to the
// SQLite table `tblChannel` in "TavCurrent.MDB".
//
// The table is an editing surface, not the authority (the radio image is), so
// the in-memory cells always win: when the database cannot be written, the
// grid goes on working from memory and lastError() says why.

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <array>

#include "model/AppState.h"
#include "model/ChannelGrid.h"

namespace tav {

class Prompter;

class ChannelTable : public QAbstractTableModel, public ChannelGrid {
    Q_OBJECT

public:
    static constexpr int kColumns = 6;
    static constexpr int kRows = kChannelsPerGroup;

    // Column names of tblChannel in grid order: "CHAN", "Rec Freq", "Rec CG",
    // "Tx Freq", "Tx CG", "Ch Label".
    static const QStringList& columnNames();
    static QString fileName() { return QStringLiteral("TavCurrent.MDB"); }

    // Where the table lives: beside the executable when that folder is
    // writable, else in the user's data folder (XDG_DATA_HOME/TAVEDWIN).
    static QString defaultPath();
    // Whether a folder belongs to an installed system (/usr, /opt, ...).
    static bool isSystemFolder(const QString& folder);
    static QString chooseFolder(const QString& programFolder, const QString& userFolder);
    static QString userDataFolder();

    explicit ChannelTable(QObject* parent = nullptr);
    ~ChannelTable() override;
    ChannelTable(const ChannelTable&) = delete;
    ChannelTable& operator=(const ChannelTable&) = delete;

    // Opens (or creates) the database at `path` and loads its 14 rows. A file
    // that SQLite calls corrupt or not a database is created anew with a
    // message; a tblChannel of another shape is dropped and made again,
    // keeping the file's other tables. False, after a message, only when no
    // usable file can be had; the cells then live in memory alone.
    bool open(const QString& path, Prompter& prompter);
    bool isOpen() const { return open_; }
    QString path() const { return path_; }
    QString lastError() const { return lastError_; }

    // ChannelGrid: column 0 is the channel number and cannot be written.
    QString cellText(int column, int row) const override;
    void setCellText(int column, int row, const QString& text) override;

    // Writes between beginBatch() and the matching endBatch() go to the file
    // in one transaction and are announced with one dataChanged. Nests.
    void beginBatch();
    void endBatch();
    class Batch {
    public:
        explicit Batch(ChannelTable& t) : t_(t) { t_.beginBatch(); }
        ~Batch() { t_.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ChannelTable& t_;
    };

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // Misshapen: a tblChannel other than ours (columns, key, channel numbers,
    // rows), rebuilt in place; Damaged: a file SQLite cannot read, replaced.
    enum class Shape { Usable, Missing, Misshapen, Damaged, Unavailable };

    bool openConnection(const QString& path);
    void closeConnection();
    bool fail(Prompter& prompter, const QString& why);
    Shape inspect();  // also loads the rows when they are usable
    bool create(bool replacing);
    bool removeFiles();
    bool writeThrough(int column, int row, const QString& text);
    bool exec(const QString& sql);
    void noteChanged(int column, int row);

    static bool validCell(int column, int row) {
        return column >= 0 && column < kColumns && row >= 0 && row < kRows;
    }

    QString connection_;
    QString path_;
    QString lastError_;
    bool open_ = false;
    int batchDepth_ = 0;
    int dirtyTop_ = kRows, dirtyBottom_ = -1, dirtyLeft_ = kColumns, dirtyRight_ = -1;
    std::array<std::array<QString, kColumns>, kRows> cells_;
};

}  // namespace tav
