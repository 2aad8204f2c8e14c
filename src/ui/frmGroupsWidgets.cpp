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
#include "ui/FieldBinding.h"
#include "ui/frmGroups.h"
#include "ui/frmProc.h"

namespace tav {

namespace {

QComboBox* makeList(QWidget* parent, const QString& name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
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
    GroupFields = new FieldBindings(FieldScope::Group, this);

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
    chkAlphaEnabled = named(checkBox(central, "alpha_enabled"), QStringLiteral("chkAlphaEnabled"));
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

void frmGroups::watchFieldEdits() {
    // Signals of the user's own edits only: what the window sets itself
    // (showing a group) is no edit.
    const auto edited = [this] { emit fieldEdited(); };
    for (QComboBox* list : {cboScan, cboTOT, cboPri1Chan, cboUCGChan, cboBCI, cboANI, cboBlTimeout})
        connect(list, &QComboBox::activated, this, edited);
    for (QLineEdit* box : {txtID, txtGroupLabel}) {
        connect(box, &QLineEdit::editingFinished, this, edited);
        // Marked at the first key; whether it is a change shows when it is taken.
        connect(box, &QLineEdit::textEdited, this, [this] { setWindowModified(true); });
    }
    for (QAbstractButton* button : centralWidget()->findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::clicked, this, edited);
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

QComboBox* frmGroups::fieldList(QWidget* parent, const QString& name, const char* key) {
    return GroupFields->list(makeList(parent, name), key);
}

QCheckBox* frmGroups::checkBox(QWidget* parent, const char* key) {
    return GroupFields->check(new QCheckBox(GroupFields->caption(key), parent), key);
}

QWidget* frmGroups::buildTopFields() {
    auto* box = new QWidget(centralWidget());
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);

    cboCurrentGroup = makeList(box, QStringLiteral("cboCurrentGroup"));
    for (int g = 0; g < kGroupCount; ++g)
        cboCurrentGroup->addItem(QString::number(GroupNumber::toUser(g)));
    cboCurrentGroup->setEditable(true);
    cboCurrentGroup->setInsertPolicy(QComboBox::NoInsert);
    cboCurrentGroup->setCompleter(nullptr);
    // The combo box has the focus and hands keys to its line edit directly,
    // past that one's event filters.
    cboCurrentGroup->installEventFilter(this);
    connect(cboCurrentGroup, &QComboBox::currentIndexChanged, this,
            &frmGroups::cboCurrentGroup_Click);

    const auto refused = [this](const QString& caption, const QString& typed, const QString& why) {
        refuseEntry(caption, typed, why);
    };
    txtGroupLabel = named(GroupFields->text(new QLineEdit(box), "label", refused),
                          QStringLiteral("txtGroupLabel"));
    connect(txtGroupLabel, &QLineEdit::textEdited, this, &frmGroups::entryAccepted);
    txtID =
        named(GroupFields->text(new QLineEdit(box), "ani_id", refused), QStringLiteral("txtID"));
    connect(txtID, &QLineEdit::textEdited, this, &frmGroups::entryAccepted);
    const QFontMetrics fm(font());
    txtID->setFixedWidth(fm.horizontalAdvance(QStringLiteral("DDDDDDDD")) + 12);
    txtGroupLabel->setFixedWidth(fm.horizontalAdvance(QStringLiteral("GROUP 15W")) + 12);
    cboScan = fieldList(box, QStringLiteral("cboScan"), "scan_hold_time");
    cboTOT = fieldList(box, QStringLiteral("cboTOT"), "time_out_timer");

    g->addWidget(
        makeLabel(box, QStringLiteral("lblCurrentGroup"), QStringLiteral("Current Group:")), 0, 0);
    g->addWidget(cboCurrentGroup, 0, 1);
    g->addWidget(makeLabel(box, QStringLiteral("lblGroupLabel"), GroupFields->caption("label")), 1,
                 0);
    g->addWidget(txtGroupLabel, 1, 1);
    g->setColumnMinimumWidth(2, 10);
    g->addWidget(makeLabel(box, QStringLiteral("lblANI"), GroupFields->caption("ani_id")), 0, 3);
    g->addWidget(txtID, 0, 4);
    g->addWidget(
        makeLabel(box, QStringLiteral("lblScanHold"), GroupFields->caption("scan_hold_time")), 1,
        3);
    g->addWidget(cboScan, 1, 4);
    g->addWidget(makeLabel(box, QStringLiteral("lblTOT"), GroupFields->caption("time_out_timer")),
                 2, 3);
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
    fraPriMode =
        makeFrame(fraDualPri, QStringLiteral("fraPriMode"), GroupFields->caption("priority_mode"));
    priModeA = named(new QRadioButton(fraPriMode), QStringLiteral("priModeA"));
    PriModeB = named(new QRadioButton(fraPriMode), QStringLiteral("PriModeB"));
    PriModeC = named(new QRadioButton(fraPriMode), QStringLiteral("PriModeC"));
    PriModeD = named(new QRadioButton(fraPriMode), QStringLiteral("PriModeD"));
    GroupFields->options("priority_mode", {priModeA, PriModeD, PriModeB, PriModeC});
    auto* modes = new QGridLayout(fraPriMode);
    modes->addWidget(priModeA, 0, 0);
    modes->addWidget(PriModeB, 0, 1);
    modes->addWidget(PriModeC, 1, 0);
    modes->addWidget(PriModeD, 1, 1);
    cboPri1Chan = fieldList(fraDualPri, QStringLiteral("cboPri1Chan"), "priority_channel");
    auto* pri = new QGridLayout(fraDualPri);
    pri->addWidget(fraPriMode, 0, 0, 2, 1);
    auto* chanLabel = new QLabel(GroupFields->caption("priority_channel"), fraDualPri);
    chanLabel->setObjectName(QStringLiteral("lblPri1Chan"));
    pri->addWidget(chanLabel, 0, 1, Qt::AlignBottom);
    pri->addWidget(cboPri1Chan, 1, 1, Qt::AlignTop);

    fraBattSave =
        makeFrame(column, QStringLiteral("fraBattSave"), GroupFields->caption("battery_saver"));
    optBattSaveOff = named(new QRadioButton(fraBattSave), QStringLiteral("optBattSaveOff"));
    optBattSaveOn = named(new QRadioButton(fraBattSave), QStringLiteral("optBattSaveOn"));
    GroupFields->options("battery_saver", {optBattSaveOn, optBattSaveOff});
    auto* batt = new QHBoxLayout(fraBattSave);
    batt->addWidget(optBattSaveOff);
    batt->addWidget(optBattSaveOn);
    batt->addStretch(1);

    fraUCG = makeFrame(column, QStringLiteral("fraUCG"), GroupFields->caption("user_code_guard"));
    optUCGDisabled = named(new QRadioButton(fraUCG), QStringLiteral("optUCGDisabled"));
    optUCGEnabled = named(new QRadioButton(fraUCG), QStringLiteral("optUCGEnabled"));
    GroupFields->options("user_code_guard", {optUCGDisabled, optUCGEnabled});
    cboUCGChan = fieldList(fraUCG, QStringLiteral("cboUCGChan"), "ucg_channel");
    chkUCGEncode = named(checkBox(fraUCG, "ucg_encode_only"), QStringLiteral("chkUCGEncode"));
    auto* ucg = new QGridLayout(fraUCG);
    ucg->addWidget(optUCGDisabled, 0, 0, 1, 2);
    ucg->addWidget(optUCGEnabled, 0, 2);
    ucg->addWidget(
        makeLabel(fraUCG, QStringLiteral("lblUCGChan"), GroupFields->caption("ucg_channel")), 1, 0);
    ucg->addWidget(cboUCGChan, 1, 1);
    ucg->addWidget(chkUCGEncode, 1, 2);

    fraLockout =
        makeFrame(column, QStringLiteral("fraLockout"), QStringLiteral("Keyboard Lockouts"));
    chkPriKeyLock =
        named(checkBox(fraLockout, "priority_key_lockout"), QStringLiteral("chkPriKeyLock"));
    chkENTCLRLock =
        named(checkBox(fraLockout, "ent_clr_key_lockout"), QStringLiteral("chkENTCLRLock"));
    auto* lock = new QVBoxLayout(fraLockout);
    lock->addWidget(chkPriKeyLock);
    lock->addWidget(chkENTCLRLock);

    fraBCI =
        makeFrame(column, QStringLiteral("fraBCI"), GroupFields->caption("busy_channel_indicator"));
    cboBCI = fieldList(fraBCI, QStringLiteral("cboBCI"), "busy_channel_indicator");
    (new QVBoxLayout(fraBCI))->addWidget(cboBCI);

    fraANI = makeFrame(column, QStringLiteral("fraANI"), GroupFields->caption("resident_ani_dtmf"));
    cboANI = fieldList(fraANI, QStringLiteral("cboANI"), "resident_ani_dtmf");
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
    cboBlTimeout = fieldList(Backlight, QStringLiteral("cboBlTimeout"), "backlight_timeout");
    chkBlKeypress =
        named(checkBox(Backlight, "backlight_keypress"), QStringLiteral("chkBlKeypress"));
    chkBlOther =
        named(checkBox(Backlight, "backlight_other_display"), QStringLiteral("chkBlOther"));
    chkBlChannel =
        named(checkBox(Backlight, "backlight_channel_change"), QStringLiteral("chkBlChannel"));
    chkBLScanState =
        named(checkBox(Backlight, "backlight_scan_state_change"), QStringLiteral("chkBLScanState"));
    auto* bl = new QGridLayout(Backlight);
    auto* timeout = new QHBoxLayout;
    timeout->addWidget(makeLabel(Backlight, QStringLiteral("lblBlTimeout"),
                                 GroupFields->caption("backlight_timeout")));
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
