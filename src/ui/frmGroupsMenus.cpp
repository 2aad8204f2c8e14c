// The main window's menu bar, built from one table: each entry names the menu
// it goes into, its caption and shortcut, the field that keeps it, and what it
// does.

#include <QActionGroup>
#include <QMenuBar>

#include "files/RecentFiles.h"
#include "ui/RadioCommands.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {

enum class Kind { Menu, Item, Separator, HiddenSeparator, Ports, LabelPolicies, RecentFiles };
enum Flags { Checkable = 1, Hidden = 2, Disabled = 4 };

struct MenuEntry {
    Kind kind;
    const char* parent;  // object name of the menu it goes into; null for the menu bar
    const char* name = nullptr;
    const char* caption = nullptr;
    QKeyCombination key = {};
    QAction* frmGroups::*field = nullptr;
    void (*run)(frmGroups&) = nullptr;
    int flags = 0;
};

}  // namespace

void frmGroups::buildMenus() {
    using W = frmGroups;
    using F = frmGroups&;
    static const MenuEntry entries[] = {
        {Kind::Menu, nullptr, "mnuFile", "&File"},
        {Kind::Item, "mnuFile", "mnuSave", "&Save", Qt::CTRL | Qt::Key_S, &W::mnuSave,
         [](F w) { w.Files->SaveFile(); }},
        {Kind::Item,
         "mnuFile",
         "mnuSaveAs",
         "Sa&ve As",
         {},
         &W::mnuSaveAs,
         [](F w) { w.Files->SaveFileAs(); }},
        {Kind::Separator, "mnuFile"},
        {Kind::Item, "mnuFile", "mnuOpen", "&Open", Qt::CTRL | Qt::Key_O, &W::mnuOpen,
         [](F w) { w.Files->OpenFile(); }},
        {Kind::Separator, "mnuFile"},
        {Kind::Item,
         "mnuFile",
         "mnuExportCsv",
         "Export Channels (CSV)...",
         {},
         &W::mnuExportCsv,
         [](F w) { w.ExportChannels(); }},
        {Kind::Item,
         "mnuFile",
         "mnuImportCsv",
         "Import Channels (CSV)...",
         {},
         &W::mnuImportCsv,
         [](F w) { w.ImportChannels(); }},
        {Kind::Separator, "mnuFile"},
        {Kind::Item, "mnuFile", "mnuPrint", "&Print", Qt::CTRL | Qt::Key_P, &W::mnuPrint,
         [](F w) { w.mnuPrint_Click(); }},
        {Kind::Item,
         "mnuFile",
         "mnuSetup",
         "Print Set&up",
         {},
         &W::mnuSetup,
         [](F w) { w.mnuSetup_Click(); }},
        {Kind::Separator, "mnuFile"},
        {Kind::Item,
         "mnuFile",
         "mnuBackupFolder",
         "Open Backup Folder",
         {},
         &W::mnuBackupFolder,
         [](F w) { w.openBackupFolder(); }},
        {Kind::Item, "mnuFile", "mnuExit", "&Exit", {}, &W::mnuExit, [](F w) { w.close(); }},
        {Kind::RecentFiles, "mnuFile"},

        {Kind::Menu, nullptr, "mnuRadio", "&Radio"},
        {Kind::Item, "mnuRadio", "mnuRead", "Read Radio", Qt::Key_F2, &W::mnuRead,
         [](F w) { w.radio().mnuRead_Click(); }},
        {Kind::Item,
         "mnuRadio",
         "mnuReadGlobal",
         "Read Global Information from Radio",
         {},
         &W::mnuReadGlobal,
         [](F w) { w.radio().mnuReadGlobal_Click(); }},
        {Kind::Item,
         "mnuRadio",
         "mnuReadGroup",
         "Read Group from Radio",
         {},
         &W::mnuReadGroup,
         [](F w) { w.radio().mnuReadGroup_Click(); }},
        {Kind::Item, "mnuRadio", "mnuWriteAll", "Write Radio", Qt::Key_F3, &W::mnuWriteAll,
         [](F w) { w.radio().mnuWriteAll_Click(); }},
        {Kind::Item,
         "mnuRadio",
         "mnuWriteGlobal",
         "Write Global Information To Radio",
         {},
         &W::mnuWriteGlobal,
         [](F w) { w.radio().mnuWriteGlobal_Click(); }},
        {Kind::Item, "mnuRadio", "mnuWriteGroup", "Write Current Group to Radio", Qt::Key_F4,
         &W::mnuWriteGroup, [](F w) { w.radio().mnuWriteGroup_Click(); }},
        {Kind::Separator, "mnuRadio"},
        {Kind::Item,
         "mnuRadio",
         "mnuCompare",
         "Compare with Radio",
         {},
         &W::mnuCompare,
         [](F w) { w.radio().mnuCompare_Click(); }},
        // The pair below (and the separator before it) exists but is never shown.
        {Kind::HiddenSeparator, "mnuRadio"},
        {Kind::Item,
         "mnuRadio",
         "mnuReadCurrGroup",
         "Read Current Group",
         {},
         &W::mnuReadCurrGroup,
         nullptr,
         Hidden},
        {Kind::Item,
         "mnuRadio",
         "mnuWriteCurrGroup",
         "Write Current Group",
         {},
         &W::mnuWriteCurrGroup,
         [](F w) { w.mnuWriteCurrGroup_Click(); },
         Hidden},
        {Kind::Separator, "mnuRadio"},
        {Kind::Menu, "mnuRadio", "mnuLabels", "Labels"},
        {Kind::Item,
         "mnuLabels",
         "mnuLabelRdGroup",
         "Read Current Group",
         {},
         &W::mnuLabelRdGroup,
         [](F w) { w.radio().mnuLabelRdGroup_Click(); }},
        {Kind::Item,
         "mnuLabels",
         "mnuLabelRdRadio",
         "Read Radio",
         {},
         &W::mnuLabelRdRadio,
         [](F w) { w.radio().mnuLabelRdRadio_Click(); }},
        {Kind::Item,
         "mnuLabels",
         "mnuLabelWrtGroup",
         "Write Current Group",
         {},
         &W::mnuLabelWrtGroup,
         [](F w) { w.radio().mnuLabelWrtGroup_Click(); }},
        {Kind::Item,
         "mnuLabels",
         "mnuLabelWrtRadio",
         "Write Radio",
         {},
         &W::mnuLabelWrtRadio,
         [](F w) { w.radio().mnuLabelWrtRadio_Click(); }},
        {Kind::Menu, "mnuRadio", "mnuLabelConfigMenu", "Config"},
        {Kind::LabelPolicies, "mnuLabelConfigMenu"},
        {Kind::Separator, "mnuRadio"},
        {Kind::Item,
         "mnuRadio",
         "mnuFleet",
         "Program Fleet…",
         {},
         &W::mnuFleet,
         [](F w) { w.runHook(w.hooks.showFleet); }},

        {Kind::Menu, nullptr, "mnuEdit", "&Edit"},
        {Kind::Item,
         "mnuEdit",
         "mnuGlobals",
         "Global Parameters",
         {},
         &W::mnuGlobals,
         [](F w) { w.runHook(w.hooks.showGlobals); }},
        {Kind::Item, "mnuEdit", "mnuUndo", "Undo", Qt::CTRL | Qt::Key_Z, &W::mnuUndo,
         [](F w) { w.Undo(); }},
        {Kind::Item, "mnuEdit", "mnuRedo", "Redo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, &W::mnuRedo,
         [](F w) { w.Redo(); }},
        {Kind::Menu, "mnuEdit", "mnuCopy", "Copy"},
        {Kind::Item, "mnuCopy", "mnuAll", "Copy All", Qt::CTRL | Qt::Key_A, &W::mnuAll,
         [](F w) {
             w.CopyAllRows();
             w.CopiedAll = true;
             w.CopiedRow = false;
         }},
        {Kind::Item, "mnuCopy", "mnuRow", "Copy a row", Qt::CTRL | Qt::Key_R, &W::mnuRow,
         [](F w) { w.CopyRow(); }},
        {Kind::Item, "mnuEdit", "mnuPaste", "Paste", Qt::CTRL | Qt::Key_V, &W::mnuPaste,
         [](F w) { w.Paste(); }},
        {Kind::Item, "mnuEdit", "mnuMove", "Move", Qt::CTRL | Qt::Key_M, &W::mnuMove,
         [](F w) { w.runHook(w.hooks.showMove); }},
        {Kind::Separator, "mnuEdit"},
        {Kind::Item, "mnuEdit", "mnuClearChannel", "Clear Channel",
         Qt::CTRL | Qt::SHIFT | Qt::Key_Delete, &W::mnuClearChannel, [](F w) { w.ClearChannel(); }},
        {Kind::Item, "mnuEdit", "mnuInsertChannel", "Insert Channel", Qt::CTRL | Qt::Key_Insert,
         &W::mnuInsertChannel, [](F w) { w.InsertChannel(); }},
        {Kind::Item, "mnuEdit", "mnuDeleteChannel", "Delete Channel", Qt::CTRL | Qt::Key_Delete,
         &W::mnuDeleteChannel, [](F w) { w.DeleteChannel(); }},
        {Kind::Item, "mnuEdit", "mnuFillDown", "Fill Down", Qt::CTRL | Qt::Key_D, &W::mnuFillDown,
         [](F w) { w.FillDown(); }},

        {Kind::Item, nullptr, "mnuTune", "Tune", {}, &W::mnuTune, [](F w) { w.showTune(); }},

        {Kind::Menu, nullptr, "mnuConfig", "&Config"},
        {Kind::Ports, "mnuConfig"},
        {Kind::Separator, "mnuConfig"},
        {Kind::Item,
         "mnuConfig",
         "mnuPerChanBand",
         "Per-Channel Bandwidth",
         {},
         &W::mnuPerChanBand,
         [](F w) { w.mnuPerChanBand_Click(); },
         Checkable},
        {Kind::Item,
         "mnuConfig",
         "mnuPerChanPwr",
         "Per-Channel Power",
         {},
         &W::mnuPerChanPwr,
         [](F w) { w.mnuPerChanPwr_Click(); },
         Checkable},
        {Kind::Item,
         "mnuConfig",
         "mnuChangedOnly",
         "Write Only Changed Data",
         {},
         &W::mnuChangedOnly,
         [](F w) {
             w.SetChangedOnly(w.mnuChangedOnly->isChecked());
             w.services_.settings.saveFlag(kFeatures, QStringLiteral("ChangedOnly"),
                                           w.mnuChangedOnly->isChecked());
         },
         Checkable},
        {Kind::Item,
         "mnuConfig",
         "mnuVerifyAfterWrite",
         "Verify After Write",
         {},
         &W::mnuVerifyAfterWrite,
         [](F w) {
             w.SetVerifyAfterWrite(w.mnuVerifyAfterWrite->isChecked());
             w.services_.settings.saveFlag(kFeatures, QStringLiteral("VerifyAfterWrite"),
                                           w.mnuVerifyAfterWrite->isChecked());
         },
         Checkable},
        {Kind::Separator, "mnuConfig"},
        {Kind::Item,
         "mnuConfig",
         "mnuSerialTrace",
         "Serial Trace",
         {},
         &W::mnuSerialTrace,
         [](F w) {
             w.setSerialTrace(w.mnuSerialTrace->isChecked());
             w.services_.settings.saveFlag(kComm, QStringLiteral("Trace"), w.traceOn_);
         },
         Checkable},
        // Says where the trace goes; informs only, so it is never enabled.
        {Kind::Item, "mnuConfig", "mnuTraceFile", "", {}, &W::mnuTraceFile, nullptr, Disabled},

        {Kind::Menu, nullptr, "mnuH", "&Help"},
        {Kind::Item,
         "mnuH",
         "mnuAbout",
         "About TAVEDWIN",
         {},
         &W::mnuAbout,
         [](F w) { w.showAbout(); }},
        {Kind::Item, "mnuH", "mnuHelp", "Help", Qt::CTRL | Qt::Key_H, &W::mnuHelp,
         [](F w) { w.showHelp(); }},
    };

    QMenuBar* bar = menuBar();
    QHash<QString, QMenu*> menus;
    for (const MenuEntry& e : entries) {
        QMenu* menu = e.parent ? menus.value(QLatin1String(e.parent)) : nullptr;
        switch (e.kind) {
            case Kind::Menu: {
                const QString caption = QString::fromLatin1(e.caption);
                QMenu* m = menu ? menu->addMenu(caption) : bar->addMenu(caption);
                m->setObjectName(QLatin1String(e.name));
                menus.insert(m->objectName(), m);
                break;
            }
            case Kind::Separator:
            case Kind::HiddenSeparator:
                menu->addSeparator()->setVisible(e.kind == Kind::Separator);
                break;
            case Kind::Ports:
                addPortItems(menu);
                break;
            case Kind::LabelPolicies:
                addLabelPolicyItems(menu);
                break;
            case Kind::RecentFiles:
                addRecentItems(menu);
                break;
            case Kind::Item: {
                const QString caption = QString::fromLatin1(e.caption);
                QAction* a = menu ? menu->addAction(caption) : bar->addAction(caption);
                a->setObjectName(QLatin1String(e.name));
                if (e.key != QKeyCombination()) a->setShortcut(QKeySequence(e.key));
                a->setCheckable(e.flags & Checkable);
                a->setVisible(!(e.flags & Hidden));
                a->setEnabled(!(e.flags & Disabled));
                this->*e.field = a;
                if (const auto run = e.run)
                    connect(a, &QAction::triggered, this, [this, run, a] {
                        // What was typed and not yet taken is a change of its
                        // own; what the command changes is one step.
                        history_->record(QStringLiteral("Edit"));
                        const EditHistory::Command step(*history_, a->text().remove(u'&'));
                        run(*this);
                    });
                break;
            }
        }
    }
    finishEditMenu();
}

void frmGroups::finishEditMenu() {
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The row commands also on the grid's context menu, for the row clicked.
    Grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    Grid->addActions({mnuClearChannel, mnuInsertChannel, mnuDeleteChannel, mnuFillDown});
}

void frmGroups::addLabelPolicyItems(QMenu* menu) {
    labelGroup_ = new QActionGroup(this);
    const QStringList policies{QStringLiteral("Always Read/Write Labels"),
                               QStringLiteral("Never Read/Write Labels"),
                               QStringLiteral("Prompt to Read/Write Labels")};
    for (int i = 0; i < 3; ++i) {
        QAction* a = menu->addAction(policies[i]);
        a->setObjectName(QStringLiteral("mnuLabelConfig_%1").arg(i));
        a->setCheckable(true);
        labelGroup_->addAction(a);
        mnuLabelConfig[static_cast<std::size_t>(i)] = a;
        connect(a, &QAction::triggered, this, [this, i] {
            setLabelPolicy(i);
            services_.settings.saveInteger(kFeatures, QStringLiteral("Label"), i);
        });
    }
}

void frmGroups::addRecentItems(QMenu* menu) {
    mnuRecentSeparator = menu->addSeparator();
    for (std::size_t i = 0; i < mnuRecent.size(); ++i) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QStringLiteral("mnuRecent_%1").arg(i + 1));
        a->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + int(i))));
        connect(a, &QAction::triggered, this,
                [this, a] { Files->OpenRecent(a->data().toString()); });
        mnuRecent[i] = a;
    }
    recentFilesChanged();
}

void frmGroups::recentFilesChanged() {
    const QStringList paths = RecentFilePaths(services_.settings);
    for (std::size_t i = 0; i < mnuRecent.size(); ++i) {
        const int index = static_cast<int>(i);
        const QString path = paths.value(index);
        // A hidden item's shortcut does nothing.
        mnuRecent[i]->setVisible(!path.isEmpty());
        mnuRecent[i]->setText(RecentFileItemText(index, path));
        mnuRecent[i]->setData(path);
        mnuRecent[i]->setStatusTip(path);
        mnuRecent[i]->setToolTip(path);
    }
    mnuRecentSeparator->setVisible(!paths.isEmpty());
}

void frmGroups::addPortItems(QMenu* menu) {
    portGroup_ = new QActionGroup(this);
    for (int port : {1, 2, 3, 4, kVirtualRadioPort}) {
        QAction* a = menu->addAction(portCaption(port, QString()));
        a->setObjectName(port == kVirtualRadioPort ? QStringLiteral("mnuVirtualRadio")
                                                   : QStringLiteral("mnuCommPort_%1").arg(port));
        a->setCheckable(true);
        portGroup_->addAction(a);
        mnuCommPort[static_cast<std::size_t>(port)] = a;
        connect(a, &QAction::triggered, this, [this, port] {
            selectPort(port);
            if (port == kVirtualRadioPort) {
                services_.settings.saveFlag(kComm, QStringLiteral("Virtual"), true);
            } else {
                services_.settings.saveInteger(kComm, QStringLiteral("Port"), port);
                services_.settings.saveFlag(kComm, QStringLiteral("Virtual"), false);
            }
        });
    }
    refreshPortItems();
    connect(menu, &QMenu::aboutToShow, this, &frmGroups::refreshPortItems);
}

}  // namespace tav
