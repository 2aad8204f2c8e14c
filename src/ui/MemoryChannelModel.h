#pragma once
// A channel table held in memory: 14 rows of six texts, the channel number
// in column 0 fixed at 1 to 14.

#include <QAbstractTableModel>
#include <array>

#include "ui/GridText.h"

namespace tav {

class MemoryChannelModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit MemoryChannelModel(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::array<std::array<QString, grid::kColumns>, grid::kRows> cells_;
};

}  // namespace tav
