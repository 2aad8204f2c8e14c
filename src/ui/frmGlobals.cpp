#include "ui/frmGlobals.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>

#include "model/ControlLists.h"
#include "model/HexDigitValidator.h"
#include "ui/WindowPlacement.h"

namespace tav {

namespace {

const QString kTop = QStringLiteral("GlobalTop");
const QString kLeft = QStringLiteral("GlobalLeft");
constexpr int kPasswordDigits = 6;

QComboBox* listBox(QWidget* parent, const char* name, const QStringList& entries, bool withTip) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(entries);
    box->setCurrentIndex(-1);  // nothing shown until the image is read
    if (withTip) box->setToolTip(QStringLiteral("Select value from list."));
    return box;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(QLatin1String(name));
    return f;
}

// A label in the first column, its control in the second.
void addRow(QGridLayout* grid, QLabel* text, QWidget* control) {
    const int row = grid->rowCount();
    grid->addWidget(text, row, 0);
    grid->addWidget(control, row, 1);
    text->setBuddy(control);
}

int index(const QComboBox* box) {
    return std::max(0, box->currentIndex());
}

}  // namespace

frmGlobals::frmGlobals(AppState& state, Settings& settings, Prompter& prompter, Clock& clock,
                       QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      settings_(settings),
      prompter_(prompter),
      clock_(clock),
      codec_(state, controls_) {
    setObjectName(QStringLiteral("frmGlobals"));
    setWindowTitle(QStringLiteral("Group '0' Globals  -  TAV Editor   "));
    buildControls();
    buildMenu();
    setFixedSize(sizeHint());
}

void frmGlobals::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    frmFeatures = frame(central, "frmFeatures", QStringLiteral("Global Features"));
    auto* features = new QGridLayout(frmFeatures);
    chkPerChannelBandwidth = new QCheckBox(frmFeatures);
    chkPerChannelBandwidth->setObjectName(QStringLiteral("chkPerChannelBandwidth"));
    chkPerChannelPower = new QCheckBox(frmFeatures);
    chkPerChannelPower->setObjectName(QStringLiteral("chkPerChannelPower"));
    // They only show what the radio can do; nothing here stores them.
    chkPerChannelBandwidth->setEnabled(false);
    chkPerChannelPower->setEnabled(false);
    Label1 = label(frmFeatures, "Label1", QStringLiteral("Per Channel Bandwidth"));
    Label2 = label(frmFeatures, "Label2", QStringLiteral("Per Channel Power Control"));
    features->addWidget(chkPerChannelBandwidth, 0, 0);
    features->addWidget(Label1, 0, 1);
    features->addWidget(chkPerChannelPower, 1, 0);
    features->addWidget(Label2, 1, 1);
    features->setColumnStretch(1, 1);

    FrameDTMF = frame(central, "FrameDTMF", QStringLiteral("ANI/DTMF Parameters"));
    auto* dtmf = new QGridLayout(FrameDTMF);
    cboPorchTime = listBox(FrameDTMF, "cboPorchTime", lists::porchTimes(), true);
    cboANIRate = listBox(FrameDTMF, "cboANIRate", lists::aniRates(), true);
    cboDTMFDev = listBox(FrameDTMF, "cboDTMFDev", lists::dtmfDeviations(), true);
    lblPorch = label(FrameDTMF, "lblPorch", QStringLiteral("Front Porch Time in Milliseconds:"));
    lblAniRate = label(FrameDTMF, "lblAniRate", QStringLiteral("ANI Rate in Chars/Second:"));
    LabelANIDev = label(FrameDTMF, "LabelANIDev", QStringLiteral("Single tone deviation (Hz)"));
    addRow(dtmf, lblPorch, cboPorchTime);
    addRow(dtmf, lblAniRate, cboANIRate);
    addRow(dtmf, LabelANIDev, cboDTMFDev);

    fraUnit = frame(central, "fraUnit", QStringLiteral("Global Variables"));
    auto* unit = new QGridLayout(fraUnit);
    cboTalkBack = listBox(fraUnit, "cboTalkBack", lists::disabledEnabled(), false);
    cboFreqDisplay = listBox(fraUnit, "cboFreqDisplay", lists::disabledEnabled(), false);
    cboBattSave = listBox(fraUnit, "cboBattSave", lists::batterySaverInhibit(), true);
    cboPriRate = listBox(fraUnit, "cboPriRate", lists::priorityRates(), true);
    txtPassWord = new QLineEdit(QStringLiteral("381902"), fraUnit);
    txtPassWord->setObjectName(QStringLiteral("txtPassWord"));
    txtPassWord->setMaxLength(kPasswordDigits);
    txtPassWord->setValidator(new HexDigitValidator(
        kPasswordDigits, txtPassWord, [this](const QString&, const QString&) { clock_.beep(); }));
    lblTalkBack = label(fraUnit, "lblTalkBack", QStringLiteral("Bank Scan:"));
    lblFreqDisplay = label(fraUnit, "lblFreqDisplay", QStringLiteral("Display Frequencies Only:"));
    lblBattSave = label(fraUnit, "lblBattSave", QStringLiteral("Global Battery Saver:"));
    lblPriRate = label(fraUnit, "lblPriRate", QStringLiteral("Priority Rate in seconds:"));
    lblPassWord = label(fraUnit, "lblPassWord", QStringLiteral("Pass Word:"));
    addRow(unit, lblTalkBack, cboTalkBack);
    addRow(unit, lblFreqDisplay, cboFreqDisplay);
    addRow(unit, lblBattSave, cboBattSave);
    addRow(unit, lblPriRate, cboPriRate);
    addRow(unit, lblPassWord, txtPassWord);
    unit->setRowStretch(unit->rowCount(), 1);

    // Every list and the password box as wide as the widest list, so the
    // value column lines up in all three frames.
    const QList<QWidget*> values{cboPorchTime,   cboANIRate,  cboDTMFDev, cboTalkBack,
                                 cboFreqDisplay, cboBattSave, cboPriRate, txtPassWord};
    int width = 0;
    for (QWidget* w : values) width = std::max(width, w->sizeHint().width());
    for (QWidget* w : values) w->setFixedWidth(width);

    auto* grid = new QGridLayout(central);
    grid->addWidget(frmFeatures, 0, 0);
    grid->addWidget(FrameDTMF, 1, 0);
    grid->addWidget(fraUnit, 0, 1, 2, 1);
}

void frmGlobals::buildMenu() {
    mnuFile = menuBar()->addMenu(QStringLiteral("Window"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuSave = mnuFile->addAction(QStringLiteral("Save Settings And Close Window"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuExit = mnuFile->addAction(QStringLiteral("Close Window Without Saving"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    mnuSep1 = mnuFile->addSeparator();
    mnuSep1->setObjectName(QStringLiteral("mnuSep1"));
    mnuReadSettings = mnuFile->addAction(QStringLiteral("Read Settings Again"));
    mnuReadSettings->setObjectName(QStringLiteral("mnuReadSettings"));

    // Both close items still ask before closing; saving first means a Yes
    // there stores the values a second time, which changes nothing.
    connect(mnuSave, &QAction::triggered, this, [this] {
        writeGlobals();
        close();
    });
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuReadSettings, &QAction::triggered, this, &frmGlobals::readGlobals);
}

void frmGlobals::showGlobals() {
    if (!isOpen()) {
        state_.GlobalsWindowOpen = true;
        // Placed before it appears, so it does not jump once the pause is over.
        RestoreWindowPosition(*this, settings_, kPosition, kTop, kLeft);
        readPending_ = true;
        // Queued, so that the window shows before the pause begins.
        QMetaObject::invokeMethod(
            this, [this, run = ++openings_] { runOpeningPause(run); }, Qt::QueuedConnection);
    }
    show();
    raise();
    activateWindow();
}

void frmGlobals::runOpeningPause(int run) {
    // The clock serves the event loop meanwhile: the window can be moved,
    // closed or written from before it is filled.
    const QPointer<frmGlobals> alive(this);
    clock_.idleUntil(clock_.now() + kOpeningPauseMs / 1000.0);
    if (alive && run == openings_ && isOpen() && readPending_) readGlobals();
}

void frmGlobals::readGlobals() {
    readPending_ = false;
    codec_.Read_Globals();
    toWidgets();
}

void frmGlobals::writeGlobals() {
    if (readPending_) readGlobals();
    fromWidgets();
    codec_.Write_Globals();
}

bool frmGlobals::closeWithQuestion() {
    return !isOpen() || close();
}

void frmGlobals::toWidgets() {
    cboDTMFDev->setCurrentIndex(controls_.cboDTMFDev);
    cboPorchTime->setCurrentIndex(controls_.cboPorchTime);
    cboANIRate->setCurrentIndex(controls_.cboANIRate);
    cboPriRate->setCurrentIndex(controls_.cboPriRate);
    cboBattSave->setCurrentIndex(controls_.cboBattSave);
    cboFreqDisplay->setCurrentIndex(controls_.cboFreqDisplay);
    cboTalkBack->setCurrentIndex(controls_.cboTalkBack);
    chkPerChannelPower->setChecked(controls_.chkPerChannelPower != 0);
    chkPerChannelBandwidth->setChecked(controls_.chkPerChannelBandwidth != 0);
    txtPassWord->setText(controls_.txtPassWord);
}

void frmGlobals::fromWidgets() {
    controls_.cboDTMFDev = index(cboDTMFDev);
    controls_.cboPorchTime = index(cboPorchTime);
    controls_.cboANIRate = index(cboANIRate);
    controls_.cboPriRate = index(cboPriRate);
    controls_.cboBattSave = index(cboBattSave);
    controls_.cboFreqDisplay = index(cboFreqDisplay);
    controls_.cboTalkBack = index(cboTalkBack);
    controls_.txtPassWord = txtPassWord->text();
}

void frmGlobals::closeEvent(QCloseEvent* e) {
    if (!isOpen()) {
        e->accept();
        return;
    }
    switch (prompter_.show(QStringLiteral("Save Global Parameters?"), QString(),
                           MsgButtons::YesNoCancel, MsgIcon::None)) {
        case MsgResult::Yes:
            writeGlobals();
            break;
        case MsgResult::No:
            break;
        default:
            e->ignore();
            return;
    }
    unload();
    e->accept();
}

void frmGlobals::unload() {
    state_.GlobalsWindowOpen = false;
    SaveWindowPosition(*this, settings_, kPosition, kTop, kLeft);
}

}  // namespace tav
