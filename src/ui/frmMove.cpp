#include "ui/frmMove.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "store/clsMoves.h"
#include "ui/WindowPlacement.h"

namespace tav {

namespace {

// Positions and sizes in twips, as the dialog was drawn.
struct TwipRect {
    int left, top, width, height;
};
constexpr int kClientWidth = 3195, kClientHeight = 1815;
constexpr TwipRect kFromLabel{240, 240, 1095, 375}, kFromList{1560, 240, 1335, 375};
constexpr TwipRect kToLabel{240, 720, 1095, 375}, kToList{1560, 720, 1335, 375};
constexpr TwipRect kOk{1560, 1320, 1335, 375};

QComboBox* bankList(QWidget* parent, const char* name, const QString& initial) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    // Typed numbers are read, never added to the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    for (int n = 1; n <= kGroupCount; ++n) box->addItem(QString::number(n));
    box->setEditText(initial);
    return box;
}

// A typed number that names no group: not 0 (no number at all means no
// move) and not 1 to 15.
bool outOfRange(int16_t n) {
    return n != 0 && !clsMoves::isGroupNumber(n);
}

}  // namespace

frmMove::frmMove(AppState& state, Prompter& prompter, std::function<void()> storeShown,
                 std::function<void()> redisplay, QWidget* parent)
    : QDialog(parent),
      state_(state),
      prompter_(prompter),
      storeShown_(std::move(storeShown)),
      redisplay_(std::move(redisplay)) {
    setObjectName(QStringLiteral("frmMove"));
    setWindowTitle(QStringLiteral("Move Banks"));
    buildControls();
    connect(btnMoveOK, &QPushButton::clicked, this, &frmMove::btnMoveOK_Click);
}

void frmMove::buildControls() {
    const double dpi = logicalDpiX();
    const auto place = [dpi](QWidget* w, const TwipRect& r) {
        w->setGeometry(twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi),
                       twipsToPixels(r.width, dpi), twipsToPixels(r.height, dpi));
    };
    lblFromBank = new QLabel(QStringLiteral("From Bank"), this);
    lblFromBank->setObjectName(QStringLiteral("lblFromBank"));
    cboFromBank = bankList(this, "cboFromBank", QStringLiteral("15"));
    lblToBank = new QLabel(QStringLiteral("To Bank"), this);
    lblToBank->setObjectName(QStringLiteral("lblToBank"));
    cboToBank = bankList(this, "cboToBank", QStringLiteral("1"));
    btnMoveOK = new QPushButton(QStringLiteral("OK"), this);
    btnMoveOK->setObjectName(QStringLiteral("btnMoveOK"));
    btnMoveOK->setDefault(true);
    lblFromBank->setBuddy(cboFromBank);
    lblToBank->setBuddy(cboToBank);

    place(lblFromBank, kFromLabel);
    place(cboFromBank, kFromList);
    place(lblToBank, kToLabel);
    place(cboToBank, kToList);
    place(btnMoveOK, kOk);
    // Lists and the button are as tall as they need to be, centred on the
    // drawn row, so no style's frame is cut off.
    for (QWidget* w : {static_cast<QWidget*>(cboFromBank), static_cast<QWidget*>(cboToBank),
                       static_cast<QWidget*>(btnMoveOK)}) {
        const QRect r = w->geometry();
        const int h = std::max(r.height(), w->sizeHint().height());
        w->setGeometry(r.x(), r.center().y() - h / 2 + 1, r.width(), h);
    }
    for (QLabel* l : {lblFromBank, lblToBank}) {
        const QWidget* list = l->buddy();
        l->setGeometry(l->x(), list->y(), l->width(), list->height());
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    setFixedSize(twipsToPixels(kClientWidth, dpi), twipsToPixels(kClientHeight, dpi));
    setTabOrder(cboFromBank, cboToBank);
    setTabOrder(cboToBank, btnMoveOK);
}

void frmMove::showCentred() {
    if (isVisible()) return;
    CentreOnScreen(*this);
    exec();
}

void frmMove::btnMoveOK_Click() {
    const int16_t from = BankNumberFromText(cboFromBank->currentText());
    const int16_t to = BankNumberFromText(cboToBank->currentText());
    if (outOfRange(from) || outOfRange(to)) {
        // Stays open with the texts as typed, so the number can be put right.
        const int16_t bad = outOfRange(from) ? from : to;
        prompter_.show(
            QStringLiteral("There is no bank %1. Bank numbers run from 1 to 15.").arg(bad),
            QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    // The shown group is redisplayed from the image whatever happens: what
    // was typed into it goes into the image first, and moves with it.
    if (storeShown_) storeShown_();
    // No number in either box (0) means no move; the same bank twice moves nothing.
    if (from > 0 && to > 0 && from != to) clsMoves(state_).moveGroups(from, to);
    hide();
    if (redisplay_) redisplay_();
}

}  // namespace tav
