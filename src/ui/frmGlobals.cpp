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

#include "ui/FieldBinding.h"
#include "ui/WindowPlacement.h"

namespace tav {

namespace {

const QString kTop = QStringLiteral("GlobalTop");
const QString kLeft = QStringLiteral("GlobalLeft");

QComboBox* listBox(FieldBindings& fields, QWidget* parent, const char* name, const char* key,
                   bool withTip) {
    auto* box = fields.list(new QComboBox(parent), key);
    box->setObjectName(QLatin1String(name));
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

// A control of one field and the label with the field's caption before it.
struct FieldRow {
    QComboBox** list;  // made here; or
    QWidget* made;     // made before
    QLabel** caption;
    const char* name;
    const char* captionName;
    const char* key;
    bool withTip = true;  // a list's tip
};

// Each row's control and caption, in a new row of `grid`.
void addFieldRows(FieldBindings& fields, QGridLayout* grid, std::initializer_list<FieldRow> rows) {
    for (const FieldRow& r : rows) {
        QWidget* parent = grid->parentWidget();
        QWidget* control =
            r.list ? (*r.list = listBox(fields, parent, r.name, r.key, r.withTip)) : r.made;
        *r.caption = label(parent, r.captionName, fields.caption(r.key));
        addRow(grid, *r.caption, control);
    }
}

}  // namespace

frmGlobals::frmGlobals(AppState& state, Settings& settings, Prompter& prompter, Clock& clock,
                       QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      settings_(settings),
      prompter_(prompter),
      clock_(clock),
      fields_(new FieldBindings(FieldScope::Unit, this)),
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
    chkPerChannelBandwidth = fields_->check(new QCheckBox(frmFeatures), "per_channel_bandwidth");
    chkPerChannelBandwidth->setObjectName(QStringLiteral("chkPerChannelBandwidth"));
    chkPerChannelPower = new QCheckBox(frmFeatures);
    chkPerChannelPower->setObjectName(QStringLiteral("chkPerChannelPower"));
    // They only show what the radio can do; nothing here stores them.
    chkPerChannelBandwidth->setEnabled(false);
    chkPerChannelPower->setEnabled(false);
    Label1 = label(frmFeatures, "Label1", fields_->caption("per_channel_bandwidth"));
    Label2 = label(frmFeatures, "Label2", QStringLiteral("Per Channel Power Control"));
    features->addWidget(chkPerChannelBandwidth, 0, 0);
    features->addWidget(Label1, 0, 1);
    features->addWidget(chkPerChannelPower, 1, 0);
    features->addWidget(Label2, 1, 1);
    features->setColumnStretch(1, 1);

    FrameDTMF = frame(central, "FrameDTMF", QStringLiteral("ANI/DTMF Parameters"));
    auto* dtmf = new QGridLayout(FrameDTMF);
    addFieldRows(
        *fields_, dtmf,
        {{&cboPorchTime, nullptr, &lblPorch, "cboPorchTime", "lblPorch", "front_porch_time"},
         {&cboANIRate, nullptr, &lblAniRate, "cboANIRate", "lblAniRate", "ani_rate"},
         {&cboDTMFDev, nullptr, &LabelANIDev, "cboDTMFDev", "LabelANIDev", "dtmf_deviation"}});

    fraUnit = frame(central, "fraUnit", QStringLiteral("Global Variables"));
    auto* unit = new QGridLayout(fraUnit);
    addFieldRows(
        *fields_, unit,
        {{&cboTalkBack, nullptr, &lblTalkBack, "cboTalkBack", "lblTalkBack", "bank_scan", false},
         {&cboFreqDisplay, nullptr, &lblFreqDisplay, "cboFreqDisplay", "lblFreqDisplay",
          "display_frequencies_only", false},
         {&cboBattSave, nullptr, &lblBattSave, "cboBattSave", "lblBattSave",
          "global_battery_saver"},
         {&cboPriRate, nullptr, &lblPriRate, "cboPriRate", "lblPriRate", "priority_rate"}});
    txtPassWord =
        fields_->text(new QLineEdit(QStringLiteral("381902"), fraUnit), "password",
                      [this](const QString&, const QString&, const QString&) { clock_.beep(); });
    txtPassWord->setObjectName(QStringLiteral("txtPassWord"));
    addFieldRows(*fields_, unit,
                 {{nullptr, txtPassWord, &lblPassWord, "", "lblPassWord", "password"}});
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
    emit stored();
}

bool frmGlobals::closeWithQuestion() {
    return !isOpen() || close();
}

void frmGlobals::toWidgets() {
    fields_->show(controls_.fields);
    chkPerChannelPower->setChecked(controls_.chkPerChannelPower != 0);
}

void frmGlobals::fromWidgets() {
    fields_->take(controls_.fields);
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
