#include "ui/frmFleet.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/QtSerialLink.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {

using namespace tav::fleet;

constexpr int kPreviewRows = 5;
constexpr int kMaxVirtualStations = 8;

QSpinBox* spinBox(QWidget* parent, const char* name, int min, int max) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    return s;
}

// A table's height for `rows` rows, its header counted as one.
int tableHeight(int rows) {
    QTableWidget probe;
    return probe.verticalHeader()->defaultSectionSize() * rows + 2 * probe.frameWidth() + 4;
}

template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

}  // namespace

frmFleet::frmFleet(frmGroups& main, Settings& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), main_(main), settings_(settings), prompter_(prompter) {
    setObjectName(QStringLiteral("frmFleet"));
    setWindowTitle(QStringLiteral("Program Fleet"));
    setModal(false);
    // A window of its own beside the editor, with the frame's usual buttons.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    listPorts = QtSerialLink::presentDevices;
    choosePlanFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Plan File"), planFile_,
                                            QStringLiteral("Plan files (*.csv);;All files (*)"));
    };

    auto* splitter = named(new QSplitter(Qt::Vertical, this), "splFleet");
    splitter->addWidget(buildSetup());
    splitter->addWidget(buildRun());
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    cmdStart = named(new QPushButton(QStringLiteral("Start"), this), "cmdStart");
    cmdStopAfter =
        named(new QPushButton(QStringLiteral("Stop after current radios"), this), "cmdStopAfter");
    cmdStopNow = named(new QPushButton(QStringLiteral("Stop now"), this), "cmdStopNow");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    cmdStart->setDefault(true);
    connect(cmdStart, &QPushButton::clicked, this, &frmFleet::start);
    connect(cmdStopAfter, &QPushButton::clicked, this, [this] {
        if (run_) run_->stop(StopLevel::AfterRadio);
        cmdStopAfter->setEnabled(false);
    });
    connect(cmdStopNow, &QPushButton::clicked, this, &frmFleet::stopNow);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdStart, cmdStopAfter, cmdStopNow, cmdClose}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    refresh_.setInterval(500);
    connect(&refresh_, &QTimer::timeout, this, &frmFleet::showLog);
    resize(1000, 860);
    updateButtons();
}

frmFleet::~frmFleet() {
    // The editor asked before it closed; what is left is to let the stations log and end.
    if (run_) run_->stopAndWait();
}

QWidget* frmFleet::buildSetup() {
    auto* setup = named(new QWidget(this), "fraSetup");

    auto* fraTemplate = named(new QGroupBox(QStringLiteral("Template"), setup), "fraTemplate");
    lblTemplate = named(new QLabel(fraTemplate), "lblTemplate");
    chkLabels = named(new QCheckBox(QStringLiteral("Include labels"), fraTemplate), "chkLabels");
    auto* t = new QVBoxLayout(fraTemplate);
    t->addWidget(lblTemplate);
    t->addWidget(chkLabels);
    t->addStretch();

    auto* fraPlan = named(new QGroupBox(QStringLiteral("Plan"), setup), "fraPlan");
    optAniRange = named(new QRadioButton(QStringLiteral("ANI/ID from"), fraPlan), "optAniRange");
    txtAniFrom = named(new QLineEdit(fraPlan), "txtAniFrom");
    txtAniFrom->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,7}")), txtAniFrom));
    // Seven digits, never cut.
    txtAniFrom->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("DDDDDDDD")) +
                                fontMetrics().height());
    txtAniFrom->setMaximumWidth(txtAniFrom->minimumWidth());
    spnAniStep = spinBox(fraPlan, "spnAniStep", 1, 0xFFFF);
    spnCount = spinBox(fraPlan, "spnCount", 1, 100000);
    optPlanFile = named(new QRadioButton(fraPlan), "optPlanFile");
    cmdPlanFile = named(new QPushButton(QStringLiteral("Plan file\u2026"), fraPlan), "cmdPlanFile");
    lblPlanFile = named(new QLabel(fraPlan), "lblPlanFile");
    lblPlanFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tvwPreview = named(new QTreeWidget(fraPlan), "tvwPreview");
    tvwPreview->setHeaderLabels(
        {QStringLiteral("Row"), QStringLiteral("Values"), QStringLiteral("ID")});
    tvwPreview->setRootIsDecorated(false);
    tvwPreview->setMinimumHeight(fontMetrics().height() * 4);
    tvwPreview->setMaximumHeight(fontMetrics().height() * (kPreviewRows + 3));
    tvwPreview->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    tvwPreview->header()->setStretchLastSection(false);
    lblPlanError = named(new QLabel(fraPlan), "lblPlanError");
    lblPlanError->setWordWrap(true);
    lblPlanError->setStyleSheet(QStringLiteral("color: #c00000"));
    auto* range = new QHBoxLayout;
    range->addWidget(optAniRange);
    range->addWidget(txtAniFrom);
    range->addWidget(new QLabel(QStringLiteral("step"), fraPlan));
    range->addWidget(spnAniStep);
    range->addWidget(new QLabel(QStringLiteral("radios"), fraPlan));
    range->addWidget(spnCount);
    range->addStretch();
    auto* file = new QHBoxLayout;
    file->addWidget(optPlanFile);
    file->addWidget(cmdPlanFile);
    file->addWidget(lblPlanFile, 1);
    auto* p = new QVBoxLayout(fraPlan);
    p->addLayout(range);
    p->addLayout(file);
    p->addWidget(tvwPreview, 1);
    p->addWidget(lblPlanError);

    auto* fraPorts = named(new QGroupBox(QStringLiteral("Ports"), setup), "fraPorts");
    lstPorts = named(new QListWidget(fraPorts), "lstPorts");
    lstPorts->setMinimumHeight(fontMetrics().height() * 3);
    lstPorts->setMaximumHeight(fontMetrics().height() * (kPreviewRows + 3));
    cmdRefreshPorts =
        named(new QPushButton(QStringLiteral("Refresh"), fraPorts), "cmdRefreshPorts");
    spnVirtual = spinBox(fraPorts, "spnVirtual", 0, kMaxVirtualStations);
    auto* virt = new QHBoxLayout;
    virt->addWidget(new QLabel(QStringLiteral("Virtual radios:"), fraPorts));
    virt->addWidget(spnVirtual);
    virt->addStretch();
    virt->addWidget(cmdRefreshPorts);
    auto* po = new QVBoxLayout(fraPorts);
    po->addWidget(lstPorts, 1);
    po->addLayout(virt);

    auto* fraOptions = named(new QGroupBox(QStringLiteral("Options"), setup), "fraOptions");
    chkChangedOnly = named(new QCheckBox(QStringLiteral("Write only changed data"), fraOptions),
                           "chkChangedOnly");
    chkVerify = named(new QCheckBox(QStringLiteral("Verify after write"), fraOptions), "chkVerify");
    spnRetries = spinBox(fraOptions, "spnRetries", 0, 9);
    auto* retries = new QHBoxLayout;
    retries->addWidget(new QLabel(QStringLiteral("Retries:"), fraOptions));
    retries->addWidget(spnRetries);
    retries->addStretch();
    auto* o = new QVBoxLayout(fraOptions);
    o->addWidget(chkChangedOnly);
    o->addWidget(chkVerify);
    o->addLayout(retries);
    o->addStretch();

    auto* fraLog = named(new QGroupBox(QStringLiteral("Log"), setup), "fraLog");
    txtLog = named(new QLineEdit(fraLog), "txtLog");
    txtLog->setToolTip(QStringLiteral("A database file, or postgresql://USER@HOST/DB"));
    auto* l = new QVBoxLayout(fraLog);
    l->addWidget(txtLog);

    auto* grid = new QGridLayout(setup);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(fraTemplate, 0, 0);
    grid->addWidget(fraOptions, 0, 1);
    grid->addWidget(fraPlan, 1, 0, 2, 1);
    grid->addWidget(fraPorts, 1, 1);
    grid->addWidget(fraLog, 3, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(1, 1);

    connect(optAniRange, &QRadioButton::toggled, this, &frmFleet::checkPlan);
    connect(txtAniFrom, &QLineEdit::textChanged, this, &frmFleet::checkPlan);
    connect(spnAniStep, &QSpinBox::valueChanged, this, &frmFleet::checkPlan);
    connect(spnCount, &QSpinBox::valueChanged, this, &frmFleet::checkPlan);
    connect(cmdPlanFile, &QPushButton::clicked, this, [this] {
        const QString path = choosePlanFile();
        if (path.isEmpty()) return;
        planFile_ = path;
        optPlanFile->setChecked(true);
        checkPlan();
    });
    connect(cmdRefreshPorts, &QPushButton::clicked, this, &frmFleet::refreshPorts);
    connect(lstPorts, &QListWidget::itemChanged, this, &frmFleet::updateButtons);
    connect(spnVirtual, &QSpinBox::valueChanged, this, &frmFleet::updateButtons);
    connect(txtLog, &QLineEdit::textChanged, this, &frmFleet::updateButtons);
    connect(txtLog, &QLineEdit::textChanged, this, &frmFleet::showStoredLog);
    return setup;
}

QWidget* frmFleet::buildRun() {
    auto* runPane = named(new QWidget(this), "fraRun");
    tblStations = named(new QTableWidget(0, 5, runPane), "tblStations");
    tblStations->setHorizontalHeaderLabels({QStringLiteral("Port"), QStringLiteral("State"),
                                            QStringLiteral("Radios done"), QStringLiteral("ID"),
                                            QStringLiteral("Progress")});
    tblStations->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tblStations->verticalHeader()->hide();
    tblStations->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The header and three stations at the least.
    tblStations->setMinimumHeight(tableHeight(4));
    lblTotals = named(new QLabel(runPane), "lblTotals");
    lblPace = named(new QLabel(runPane), "lblPace");
    tblLog = named(new QTableWidget(0, LogLineHeader().size(), runPane), "tblLog");
    tblLog->setHorizontalHeaderLabels(LogLineHeader());
    tblLog->horizontalHeader()->setStretchLastSection(true);
    tblLog->verticalHeader()->hide();
    tblLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblLog->setMinimumHeight(tableHeight(3));
    auto* totals = new QHBoxLayout;
    totals->addWidget(lblTotals);
    totals->addStretch();
    totals->addWidget(lblPace);
    auto* layout = new QVBoxLayout(runPane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tblStations, 2);
    layout->addLayout(totals);
    layout->addWidget(tblLog, 3);
    return runPane;
}

void frmFleet::showFleet() {
    if (!running()) {
        // The template is the image as the editor shows it now.
        main_.StoreCurrentGroup();
        templ_ = main_.state();
        const QString file = main_.Files->CurrentFileName;
        templateName_ =
            file.isEmpty() ? QStringLiteral("(unsaved image)") : QFileInfo(file).fileName();
        lblTemplate->setText(templateName());
        loadChoices();
        showStoredLog();
    }
    show();
    raise();
    activateWindow();
}

void frmFleet::refreshPorts() {
    QStringList checked;
    for (int i = 0; i < lstPorts->count(); ++i)
        if (lstPorts->item(i)->checkState() == Qt::Checked) checked << lstPorts->item(i)->text();
    loadPortList(checked);
}

void frmFleet::loadPortList(const QStringList& checked) {
    const QSignalBlocker quiet(lstPorts);
    lstPorts->clear();
    for (const QString& device : listPorts()) {
        auto* item = new QListWidgetItem(device, lstPorts);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(device) ? Qt::Checked : Qt::Unchecked);
    }
    updateButtons();
}

void frmFleet::loadChoices() {
    const FleetChoices c = FleetChoices::load(settings_, templateName());
    loading_ = true;
    chkLabels->setChecked(c.labels);
    txtAniFrom->setText(c.aniFrom);
    spnAniStep->setValue(c.aniStep);
    spnCount->setValue(c.count);
    planFile_ = c.planFile;
    (c.planFromFile ? optPlanFile : optAniRange)->setChecked(true);
    spnVirtual->setValue(c.virtualStations);
    chkChangedOnly->setChecked(c.changedOnly);
    chkVerify->setChecked(c.verify);
    spnRetries->setValue(c.retries);
    txtLog->setText(c.log.isEmpty() ? DefaultLogFile(templateName()) : c.log);
    loadPortList(c.ports);
    loading_ = false;
    checkPlan();
}

FleetChoices frmFleet::choices() const {
    FleetChoices c;
    c.planFromFile = optPlanFile->isChecked();
    c.aniFrom = txtAniFrom->text();
    c.aniStep = spnAniStep->value();
    c.count = spnCount->value();
    c.planFile = planFile_;
    for (int i = 0; i < lstPorts->count(); ++i)
        if (lstPorts->item(i)->checkState() == Qt::Checked) c.ports << lstPorts->item(i)->text();
    c.virtualStations = spnVirtual->value();
    c.labels = chkLabels->isChecked();
    c.changedOnly = chkChangedOnly->isChecked();
    c.verify = chkVerify->isChecked();
    c.retries = spnRetries->value();
    c.log = txtLog->text() == DefaultLogFile(templateName()) ? QString() : txtLog->text();
    return c;
}

void frmFleet::checkPlan() {
    if (loading_) return;
    lblPlanFile->setText(planFile_.isEmpty() ? QStringLiteral("(none chosen)")
                                             : QFileInfo(planFile_).fileName());
    QString why;
    plan_ = FleetPlan{};
    bool ok = false;
    if (optPlanFile->isChecked()) {
        QFile f(planFile_);
        if (planFile_.isEmpty())
            why = QStringLiteral("Choose a plan file.");
        else if (!f.open(QIODevice::ReadOnly))
            why = QStringLiteral("cannot read %1: %2").arg(planFile_, f.errorString());
        else
            ok = PlanFromCsv(QString::fromUtf8(f.readAll()), plan_, &why);
    } else if (txtAniFrom->text().isEmpty()) {
        why = QStringLiteral("Enter the first ANI/ID (1 to 7 hexadecimal digits).");
    } else {
        ok = PlanFromAniRange(txtAniFrom->text(), spnAniStep->value(), spnCount->value(), plan_,
                              &why);
    }
    tvwPreview->clear();
    for (const PreviewRow& r : PlanPreview(templ_, plan_, kPreviewRows))
        new QTreeWidgetItem(tvwPreview, {QString::number(r.number), r.values, r.id});
    planOk_ = ok && CheckPlan(templ_, plan_, &why);
    lblPlanError->setText(planOk_ ? QString() : why);
    updateButtons();
}

void frmFleet::updateButtons() {
    const bool busy = running();
    bool anyPort = spnVirtual->value() > 0;
    for (int i = 0; i < lstPorts->count(); ++i)
        anyPort = anyPort || lstPorts->item(i)->checkState() == Qt::Checked;
    cmdStart->setEnabled(!busy && planOk_ && anyPort && !txtLog->text().trimmed().isEmpty());
    cmdStopAfter->setEnabled(busy && run_->stopLevel() < int(StopLevel::AfterRadio));
    cmdStopNow->setEnabled(busy && run_->stopLevel() < int(StopLevel::Now));
    findChild<QWidget*>(QStringLiteral("fraSetup"))->setEnabled(!busy);
}

QString frmFleet::logText() const {
    return txtLog->text().trimmed();
}

}  // namespace tav
