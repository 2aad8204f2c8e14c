// What the main window takes is what the radio holds: an entry typed into a
// cell editor or the Group Label field that the radio cannot hold is refused
// with a beep, the old value and the reason on the status bar, and the saved
// file keeps its bytes; an accepted one reads back from the saved file as
// the window showed it.

#include "TestMain.h"
#include "UiFixture.h"

namespace tav::test {
QString entryReason(const QString& key);  // Fixtures.h, whose file helpers UiFixture.h has too
}

using namespace tav;
using namespace tav::test;

class TestEntryRefusal : public QObject {
    Q_OBJECT

private slots:
    // Grid column (0: the Group Label)|typed|shown ("" for the old
    // value)|beeps|reason key of the status line ("" for none).
    void entriesTheRadioCannotHold_data() {
        textRows(
            "1|155.0025||1|hold;1|155.0075||1|hold;1|155.003125||1|raster;"
            "1|155.0125|155.01250|0|;1|15.5|155.00000|0|;2|D999||1|guard;2|c||1|guard;"
            "2|1600||1|guard;2|d023-|D023-|0|;2|67|067.0|0|;5|lower~\u00e9{}||1|~;"
            "5|abcdefghi||1|long;5|lower|LOWER|0|;0|~||1|~;0|ABCDEFGXY|ABCDEFGX|1|long;"
            "0|lower|LOWER|0|");
    }
    void entriesTheRadioCannotHold() {
        QFETCH(QStringList, row);
        const int column = row[0].toInt();
        UiRig rig;
        frmGroups& w = rig.open();
        const auto text = [&] { return column ? rig.cell(column, 3) : w.txtGroupLabel->text(); };
        rig.setCell(5, 3, QStringLiteral("OLD"));
        const QString old = text();
        const QString path = rig.home.path() + QStringLiteral("/entry.tav");
        rig.dialogAnswers = {path, path, path};
        w.mnuSave->trigger();
        const QByteArray before = readFile(path);
        w.statusBar()->showMessage(QStringLiteral("an earlier refusal"));

        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        column ? rig.goTo(column, 3) : w.txtGroupLabel->setFocus();
        w.txtGroupLabel->selectAll();
        // The first key opens the cell editor, which has the focus then.
        typeKeys(QApplication::focusWidget(), row[1].left(1));
        typeKeys(QApplication::focusWidget(), row[1].mid(1) + u'\r');
        QCoreApplication::processEvents();  // Enter closes the cell editor by a queued call
        const QString shown = row[2].isEmpty() ? old : row[2];
        QCOMPARE(text(), shown);
        QCOMPARE(rig.clock.beeps(), row[3].toInt());
        const QString field = column
                                  ? w.Grid->model()->headerData(column, Qt::Horizontal).toString()
                                  : QStringLiteral("Group Label");
        QCOMPARE(w.statusBar()->currentMessage(),
                 row[4].isEmpty() ? "" : field + " \"" + row[1] + "\": " + entryReason(row[4]));

        w.mnuSave->trigger();
        if (row[2].isEmpty()) QCOMPARE(readFile(path), before);
        w.mnuOpen->trigger();
        QCOMPARE(text(), column == 1 || column == 2 ? shown : shown.leftJustified(8));
    }
};

TAV_TEST(TestEntryRefusal);
#include "tst_entryrefusal.moc"
