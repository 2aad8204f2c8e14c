#include "model/MemoryGrid.h"

namespace tav {

bool MemoryGrid::inside(int column, int row) {
    return column >= 0 && column < kColumns && row >= 0 && row < kRows;
}

QString MemoryGrid::cellText(int column, int row) const {
    return inside(column, row) ? cells_[std::size_t(row)][std::size_t(column)] : QString();
}

void MemoryGrid::setCellText(int column, int row, const QString& text) {
    if (inside(column, row)) cells_[std::size_t(row)][std::size_t(column)] = text;
}

void MemoryGrid::setCurrentCell(int column, int row) {
    currentColumn_ = column;
    currentRow_ = row;
}

void MemoryGrid::clear() {
    for (auto& row : cells_) row.fill(QString());
    currentColumn_ = currentRow_ = -1;
}

}  // namespace tav
