#include "ui/MemoryChannelModel.h"

namespace tav {

MemoryChannelModel::MemoryChannelModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int r = 0; r < grid::kRows; ++r) cells_[r][grid::Chan] = QString::number(r + 1);
}

int MemoryChannelModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid::kRows;
}

int MemoryChannelModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid::kColumns;
}

QVariant MemoryChannelModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return cells_[index.row()][index.column()];
}

bool MemoryChannelModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == grid::Chan) return false;
    QString& cell = cells_[index.row()][index.column()];
    const QString text = value.toString();
    if (cell != text) {
        cell = text;
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
    return true;
}

Qt::ItemFlags MemoryChannelModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() != grid::Chan) f |= Qt::ItemIsEditable;
    return f;
}

}  // namespace tav
