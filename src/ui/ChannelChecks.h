#pragma once
// The three per-channel check-box columns beside the grid ("SCAN List",
// "Narrow Band", "Low Power"), each box level with its grid row whatever the
// font or screen scale, and the captions above them joined to their columns
// by thin lines.

#include <QCheckBox>
#include <QPointer>
#include <QTableView>
#include <QWidget>
#include <array>

#include "model/AppState.h"

namespace tav {

using CheckColumn = std::array<QCheckBox*, kChannelsPerGroup>;

class ChannelChecks : public QWidget {
    Q_OBJECT

public:
    ChannelChecks(QTableView* view, QWidget* parent = nullptr);
    CheckColumn chkScan{}, chkNarr{}, chkLoPower{};
    // Horizontal centre of column 0 (scan), 1 (narrow) or 2 (low power).
    int columnCentre(int column) const;
    QSize sizeHint() const override;

public slots:
    // Places every box on its row of the view.
    void alignToRows();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    int pitch() const;
    QPointer<QTableView> view_;
};

class ChannelChecksLegend : public QWidget {
    Q_OBJECT

public:
    ChannelChecksLegend(ChannelChecks* checks, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPointer<ChannelChecks> checks_;
};

}  // namespace tav
