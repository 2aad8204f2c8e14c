#pragma once
// Controls bound to the radio's fields by key. A bound control takes its list
// (or its option buttons' captions) from the field's entries and its entry
// rule from the field's kind; it shows the value the codecs read into a
// FieldValues and gives the user's value back, so no window copies a widget
// to or from a value by hand.

#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

#include "model/Controls.h"
#include "model/FieldTable.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tav {

class FieldBindings : public QObject {
    Q_OBJECT

public:
    // A text box's refusal of a key: the field's caption, what it would have
    // become, and why not.
    using Refused =
        std::function<void(const QString& caption, const QString& typed, const QString& why)>;

    FieldBindings(FieldScope scope, QObject* parent);

    // Each binds its control to the field `key` and returns it. A list gets
    // the field's entries; a text box the field's length and entry rule.
    QComboBox* list(QComboBox* box, const char* key);
    QCheckBox* check(QCheckBox* box, const char* key);
    QLineEdit* text(QLineEdit* box, const char* key, Refused refused);
    // Option buttons, one per entry of the field's list in entry order; each
    // gets its entry as caption.
    void options(const char* key, const std::vector<QRadioButton*>& byEntry);

    // The field's caption as its window shows it.
    QString caption(const char* key) const;

    // Every bound control shows its value; and gives it back. A list with no
    // entry chosen and option buttons with none checked give their first entry.
    void show(const FieldValues& values) const;
    void take(FieldValues& values) const;

    // The bound fields' keys, in the order they were bound.
    QStringList keys() const;

signals:
    // The user changed a bound control (never show()): the one place where a
    // window learns of an edit of a field.
    void edited(const QString& key);

private:
    struct Binding {
        const FieldDef* field;
        QComboBox* list = nullptr;
        QCheckBox* check = nullptr;
        QLineEdit* text = nullptr;
        std::vector<QRadioButton*> options = {};
    };
    const FieldDef& field(const char* key) const;
    void userEdits(const FieldDef& f, QObject* control);

    FieldScope scope_;
    std::vector<Binding> bindings_;
};

}  // namespace tav
