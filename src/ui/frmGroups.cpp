#include "ui/frmGroups.h"

#include "ui/WindowPlacement.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

#include "app/AppInfo.h"
#include "model/ControlLists.h"
#include "print/ReportPainter.h"
#include "print/UnitReport.h"
#include "store/ChannelTable.h"
#include "tune/frmTune.h"
#include "ui/AboutBox.h"
#include "ui/GridText.h"
#include "ui/HelpWindow.h"
#include "ui/RadioCommands.h"
#include "ui/frmProc.h"

namespace tav {

namespace {

const QString kPosition = QStringLiteral("Position");
const QString kComm = QStringLiteral("Comm");
const QString kFeatures = QStringLiteral("Features");

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

QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& key = QKeySequence()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
}

QString traceCaption(const QString& path) {
    return QStringLiteral("Trace File: ") + QDir::toNativeSeparators(path);
}

}  // namespace

frmGroups::frmGroups(EditorServices services, EditorHooks editorHooks, QWidget* parent)
    : QMainWindow(parent), hooks(std::move(editorHooks)), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmGroups"));
    setWindowTitle(QStringLiteral("TAVEDWIN  -  TAV Editor"));
    radio_ = std::make_unique<RadioCommands>(*this);
    buildWidgets();
    buildMenus();
    viewGrid_.attach(Grid);
    const GroupCodecsFactory factory =
        services_.groupCodecs ? services_.groupCodecs : GroupCodecsFactory(makeGroupCodecs);
    codecs_ = factory(services_.state, Controls, viewGrid_);
    progress_ = std::make_unique<WindowProgress>(Prog1, procDialog);
    printService_ = services_.printService
                        ? services_.printService
                        : std::make_shared<PrintService>(services_.prompter);
    Files = std::make_unique<FileOpenSave>(services_.state, static_cast<FileHost&>(*this),
                                           services_.prompter, services_.settings);
    load();
}

frmGroups::~frmGroups() = default;

Progress& frmGroups::progress() {
    return *progress_;
}

// ------------------------------------------------------------------ widgets

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

    procDialog = new frmProc(this, services_.prompter);
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
    cboCurrentGroup->lineEdit()->installEventFilter(this);
    connect(cboCurrentGroup, &QComboBox::currentIndexChanged, this,
            &frmGroups::cboCurrentGroup_Click);

    txtGroupLabel = named(new QLineEdit(box), QStringLiteral("txtGroupLabel"));
    txtGroupLabel->setMaxLength(16);
    txtID = named(new QLineEdit(box), QStringLiteral("txtID"));
    txtID->setMaxLength(7);
    txtID->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,7}")), txtID));
    txtID->installEventFilter(this);
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

void frmGroups::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuSave = addItem(file, QStringLiteral("mnuSave"), QStringLiteral("&Save"),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs = addItem(file, QStringLiteral("mnuSaveAs"), QStringLiteral("Sa&ve As"));
    file->addSeparator();
    mnuOpen = addItem(file, QStringLiteral("mnuOpen"), QStringLiteral("&Open"),
                      QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    mnuExportCsv = addItem(file, QStringLiteral("mnuExportCsv"),
                           QStringLiteral("Export Channels (CSV)..."));
    mnuImportCsv = addItem(file, QStringLiteral("mnuImportCsv"),
                           QStringLiteral("Import Channels (CSV)..."));
    file->addSeparator();
    mnuPrint = addItem(file, QStringLiteral("mnuPrint"), QStringLiteral("&Print"),
                       QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuSetup = addItem(file, QStringLiteral("mnuSetup"), QStringLiteral("Print Set&up"));
    file->addSeparator();
    mnuBackupFolder =
        addItem(file, QStringLiteral("mnuBackupFolder"), QStringLiteral("Open Backup Folder"));
    mnuExit = addItem(file, QStringLiteral("mnuExit"), QStringLiteral("&Exit"));

    QMenu* radio = bar->addMenu(QStringLiteral("&Radio"));
    radio->setObjectName(QStringLiteral("mnuRadio"));
    mnuRead = addItem(radio, QStringLiteral("mnuRead"), QStringLiteral("Read Radio"),
                      QKeySequence(Qt::Key_F2));
    mnuReadGlobal = addItem(radio, QStringLiteral("mnuReadGlobal"),
                            QStringLiteral("Read Global Information from Radio"));
    mnuReadGroup =
        addItem(radio, QStringLiteral("mnuReadGroup"), QStringLiteral("Read Group from Radio"));
    mnuWriteAll = addItem(radio, QStringLiteral("mnuWriteAll"), QStringLiteral("Write Radio"),
                          QKeySequence(Qt::Key_F3));
    mnuWriteGlobal = addItem(radio, QStringLiteral("mnuWriteGlobal"),
                             QStringLiteral("Write Global Information To Radio"));
    mnuWriteGroup =
        addItem(radio, QStringLiteral("mnuWriteGroup"),
                QStringLiteral("Write Current Group to Radio"), QKeySequence(Qt::Key_F4));
    radio->addSeparator();
    mnuCompare =
        addItem(radio, QStringLiteral("mnuCompare"), QStringLiteral("Compare with Radio"));
    // The pair below (and the separator before it) exists but is never shown.
    radio->addSeparator()->setVisible(false);
    mnuReadCurrGroup =
        addItem(radio, QStringLiteral("mnuReadCurrGroup"), QStringLiteral("Read Current Group"));
    mnuWriteCurrGroup =
        addItem(radio, QStringLiteral("mnuWriteCurrGroup"), QStringLiteral("Write Current Group"));
    mnuReadCurrGroup->setVisible(false);
    mnuWriteCurrGroup->setVisible(false);
    radio->addSeparator();
    QMenu* labels = radio->addMenu(QStringLiteral("Labels"));
    labels->setObjectName(QStringLiteral("mnuLabels"));
    mnuLabelRdGroup =
        addItem(labels, QStringLiteral("mnuLabelRdGroup"), QStringLiteral("Read Current Group"));
    mnuLabelRdRadio =
        addItem(labels, QStringLiteral("mnuLabelRdRadio"), QStringLiteral("Read Radio"));
    mnuLabelWrtGroup =
        addItem(labels, QStringLiteral("mnuLabelWrtGroup"), QStringLiteral("Write Current Group"));
    mnuLabelWrtRadio =
        addItem(labels, QStringLiteral("mnuLabelWrtRadio"), QStringLiteral("Write Radio"));
    QMenu* labelConfig = radio->addMenu(QStringLiteral("Config"));
    labelConfig->setObjectName(QStringLiteral("mnuLabelConfigMenu"));
    labelGroup_ = new QActionGroup(this);
    const QStringList policies{QStringLiteral("Always Read/Write Labels"),
                               QStringLiteral("Never Read/Write Labels"),
                               QStringLiteral("Prompt to Read/Write Labels")};
    for (int i = 0; i < 3; ++i) {
        mnuLabelConfig[i] =
            addItem(labelConfig, QStringLiteral("mnuLabelConfig_%1").arg(i), policies[i]);
        mnuLabelConfig[i]->setCheckable(true);
        labelGroup_->addAction(mnuLabelConfig[i]);
        connect(mnuLabelConfig[i], &QAction::triggered, this, [this, i] {
            setLabelPolicy(i);
            services_.settings.saveInteger(kFeatures, QStringLiteral("Label"), i);
        });
    }

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    mnuGlobals = addItem(edit, QStringLiteral("mnuGlobals"), QStringLiteral("Global Parameters"));
    mnuUndo = addItem(edit, QStringLiteral("mnuUndo"), QStringLiteral("Undo"),
                      QKeySequence(Qt::CTRL | Qt::Key_Z));
    QMenu* copy = edit->addMenu(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("mnuCopy"));
    mnuAll = addItem(copy, QStringLiteral("mnuAll"), QStringLiteral("Copy All"),
                     QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuRow = addItem(copy, QStringLiteral("mnuRow"), QStringLiteral("Copy a row"),
                     QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuPaste = addItem(edit, QStringLiteral("mnuPaste"), QStringLiteral("Paste"),
                       QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuMove = addItem(edit, QStringLiteral("mnuMove"), QStringLiteral("Move"),
                      QKeySequence(Qt::CTRL | Qt::Key_M));

    mnuTune = bar->addAction(QStringLiteral("Tune"));
    mnuTune->setObjectName(QStringLiteral("mnuTune"));

    QMenu* config = bar->addMenu(QStringLiteral("&Config"));
    config->setObjectName(QStringLiteral("mnuConfig"));
    portGroup_ = new QActionGroup(this);
    for (int port = 1; port <= 4; ++port) {
        mnuCommPort[port] = addItem(config, QStringLiteral("mnuCommPort_%1").arg(port),
                                    portCaption(port, services_.settings.portDevice(port)));
    }
    mnuCommPort[kVirtualRadioPort] = addItem(config, QStringLiteral("mnuVirtualRadio"),
                                             portCaption(kVirtualRadioPort, QString()));
    for (int port = 0; port <= 4; ++port) {
        mnuCommPort[port]->setCheckable(true);
        portGroup_->addAction(mnuCommPort[port]);
        connect(mnuCommPort[port], &QAction::triggered, this, [this, port] {
            selectPort(port);
            if (port == kVirtualRadioPort) {
                services_.settings.saveFlag(kComm, QStringLiteral("Virtual"), true);
            } else {
                services_.settings.saveInteger(kComm, QStringLiteral("Port"), port);
                services_.settings.saveFlag(kComm, QStringLiteral("Virtual"), false);
            }
        });
    }
    config->addSeparator();
    mnuPerChanBand =
        addItem(config, QStringLiteral("mnuPerChanBand"), QStringLiteral("Per-Channel Bandwidth"));
    mnuPerChanPwr =
        addItem(config, QStringLiteral("mnuPerChanPwr"), QStringLiteral("Per-Channel Power"));
    mnuChangedOnly = addItem(config, QStringLiteral("mnuChangedOnly"),
                             QStringLiteral("Write Only Changed Data"));
    mnuPerChanBand->setCheckable(true);
    mnuPerChanPwr->setCheckable(true);
    mnuChangedOnly->setCheckable(true);
    config->addSeparator();
    mnuSerialTrace =
        addItem(config, QStringLiteral("mnuSerialTrace"), QStringLiteral("Serial Trace"));
    mnuSerialTrace->setCheckable(true);
    // Says where the trace goes; informs only, so it is never enabled.
    mnuTraceFile = addItem(config, QStringLiteral("mnuTraceFile"), QString());
    mnuTraceFile->setEnabled(false);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuH"));
    mnuAbout = addItem(help, QStringLiteral("mnuAbout"), QStringLiteral("About TAVEDWIN"));
    mnuHelp = addItem(help, QStringLiteral("mnuHelp"), QStringLiteral("Help"),
                      QKeySequence(Qt::CTRL | Qt::Key_H));

    auto hook = [this](QAction* a, std::function<void()> EditorHooks::*member) {
        connect(a, &QAction::triggered, this, [this, member] { runHook(hooks.*member); });
    };
    auto command = [this](QAction* a, void (RadioCommands::*member)()) {
        connect(a, &QAction::triggered, this, [this, member] { ((*radio_).*member)(); });
    };
    command(mnuRead, &RadioCommands::mnuRead_Click);
    command(mnuReadGlobal, &RadioCommands::mnuReadGlobal_Click);
    command(mnuReadGroup, &RadioCommands::mnuReadGroup_Click);
    command(mnuWriteAll, &RadioCommands::mnuWriteAll_Click);
    command(mnuWriteGlobal, &RadioCommands::mnuWriteGlobal_Click);
    command(mnuWriteGroup, &RadioCommands::mnuWriteGroup_Click);
    command(mnuCompare, &RadioCommands::mnuCompare_Click);
    command(mnuLabelRdGroup, &RadioCommands::mnuLabelRdGroup_Click);
    command(mnuLabelRdRadio, &RadioCommands::mnuLabelRdRadio_Click);
    command(mnuLabelWrtGroup, &RadioCommands::mnuLabelWrtGroup_Click);
    command(mnuLabelWrtRadio, &RadioCommands::mnuLabelWrtRadio_Click);
    connect(mnuSerialTrace, &QAction::triggered, this, [this](bool on) {
        setSerialTrace(on);
        services_.settings.saveFlag(kComm, QStringLiteral("Trace"), traceOn_);
    });
    connect(mnuBackupFolder, &QAction::triggered, this, &frmGroups::openBackupFolder);
    hook(mnuGlobals, &EditorHooks::showGlobals);
    hook(mnuMove, &EditorHooks::showMove);
    connect(mnuOpen, &QAction::triggered, this, [this] { Files->OpenFile(); });
    connect(mnuSave, &QAction::triggered, this, [this] { Files->SaveFile(); });
    connect(mnuSaveAs, &QAction::triggered, this, [this] { Files->SaveFileAs(); });
    connect(mnuExportCsv, &QAction::triggered, this, &frmGroups::ExportChannels);
    connect(mnuImportCsv, &QAction::triggered, this, &frmGroups::ImportChannels);
    connect(mnuWriteCurrGroup, &QAction::triggered, this, &frmGroups::mnuWriteCurrGroup_Click);
    connect(mnuPrint, &QAction::triggered, this, &frmGroups::mnuPrint_Click);
    connect(mnuSetup, &QAction::triggered, this, &frmGroups::mnuSetup_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuUndo, &QAction::triggered, this, &frmGroups::Undo);
    connect(mnuAll, &QAction::triggered, this, [this] {
        CopyAllRows();
        CopiedAll = true;
        CopiedRow = false;
    });
    connect(mnuRow, &QAction::triggered, this, &frmGroups::CopyRow);
    connect(mnuPaste, &QAction::triggered, this, &frmGroups::Paste);
    connect(mnuPerChanBand, &QAction::triggered, this, &frmGroups::mnuPerChanBand_Click);
    connect(mnuPerChanPwr, &QAction::triggered, this, &frmGroups::mnuPerChanPwr_Click);
    connect(mnuChangedOnly, &QAction::triggered, this, [this](bool on) {
        SetChangedOnly(on);
        services_.settings.saveFlag(kFeatures, QStringLiteral("ChangedOnly"), on);
    });
    connect(mnuTune, &QAction::triggered, this, &frmGroups::showTune);
    connect(mnuAbout, &QAction::triggered, this, &frmGroups::showAbout);
    connect(mnuHelp, &QAction::triggered, this, &frmGroups::showHelp);
}

void frmGroups::runHook(const std::function<void()>& hook) {
    if (hook) hook();
}

// ------------------------------------------------------------------ start-up

void frmGroups::load() {
    AppState& s = services_.state;
    {
        const auto batch = tableBatch();
        for (int16_t g = 0; g < kGroupCount; ++g) {
            s.NewGroupIndex = g;
            codecs_->WriteDefaults(g);
        }
    }

    QGuiApplication::clipboard()->clear();
    CopiedRow = CopiedAll = false;
    CopiedLength = -1;
    mnuPaste->setEnabled(false);
    LastOffset.clear();
    setCurrentCell(currentColumn() < 0 ? 0 : currentColumn(), 0);

    selectPort(initialPort());

    Settings& settings = services_.settings;
    setSerialTrace(settings.flag(kComm, QStringLiteral("Trace"), false));
    SetPerChannelPower(settings.flag(kFeatures, QStringLiteral("Power"), true));
    SetPerChannelBandwidth(settings.flag(kFeatures, QStringLiteral("Band"), true));
    SetChangedOnly(settings.flag(kFeatures, QStringLiteral("ChangedOnly"), false));
    const int policy = settings.integer(kFeatures, QStringLiteral("Label"), 2);
    setLabelPolicy(policy >= 0 && policy <= 2 ? policy : 2);

    intCurrentGroup = static_cast<int16_t>(std::max(0, cboCurrentGroup->currentIndex()));

    ISINITIALIZE = true;
    if (cboCurrentGroup->currentIndex() == 0)
        cboCurrentGroup_Click();
    else
        cboCurrentGroup->setCurrentIndex(0);

    checks->alignToRows();
    restorePosition();
    showGroup(0);
    Files->OpenFromCommandLine(FileOpenSave::commandLineText(services_.arguments));
    ISINITIALIZE = false;
}

int frmGroups::initialPort() const {
    const Settings& settings = services_.settings;
    if (settings.contains(kComm, QStringLiteral("Virtual")) &&
        settings.flag(kComm, QStringLiteral("Virtual"), false))
        return kVirtualRadioPort;
    if (!settings.contains(kComm, QStringLiteral("Port")) &&
        !settings.contains(kComm, QStringLiteral("Virtual"))) {
        bool anyDevice = false;
        for (int port = 1; port <= 4 && !anyDevice; ++port)
            anyDevice = services_.deviceExists && services_.deviceExists(settings.portDevice(port));
        if (!anyDevice) return kVirtualRadioPort;
    }
    return settings.commPort();
}

QString frmGroups::portCaption(int port, const QString& device) {
    if (port == kVirtualRadioPort) return QStringLiteral("Virtual radio");
    return QStringLiteral("Use Comm Port %1 (%2)").arg(port).arg(device);
}

void frmGroups::dropLink() {
    // The radio link and the trace hold the port: they go before it changes.
    radio_->portChanging();
    trace_.stop();
}

void frmGroups::selectPort(int port) {
    dropLink();
    if (comm_ && comm_->isOpen()) comm_->close();
    comm_.reset();
    CommPort = port;
    if (services_.openPort) comm_ = services_.openPort(port);
    mnuCommPort[static_cast<std::size_t>(port)]->setChecked(true);
}

SerialLink* frmGroups::activeLink() {
    if (!comm_ || !traceOn_) return comm_.get();
    if (!trace_.link()) {
        const QString path = SerialTraceFile::pathFor(QDate::currentDate());
        const QString port =
            portCaption(CommPort, services_.settings.portDevice(CommPort)).remove(QLatin1Char('&'));
        QString why;
        if (!trace_.start(*comm_, services_.clock, path, port, &why)) {
            services_.prompter.show(QStringLiteral("The serial trace could not be written."),
                                    QString(), MsgButtons::Ok, MsgIcon::Exclamation,
                                    path + QStringLiteral(": ") + why);
            return comm_.get();
        }
        mnuTraceFile->setText(traceCaption(path));
    }
    return trace_.link();
}

void frmGroups::setSerialTrace(bool on) {
    dropLink();
    traceOn_ = on;
    mnuSerialTrace->setChecked(on);
    mnuTraceFile->setText(traceCaption(SerialTraceFile::pathFor(QDate::currentDate())));
    mnuTraceFile->setVisible(on);
}

void frmGroups::openBackupFolder() {
    const QString folder = radio_->backups().folder();
    QDir().mkpath(folder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        services_.prompter.show(QStringLiteral("The backup folder could not be opened."), QString(),
                                MsgButtons::Ok, MsgIcon::Exclamation,
                                QDir::toNativeSeparators(folder));
}

void frmGroups::setLabelPolicy(int policy) {
    LabelPolicy = policy;
    mnuLabelConfig[static_cast<std::size_t>(policy)]->setChecked(true);
}

// ------------------------------------------------------------------ groups

void frmGroups::cboCurrentGroup_Click() {
    if (!ISINITIALIZE && intCurrentGroup >= 0) storeGroup(intCurrentGroup);
    if (!ISINITIALIZE) {
        intCurrentGroup = static_cast<int16_t>(cboCurrentGroup->currentIndex());
        if (intCurrentGroup >= 0) showGroup(intCurrentGroup);
    }
    Grid->clearSelection();
    UndoCol = -1;
    setCurrentCell(std::max(0, currentColumn()), 0);
}

std::unique_ptr<void, void (*)(void*)> frmGroups::tableBatch() {
    if (!table_) return {nullptr, [](void*) {}};
    table_->beginBatch();
    return {table_, [](void* t) { static_cast<ChannelTable*>(t)->endBatch(); }};
}

void frmGroups::showGroup(int16_t group) {
    controlsFromWidgets();  // what a codec leaves alone stays as shown
    {
        const auto batch = tableBatch();
        codecs_->Read_Group(group);
    }
    widgetsFromControls();
}

void frmGroups::storeGroup(int16_t group) {
    Grid->finishEdit();
    controlsFromWidgets();
    codecs_->Write_Group(group);
}

void frmGroups::showLabels(int16_t group) {
    controlsFromWidgets();
    {
        const auto batch = tableBatch();
        codecs_->Read_Labels_Only(group);
    }
    widgetsFromControls();
}

// ------------------------------------------------------------------ files

void frmGroups::storeShownGroup() {
    StoreCurrentGroup();
}

void frmGroups::storeGlobals() {
    runHook(hooks.storeGlobals);
}

void frmGroups::redisplayGlobals() {
    runHook(hooks.redisplayGlobals);
}

void frmGroups::redisplayShownGroup() {
    const int index = cboCurrentGroup->currentIndex();
    if (index >= 0) showGroup(static_cast<int16_t>(index));
}

void frmGroups::setCaption(const QString& text) {
    setWindowTitle(text);
}

bool frmGroups::chooseFile(bool saveMode, const QString& presetPath, QString& chosenPath) {
    return runFileDialog(saveMode, presetPath, chosenPath, FileOpenSave::nameFilters(),
                         QStringLiteral("tav"));
}

bool frmGroups::runFileDialog(bool saveMode, const QString& presetPath, QString& chosenPath,
                              const QStringList& filters, const QString& suffix) {
    if (services_.fileDialog) return services_.fileDialog(saveMode, presetPath, chosenPath);
    QFileDialog dialog(this);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.constFirst());
    dialog.setAcceptMode(saveMode ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saveMode ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (saveMode) dialog.setDefaultSuffix(suffix);
    if (!presetPath.isEmpty()) dialog.selectFile(presetPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    chosenPath = dialog.selectedFiles().constFirst();
    return true;
}

void frmGroups::displayGroupMemory() {
    const int group = static_cast<int>(grid::valueOf(cboCurrentGroup->currentText())) - 1;
    if (group < 0 || group >= kGroupCount) return;
    // The shown group and the selection must agree, or the next switch would
    // store this group's values over the one selected before.
    if (cboCurrentGroup->currentIndex() != group) {
        QSignalBlocker quiet(cboCurrentGroup);
        cboCurrentGroup->setCurrentIndex(group);
    }
    intCurrentGroup = static_cast<int16_t>(group);
    showGroup(static_cast<int16_t>(group));
}

void frmGroups::StoreCurrentGroup() {
    const int index = cboCurrentGroup->currentIndex();
    if (index >= 0) storeGroup(static_cast<int16_t>(index));
}

void frmGroups::mnuWriteCurrGroup_Click() {
    const int index = cboCurrentGroup->currentIndex();
    TargetGroup = static_cast<int16_t>(index >= 0 ? index : 0);
    storeGroup(TargetGroup);
    intCurrentGroup = static_cast<int16_t>(index);
}

void frmGroups::cboCurrentGroup_KeyDown() {
    if (TypedGroupStart == 0)
        TypedGroupStart = static_cast<int>(grid::valueOf(cboCurrentGroup->currentText()));
}

void frmGroups::cboCurrentGroup_KeyUp() {
    const double typed = grid::valueOf(cboCurrentGroup->currentText());
    const int n = static_cast<int>(std::floor(typed));
    if (n < 1 || n > kGroupCount) {
        services_.clock.beep();
        cboCurrentGroup->setEditText(QString::number(TypedGroupStart));
        TypedGroupStart = 0;
    }
}

bool frmGroups::txtID_KeyPress(const QString& typed) {
    for (const QChar ch : typed) {
        if (!ch.isPrint()) continue;
        const bool hex =
            ch.isDigit() || (ch.toUpper() >= QLatin1Char('A') && ch.toUpper() <= QLatin1Char('F'));
        if (!hex) {
            services_.clock.beep();
            return false;
        }
    }
    return true;
}

bool frmGroups::eventFilter(QObject* watched, QEvent* e) {
    const bool press = e->type() == QEvent::KeyPress;
    const bool release = e->type() == QEvent::KeyRelease;
    if (!press && !release) return QMainWindow::eventFilter(watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    if (watched == cboCurrentGroup->lineEdit()) {
        if (press) cboCurrentGroup_KeyDown();
        if (release && !k->isAutoRepeat()) cboCurrentGroup_KeyUp();
    } else if (watched == txtID && press) {
        if (!k->text().isEmpty() && !(k->modifiers() & Qt::ControlModifier) &&
            !txtID_KeyPress(k->text()))
            return true;
    } else if (watched == txtOffset && release && !k->isAutoRepeat()) {
        txtOffset_KeyUp(k->key());
    }
    return QMainWindow::eventFilter(watched, e);
}

// ------------------------------------------------------------------ options

void frmGroups::SetPerChannelBandwidth(bool enable) {
    services_.state.PerChanBandOn = enable;
    mnuPerChanBand->setChecked(enable);
    for (QCheckBox* box : chkNarr) box->setEnabled(enable);
}

void frmGroups::SetPerChannelPower(bool enable) {
    services_.state.PerChanPwrOn = enable;
    mnuPerChanPwr->setChecked(enable);
    for (QCheckBox* box : chkLoPower) box->setEnabled(enable);
}

void frmGroups::SetChangedOnly(bool enable) {
    mnuChangedOnly->setChecked(enable);
    radio_->setChangedOnly(enable);
}

void frmGroups::mnuPerChanBand_Click() {
    const bool on = !services_.state.PerChanBandOn;
    SetPerChannelBandwidth(on);
    services_.settings.saveFlag(kFeatures, QStringLiteral("Band"), on);
}

void frmGroups::mnuPerChanPwr_Click() {
    const bool on = !services_.state.PerChanPwrOn;
    SetPerChannelPower(on);
    services_.settings.saveFlag(kFeatures, QStringLiteral("Power"), on);
}

void frmGroups::helpScreen(int context) {
    if (context == 1)
        services_.prompter.show(QStringLiteral("Enter the frequency offset, eg: -2, 7"), QString(),
                                MsgButtons::Ok, MsgIcon::None);
}

// ------------------------------------------------------------------ other windows

void frmGroups::mnuPrint_Click() {
    const int index = cboCurrentGroup->currentIndex();
    if (index >= 0) showGroup(static_cast<int16_t>(index));
    PrintUnitData();
}

void frmGroups::PrintUnitData() {
    printService_->PrintUnitData(this, services_.state, Files->PrintFileName);
}

void frmGroups::mnuSetup_Click() { printService_->PrintSetup(this); }

void frmGroups::showTune() {
    if (!comm_) {
        services_.prompter.show(QStringLiteral("No serial port is available for tuning."),
                                QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    frmTune tune(LinkContext{services_.state, *activeLink(), services_.clock, services_.prompter,
                             *progress_},
                 this);
    tune.exec();
}

void frmGroups::showAbout() {
    AboutBox box(services_.prompter, this);
    box.exec();
}

void frmGroups::showHelp() {
    if (!helpWindow_) helpWindow_ = new HelpWindow(this);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

// ------------------------------------------------------------------ place and close

void frmGroups::restorePosition() {
    RestoreWindowPosition(*this, services_.settings, kPosition, QStringLiteral("GroupTop"),
                          QStringLiteral("GroupLeft"));
}

void frmGroups::restoreState() {
    switch (services_.settings.integer(kPosition, QStringLiteral("State"), 0)) {
        case 1:
            setWindowState(Qt::WindowMinimized);
            break;
        case 2:
            setWindowState(Qt::WindowMaximized);
            break;
        default:
            break;
    }
}

void frmGroups::closeEvent(QCloseEvent* e) {
    // The transfer under way would go on with a closed port and a window gone.
    if (transferRunning()) {
        services_.clock.beep();
        e->ignore();
        return;
    }
    const MsgResult answer = services_.prompter.show(QStringLiteral("Save before exit?"), QString(),
                                                     MsgButtons::YesNoCancel, MsgIcon::Question);
    const bool saved = answer == MsgResult::Yes && Files->SaveFileAs();
    if (answer == MsgResult::Cancel || (answer == MsgResult::Yes && !saved)) {
        e->ignore();
        return;
    }
    unload();
    e->accept();
}

void frmGroups::unload() {
    Settings& settings = services_.settings;
    const Qt::WindowStates ws = windowState();
    const int stateNumber = ws & Qt::WindowMinimized ? 1 : ws & Qt::WindowMaximized ? 2 : 0;
    settings.saveInteger(kPosition, QStringLiteral("State"), stateNumber);
    if (stateNumber == 0)
        SaveWindowPosition(*this, settings, kPosition, QStringLiteral("GroupTop"),
                           QStringLiteral("GroupLeft"));
    settings.sync();
    dropLink();
    if (comm_ && comm_->isOpen()) comm_->close();
    runHook(hooks.closeGlobals);
    if (helpWindow_) helpWindow_->close();
    procDialog->hide();
    emit unloaded();
}

void frmGroups::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !transferRunning())
        mnuPaste->setEnabled(pasteAvailable());
}

}  // namespace tav
