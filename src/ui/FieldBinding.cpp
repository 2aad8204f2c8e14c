#include "ui/FieldBinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "model/EntryRules.h"
#include "model/HexDigitValidator.h"
#include "model/LabelText.h"

namespace tav {

namespace {
// The caption without the colon that leads to its control.
QString bareCaption(const FieldDef& f) {
    QString c = QLatin1String(f.caption);
    if (c.endsWith(u':')) c.chop(1);
    return c;
}
}  // namespace

FieldBindings::FieldBindings(FieldScope scope, QObject* parent) : QObject(parent), scope_(scope) {}

const FieldDef& FieldBindings::field(const char* key) const {
    return Field(scope_, key);
}

QString FieldBindings::caption(const char* key) const {
    return QLatin1String(field(key).caption);
}

QComboBox* FieldBindings::list(QComboBox* box, const char* key) {
    const FieldDef& f = field(key);
    box->addItems(f.entries);
    bindings_.push_back({.field = &f, .list = box});
    connect(box, &QComboBox::activated, this, [this, &f] { emit edited(QLatin1String(f.key)); });
    return box;
}

QCheckBox* FieldBindings::check(QCheckBox* box, const char* key) {
    const FieldDef& f = field(key);
    bindings_.push_back({.field = &f, .check = box});
    userEdits(f, box);
    return box;
}

QLineEdit* FieldBindings::text(QLineEdit* box, const char* key, Refused refused) {
    const FieldDef& f = field(key);
    const auto refuse = [refused, caption = bareCaption(f)](const QString& typed,
                                                            const QString& why) {
        if (refused) refused(caption, typed, why);
    };
    if (f.type == FieldType::HexDigits) {
        box->setMaxLength(HexDigitCount(f));
        box->setValidator(new HexDigitValidator(HexDigitCount(f), box, refuse));
    } else {
        box->setMaxLength(2 * kLabelCells);  // each cell may have a "." after it
        box->setValidator(new EntryValidator(CheckLabelEntry, box, refuse));
    }
    bindings_.push_back({.field = &f, .text = box});
    connect(box, &QLineEdit::textEdited, this, [this, &f] { emit edited(QLatin1String(f.key)); });
    return box;
}

void FieldBindings::options(const char* key, const std::vector<QRadioButton*>& byEntry) {
    const FieldDef& f = field(key);
    for (std::size_t i = 0; i < byEntry.size(); ++i) {
        byEntry[i]->setText(f.entries.value(int(i)));
        userEdits(f, byEntry[i]);
    }
    bindings_.push_back({.field = &f, .options = byEntry});
}

void FieldBindings::userEdits(const FieldDef& f, QObject* control) {
    connect(static_cast<QAbstractButton*>(control), &QAbstractButton::clicked, this,
            [this, &f] { emit edited(QLatin1String(f.key)); });
}

void FieldBindings::show(const FieldValues& values) const {
    for (const Binding& b : bindings_) {
        const QString key = QLatin1String(b.field->key);
        if (b.list) b.list->setCurrentIndex(values.number(key));
        if (b.check) b.check->setChecked(values.number(key) != 0);
        if (b.text) b.text->setText(values.text(key));
        const int chosen = values.number(key);
        if (chosen >= 0 && chosen < int(b.options.size()))
            b.options[std::size_t(chosen)]->setChecked(true);
    }
}

void FieldBindings::take(FieldValues& values) const {
    for (const Binding& b : bindings_) {
        const QString key = QLatin1String(b.field->key);
        if (b.list) values.setNumber(key, std::max(0, b.list->currentIndex()));
        if (b.check) values.setNumber(key, b.check->isChecked() ? 1 : 0);
        if (b.text) values.setText(key, b.text->text());
        if (!b.options.empty()) {
            const auto on = std::find_if(b.options.begin(), b.options.end(),
                                         [](const QRadioButton* o) { return o->isChecked(); });
            values.setNumber(key, on == b.options.end() ? 0 : int(on - b.options.begin()));
        }
    }
}

QStringList FieldBindings::keys() const {
    QStringList k;
    for (const Binding& b : bindings_) k << QLatin1String(b.field->key);
    return k;
}

}  // namespace tav
