// The main window's widgets: the group fields along the top, the grid with
// its check-box columns, the frames of the right-hand column and the
// backlight frame.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>
#include <vector>

#include "model/ControlLists.h"
#include "model/EntryRules.h"
#include "model/GridText.h"
#include "model/HexDigitValidator.h"
#include "store/ChannelTable.h"
#include "ui/frmGroups.h"
#include "ui/frmProc.h"

namespace tav {

namespace {

QComboBox* makeList(QWidget* parent, const QString& name, const QStringList& entries) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(entries);
    c->setMaxVisibleItems(16);
    return c;
}

template <typename T>
T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& title) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(name);
    return f;
}

// Tab visits the widgets in the order given.
void chainTabOrder(const std::vector<QWidget*>& order) {
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

}  // namespace

void frmGroups::buildWidgets() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    Grid = named(new ChannelGridView(*this, central), QStringLiteral("Grid"));
    QAbstractItemModel* table = services_.channelTable;
    if (!table) {
        auto* own = new ChannelTable(this);
        own->open(ChannelTable::defaultPath(), services_.prompter);
        table = own;
    }
    if (!table->QObject::parent()) table->setParent(this);
    table_ = qobject_cast<ChannelTable*>(table);
    auto* captions = new GridCaptions(this);
    captions->setSourceModel(table);
    Grid->setModel(captions);
    checks = new ChannelChecks(Grid, central);
    checks->setObjectName(QStringLiteral("checks"));
    chkScan = checks->chkScan;
    chkNarr = checks->chkNarr;
    chkLoPower = checks->chkLoPower;
    connect(Grid, &ChannelGridView::geometryChangedForRows, checks, &ChannelChecks::alignToRows);

    Prog1 = named(new QProgressBar(central), QStringLiteral("Prog1"));
    Prog1->setTextVisible(false);
    Prog1->setFixedHeight(std::max(12, fontMetrics().height() - 2));
    QSizePolicy keep = Prog1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Prog1->setSizePolicy(keep);
    Prog1->hide();

    auto* gridRow = new QHBoxLayout;
    gridRow->setSpacing(0);
    gridRow->addWidget(Grid, 1);
    gridRow->addWidget(checks);

    auto* topRight = new QVBoxLayout;
    topRight->setSpacing(2);
    chkAlphaEnabled = named(new QCheckBox(QStringLiteral("Alpha Enabled"), central),
                            QStringLiteral("chkAlphaEnabled"));
    topRight->addWidget(chkAlphaEnabled, 0, Qt::AlignRight);
    topRight->addStretch(1);
    topRight->addWidget(new ChannelChecksLegend(checks, central), 0, Qt::AlignRight);

    auto* topRow = new QHBoxLayout;
    topRow->addWidget(buildTopFields());
    topRow->addStretch(1);
    topRow->addLayout(topRight);

    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    left->addLayout(topRow);
    left->addLayout(gridRow);
    left->addWidget(Prog1);
    left->addWidget(buildBacklight(central), 0, Qt::AlignRight);
    left->addStretch(1);

    auto* outer = new QHBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(10);
    outer->addLayout(left, 1);
    outer->addWidget(buildRightColumn(), 0, Qt::AlignTop);

    // The status bar is there from the start: the first refusal it explains
    // must not shift the window's layout.
    statusBar();
    procDialog = new frmProc(this, services_.prompter);
    // Stays in the status bar while the shown group is one the radio holds no
    // channels for; the bar's message area is left to passing notes.
    lblChannelHolding = named(new QLabel(this), QStringLiteral("lblChannelHolding"));
    lblChannelHolding->hide();
    statusBar()->addPermanentWidget(lblChannelHolding);
    Grid->fitRows();
    const QFontMetrics fm(Grid->font());
    const int freqWidth = fm.horizontalAdvance(QStringLiteral("000.00000")) + 16;
    Grid->setColumnWidth(grid::Chan, fm.horizontalAdvance(QStringLiteral("Chan")) + 16);
    Grid->setColumnWidth(grid::RecFreq, freqWidth);
    Grid->setColumnWidth(grid::TxFreq, freqWidth);
    Grid->setColumnWidth(grid::RecCG, fm.horizontalAdvance(QStringLiteral("D000-")) + 22);
    Grid->setColumnWidth(grid::TxCG, fm.horizontalAdvance(QStringLiteral("D000-")) + 22);
    Grid->horizontalHeader()->setStretchLastSection(true);
    int wanted = 2 * Grid->frameWidth() + fm.horizontalAdvance(QStringLiteral("MMMMMMMM"));
    for (int c = 0; c < grid::ChLabel; ++c) wanted += Grid->columnWidth(c);
    Grid->setMinimumWidth(wanted);
    orderTabStops();
}

void frmGroups::orderTabStops() {
    // As the window reads: the group fields, the grid, the check-box columns
    // beside it and the backlight frame below them, then the right-hand frames
    // from the top. Disabled check boxes and the hidden one of ANI/DTMF and
    // offset entry are passed over.
    std::vector<QWidget*> order{cboCurrentGroup, txtGroupLabel,   txtID, cboScan,
                                cboTOT,          chkAlphaEnabled, Grid};
    for (const CheckColumn* column : {&chkScan, &chkNarr, &chkLoPower})
        order.insert(order.end(), column->begin(), column->end());
    order.insert(
        order.end(),
        {cboBlTimeout,   chkBlKeypress, chkBlOther, chkBlChannel, chkBLScanState, priModeA,
         PriModeB,       PriModeC,      PriModeD,   cboPri1Chan,  optBattSaveOff, optBattSaveOn,
         optUCGDisabled, optUCGEnabled, cboUCGChan, chkUCGEncode, chkPriKeyLock,  chkENTCLRLock,
         cboBCI,         cboANI,        txtOffset});
    chainTabOrder(order);
}

QWidget* frmGroups::buildTopFields() {
    auto* box = new QWidget(centralWidget());
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);

    cboCurrentGroup = makeList(box, QStringLiteral("cboCurrentGroup"), [] {
        QStringList l;
        for (int i = 1; i <= kGroupCount; ++i) l << QString::number(i);
        return l;
    }());
    cboCurrentGroup->setEditable(true);
    cboCurrentGroup->setInsertPolicy(QComboBox::NoInsert);
    cboCurrentGroup->setCompleter(nullptr);
    // The combo box has the focus and hands keys to its line edit directly,
    // past that one's event filters.
    cboCurrentGroup->installEventFilter(this);
    connect(cboCurrentGroup, &QComboBox::currentIndexChanged, this,
            &frmGroups::cboCurrentGroup_Click);

    txtGroupLabel = named(new QLineEdit(box), QStringLiteral("txtGroupLabel"));
    txtGroupLabel->setMaxLength(16);  // eight cells, each with a "." after it
    txtGroupLabel->setValidator(new EntryValidator(
        CheckLabelEntry, txtGroupLabel, [this](const QString& typed, const QString& why) {
            refuseEntry(QStringLiteral("Group Label"), typed, why);
        }));
    connect(txtGroupLabel, &QLineEdit::textEdited, this, &frmGroups::entryAccepted);
    txtID = named(new QLineEdit(box), QStringLiteral("txtID"));
    txtID->setMaxLength(7);
    txtID->setValidator(
        new HexDigitValidator(7, txtID, [this](const QString& typed, const QString& why) {
            refuseEntry(QStringLiteral("ANI/ID Number"), typed, why);
        }));
    connect(txtID, &QLineEdit::textEdited, this, &frmGroups::entryAccepted);
    const QFontMetrics fm(font());
    txtID->setFixedWidth(fm.horizontalAdvance(QStringLiteral("DDDDDDDD")) + 12);
    txtGroupLabel->setFixedWidth(fm.horizontalAdvance(QStringLiteral("GROUP 15W")) + 12);
    cboScan = makeList(box, QStringLiteral("cboScan"), lists::scanHoldTimes());
    cboTOT = makeList(box, QStringLiteral("cboTOT"), lists::timeOutTimes());

    g->addWidget(
        makeLabel(box, QStringLiteral("lblCurrentGroup"), QStringLiteral("Current Group:")), 0, 0);
    g->addWidget(cboCurrentGroup, 0, 1);
    g->addWidget(makeLabel(box, QStringLiteral("lblGroupLabel"), QStringLiteral("Group Label")), 1,
                 0);
    g->addWidget(txtGroupLabel, 1, 1);
    g->setColumnMinimumWidth(2, 10);
    g->addWidget(makeLabel(box, QStringLiteral("lblANI"), QStringLiteral("ANI/ID Number:")), 0, 3);
    g->addWidget(txtID, 0, 4);
    g->addWidget(makeLabel(box, QStringLiteral("lblScanHold"), QStringLiteral("Scan Hold Time:")),
                 1, 3);
    g->addWidget(cboScan, 1, 4);
    g->addWidget(makeLabel(box, QStringLiteral("lblTOT"), QStringLiteral("Tx Time Out Timer:")), 2,
                 3);
    g->addWidget(cboTOT, 2, 4);
    for (QWidget* w : {static_cast<QWidget*>(cboCurrentGroup), static_cast<QWidget*>(cboScan),
                       static_cast<QWidget*>(cboTOT)})
        w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cboCurrentGroup->setFixedWidth(txtGroupLabel->width());
    cboScan->setFixedWidth(txtID->width());
    cboTOT->setFixedWidth(txtID->width());
    return box;
}

QWidget* frmGroups::buildRightColumn() {
    auto* column = new QWidget(centralWidget());
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);

    fraDualPri = makeFrame(column, QStringLiteral("fraDualPri"), QStringLiteral("Priority"));
    fraPriMode = makeFrame(fraDualPri, QStringLiteral("fraPriMode"), QStringLiteral("Mode"));
    priModeA = named(new QRadioButton(QStringLiteral("A"), fraPriMode), QStringLiteral("priModeA"));
    PriModeB = named(new QRadioButton(QStringLiteral("B"), fraPriMode), QStringLiteral("PriModeB"));
    PriModeC = named(new QRadioButton(QStringLiteral("C"), fraPriMode), QStringLiteral("PriModeC"));
    PriModeD = named(new QRadioButton(QStringLiteral("D"), fraPriMode), QStringLiteral("PriModeD"));
    auto* modes = new QGridLayout(fraPriMode);
    modes->addWidget(priModeA, 0, 0);
    modes->addWidget(PriModeB, 0, 1);
    modes->addWidget(PriModeC, 1, 0);
    modes->addWidget(PriModeD, 1, 1);
    cboPri1Chan = makeList(fraDualPri, QStringLiteral("cboPri1Chan"), lists::priorityChannels());
    auto* pri = new QGridLayout(fraDualPri);
    pri->addWidget(fraPriMode, 0, 0, 2, 1);
    auto* chanLabel = new QLabel(QStringLiteral("Channel"), fraDualPri);
    chanLabel->setObjectName(QStringLiteral("lblPri1Chan"));
    pri->addWidget(chanLabel, 0, 1, Qt::AlignBottom);
    pri->addWidget(cboPri1Chan, 1, 1, Qt::AlignTop);

    fraBattSave = makeFrame(column, QStringLiteral("fraBattSave"), QStringLiteral("Battery Saver"));
    optBattSaveOff = named(new QRadioButton(QStringLiteral("Off"), fraBattSave),
                           QStringLiteral("optBattSaveOff"));
    optBattSaveOn =
        named(new QRadioButton(QStringLiteral("On"), fraBattSave), QStringLiteral("optBattSaveOn"));
    auto* batt = new QHBoxLayout(fraBattSave);
    batt->addWidget(optBattSaveOff);
    batt->addWidget(optBattSaveOn);
    batt->addStretch(1);

    fraUCG = makeFrame(column, QStringLiteral("fraUCG"), QStringLiteral("User Code Guard"));
    optUCGDisabled = named(new QRadioButton(QStringLiteral("Disabled"), fraUCG),
                           QStringLiteral("optUCGDisabled"));
    optUCGEnabled =
        named(new QRadioButton(QStringLiteral("Enabled"), fraUCG), QStringLiteral("optUCGEnabled"));
    cboUCGChan = makeList(fraUCG, QStringLiteral("cboUCGChan"), lists::ucgChannels());
    chkUCGEncode =
        named(new QCheckBox(QStringLiteral("Encode Only"), fraUCG), QStringLiteral("chkUCGEncode"));
    auto* ucg = new QGridLayout(fraUCG);
    ucg->addWidget(optUCGDisabled, 0, 0, 1, 2);
    ucg->addWidget(optUCGEnabled, 0, 2);
    ucg->addWidget(makeLabel(fraUCG, QStringLiteral("lblUCGChan"), QStringLiteral("Chan:")), 1, 0);
    ucg->addWidget(cboUCGChan, 1, 1);
    ucg->addWidget(chkUCGEncode, 1, 2);

    fraLockout =
        makeFrame(column, QStringLiteral("fraLockout"), QStringLiteral("Keyboard Lockouts"));
    chkPriKeyLock = named(new QCheckBox(QStringLiteral("Priority Key Lockout"), fraLockout),
                          QStringLiteral("chkPriKeyLock"));
    chkENTCLRLock = named(new QCheckBox(QStringLiteral("'ENT'/'CLR' Key Lockout"), fraLockout),
                          QStringLiteral("chkENTCLRLock"));
    auto* lock = new QVBoxLayout(fraLockout);
    lock->addWidget(chkPriKeyLock);
    lock->addWidget(chkENTCLRLock);

    fraBCI = makeFrame(column, QStringLiteral("fraBCI"), QStringLiteral("Busy Channel Indicator"));
    cboBCI = makeList(fraBCI, QStringLiteral("cboBCI"), lists::busyChannel());
    (new QVBoxLayout(fraBCI))->addWidget(cboBCI);

    fraANI = makeFrame(column, QStringLiteral("fraANI"), QStringLiteral("Resident ANI/DTMF"));
    cboANI = makeList(fraANI, QStringLiteral("cboANI"), lists::aniDtmf());
    (new QVBoxLayout(fraANI))->addWidget(cboANI);

    // The offset entry takes the place of the ANI/DTMF frame while it is open.
    frmOffset = makeFrame(column, QStringLiteral("frmOffset"), QStringLiteral("Offset"));
    txtOffset = named(new QLineEdit(frmOffset), QStringLiteral("txtOffset"));
    txtOffset->installEventFilter(this);
    (new QVBoxLayout(frmOffset))->addWidget(txtOffset);
    aniOrOffset_ = new QStackedWidget(column);
    aniOrOffset_->addWidget(fraANI);
    aniOrOffset_->addWidget(frmOffset);
    aniOrOffset_->setCurrentWidget(fraANI);
    aniOrOffset_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    for (QWidget* w : std::initializer_list<QWidget*>{fraDualPri, fraBattSave, fraUCG, fraLockout,
                                                      fraBCI, aniOrOffset_})
        v->addWidget(w);
    v->addStretch(1);
    column->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return column;
}

QGroupBox* frmGroups::buildBacklight(QWidget* parent) {
    Backlight =
        makeFrame(parent, QStringLiteral("Backlight"), QStringLiteral("Alpha Display Backlight"));
    cboBlTimeout = makeList(Backlight, QStringLiteral("cboBlTimeout"), lists::backlightTimeouts());
    chkBlKeypress = named(new QCheckBox(QStringLiteral("Keypress"), Backlight),
                          QStringLiteral("chkBlKeypress"));
    chkBlOther = named(new QCheckBox(QStringLiteral("Other Display"), Backlight),
                       QStringLiteral("chkBlOther"));
    chkBlChannel = named(new QCheckBox(QStringLiteral("Channel Change"), Backlight),
                         QStringLiteral("chkBlChannel"));
    chkBLScanState = named(new QCheckBox(QStringLiteral("Scan State Change"), Backlight),
                           QStringLiteral("chkBLScanState"));
    auto* bl = new QGridLayout(Backlight);
    auto* timeout = new QHBoxLayout;
    timeout->addWidget(
        makeLabel(Backlight, QStringLiteral("lblBlTimeout"), QStringLiteral("Timeout")));
    timeout->addWidget(cboBlTimeout);
    timeout->addStretch(1);
    bl->addLayout(timeout, 0, 0, 1, 2);
    bl->addWidget(chkBlKeypress, 1, 0);
    bl->addWidget(chkBlOther, 1, 1);
    bl->addWidget(chkBlChannel, 2, 0);
    bl->addWidget(chkBLScanState, 2, 1);

    return Backlight;
}

}  // namespace tav
