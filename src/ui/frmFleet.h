#pragma once
// Program Fleet: the image open in the editor written to radio after radio
// on several ports at once, each radio with its own plan row. The window
// sets up the run (template, plan, ports, options, log), then shows each
// station's state while radios are swapped, the totals and pace, and the
// log as the database holds it. The run itself is the fleet core's.

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Ports.h"
#include "app/Settings.h"
#include "fleet/FleetBoard.h"
#include "fleet/FleetPlan.h"
#include "fleet/FleetRun.h"
#include "fleet/VirtualStations.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTreeWidget;

namespace tav {

class frmGroups;

class frmFleet : public QDialog {
    Q_OBJECT

public:
    frmFleet(frmGroups& main, Settings& settings, Prompter& prompter, QWidget* parent = nullptr);
    ~frmFleet() override;

    // Shows the window (or raises it) with the editor's image as the
    // template and the ports present now.
    void showFleet();
    bool running() const { return run_ && run_->running(); }
    // Closes the window, asking first while stations write; false when kept open.
    bool closeWithQuestion();
    // The template's name: the editor's file name when the window was
    // shown, or "(unsaved image)".
    QString templateName() const { return templateName_; }

    // Where the window looks for serial ports and plan files; tests put their own.
    std::function<QStringList()> listPorts;
    std::function<QString()> choosePlanFile;
    fleet::VirtualStations& virtualStations() { return virtual_; }
    // Between hook attempts while a station has no radio.
    double probeSeconds = 2.0;

    QLabel* lblTemplate = nullptr;
    QCheckBox* chkLabels = nullptr;
    QRadioButton *optAniRange = nullptr, *optPlanFile = nullptr;
    QLineEdit* txtAniFrom = nullptr;
    QSpinBox *spnAniStep = nullptr, *spnCount = nullptr;
    QPushButton* cmdPlanFile = nullptr;
    QLabel *lblPlanFile = nullptr, *lblPlanError = nullptr;
    QTreeWidget* tvwPreview = nullptr;
    QListWidget* lstPorts = nullptr;
    QPushButton* cmdRefreshPorts = nullptr;
    QSpinBox* spnVirtual = nullptr;
    QCheckBox *chkChangedOnly = nullptr, *chkVerify = nullptr;
    QSpinBox* spnRetries = nullptr;
    QLineEdit* txtLog = nullptr;
    QTableWidget *tblStations = nullptr, *tblLog = nullptr;
    QLabel *lblTotals = nullptr, *lblPace = nullptr;
    QPushButton *cmdStart = nullptr, *cmdStopAfter = nullptr, *cmdStopNow = nullptr,
                *cmdClose = nullptr;

signals:
    // Every station of the run has ended and the log says so.
    void runFinished();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* buildSetup();
    QWidget* buildRun();
    void refreshPorts();
    void loadPortList(const QStringList& checked);
    void loadChoices();
    fleet::FleetChoices choices() const;
    // The plan from the controls, checked against the template: shown, with
    // what is wrong with it, and Start enabled only for a good one.
    void checkPlan();
    void updateButtons();
    QString logText() const;

    void start();
    void stopNow();
    // Stops every station at once and waits until each has logged its radio.
    void endRun();
    void stationChanged(const fleet::StationStatus& s);
    void runEnded();
    // The running fleet's totals and log.
    void showLog();
    // While no fleet runs: the log named in the Log box as earlier runs left
    // it, when it is a file that exists. Looking creates no file and changes
    // none; a server is asked only at Start.
    void showStoredLog();
    void fillLog(fleet::FleetLog& log);

    frmGroups& main_;
    Settings& settings_;
    Prompter& prompter_;
    AppState templ_;
    QString templateName_;
    fleet::FleetPlan plan_;
    bool planOk_ = false;
    QString planFile_;
    fleet::VirtualStations virtual_;
    std::unique_ptr<fleet::FleetRun> run_;
    QList<fleet::StationStatus> stations_;
    QElapsedTimer elapsed_;
    qint64 elapsedMs_ = 0;
    QTimer refresh_;
    bool loading_ = false;
};

}  // namespace tav
