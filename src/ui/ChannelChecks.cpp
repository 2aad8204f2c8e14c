#include "ui/ChannelChecks.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyle>

namespace tav {

namespace {

// Captions from top to bottom, and the check column each one names.
struct Caption {
    const char* name;
    const char* text;
    int column;
};
constexpr Caption kCaptions[] = {
    {"lblLoPower", "Low Power", 2}, {"lblNarr", "Narrow Band", 1}, {"lblScan", "SCAN List", 0}};

CheckColumn makeColumn(QWidget* parent, const QString& name) {
    CheckColumn col{};
    for (int i = 0; i < kChannelsPerGroup; ++i) {
        col[i] = new QCheckBox(parent);
        col[i]->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        col[i]->setAccessibleName(QStringLiteral("%1 %2").arg(name).arg(i + 1));
    }
    return col;
}

}  // namespace

ChannelChecks::ChannelChecks(QTableView* view, QWidget* parent) : QWidget(parent), view_(view) {
    chkScan = makeColumn(this, QStringLiteral("chkScan"));
    chkNarr = makeColumn(this, QStringLiteral("chkNarr"));
    chkLoPower = makeColumn(this, QStringLiteral("chkLoPower"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

int ChannelChecks::pitch() const {
    const int box = chkScan[0]->sizeHint().width();
    return box + style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) + 4;
}

int ChannelChecks::columnCentre(int column) const {
    const int box = chkScan[0]->sizeHint().width();
    return 6 + column * pitch() + box / 2;
}

QSize ChannelChecks::sizeHint() const {
    const int box = chkScan[0]->sizeHint().width();
    return {12 + 2 * pitch() + box, view_ ? view_->height() : 100};
}

void ChannelChecks::paintEvent(QPaintEvent*) {
    // Carry the legend's lines down to the first box of each column.
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const int firstTop = chkScan[0]->geometry().top();
    for (int c = 0; c < 3; ++c) p.drawLine(columnCentre(c), 0, columnCentre(c), firstTop);
}

void ChannelChecks::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    alignToRows();
}

void ChannelChecks::alignToRows() {
    if (!view_ || !window()) return;
    const std::array<const CheckColumn*, 3> columns{&chkScan, &chkNarr, &chkLoPower};
    for (int row = 0; row < kChannelsPerGroup; ++row) {
        // The row's centre in the view, carried over into this widget.
        const int y = view_->rowViewportPosition(row) + view_->rowHeight(row) / 2;
        const QPoint inWindow = view_->viewport()->mapTo(window(), QPoint(0, y));
        const int centreY = mapFrom(window(), inWindow).y();
        for (int c = 0; c < 3; ++c) {
            QCheckBox* box = (*columns[c])[row];
            const QSize s = box->sizeHint();
            box->setGeometry(columnCentre(c) - s.width() / 2, centreY - s.height() / 2, s.width(),
                             s.height());
        }
    }
}

ChannelChecksLegend::ChannelChecksLegend(ChannelChecks* checks, QWidget* parent)
    : QWidget(parent), checks_(checks) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const Caption& c : kCaptions) {
        // Kept as named, invisible objects so that the captions can be found
        // by name like every other control; the legend paints them.
        auto* holder = new QObject(this);
        holder->setObjectName(QLatin1String(c.name));
        holder->setProperty("text", QLatin1String(c.text));
    }
}

QSize ChannelChecksLegend::sizeHint() const {
    const QFontMetrics fm(font());
    int text = 0;
    for (const Caption& c : kCaptions) text = std::max(text, fm.horizontalAdvance(c.text));
    const int columns = checks_ ? checks_->sizeHint().width() : 60;
    return {text + 10 + columns, 3 * fm.lineSpacing() + 6};
}

void ChannelChecksLegend::paintEvent(QPaintEvent*) {
    if (!checks_) return;
    QPainter p(this);
    const QFontMetrics fm(font());
    p.setPen(palette().color(QPalette::WindowText));
    // The columns sit at the right end of the legend, under its last pixels.
    const int columnsLeft = width() - checks_->width();
    const int textRight = columnsLeft + checks_->columnCentre(0) - 8;
    for (int i = 0; i < 3; ++i) {
        const Caption& c = kCaptions[i];
        const int baseline = 2 + i * fm.lineSpacing() + fm.ascent();
        const QString text = QLatin1String(c.text);
        const int textLeft = textRight - fm.horizontalAdvance(text);
        p.drawText(textLeft, baseline, text);
        const int lineY = baseline - fm.ascent() / 2 + 1;
        const int x = columnsLeft + checks_->columnCentre(c.column);
        p.drawLine(textRight + 3, lineY, x, lineY);
        p.drawLine(x, lineY, x, height());
    }
}

}  // namespace tav
