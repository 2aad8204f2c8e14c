#include "tune/TuneBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "model/HexDigitValidator.h"
#include "model/MGlobals.h"
#include "model/TuneStep.h"

namespace tav {

namespace {

constexpr int kArrowsWidth = 16;

// Keys that only move the cursor or select: the text field handles them itself.
bool isNavigation(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll);
    }
}

bool typesCharacter(const QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() != 1 || !t.at(0).isPrint()) return false;
    return !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

// The text field. It forwards its input to the box, which decides what the
// text becomes; only cursor movement is left to the field itself.
class TuneEdit : public QLineEdit {
public:
    explicit TuneEdit(TuneBox* box) : QLineEdit(box), box_(box) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (!box_->keyPress(e)) QLineEdit::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        QLineEdit::keyReleaseEvent(e);
        box_->keyRelease(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        // A middle click would paste the selection clipboard past the rules.
        if (e->button() == Qt::MiddleButton && box_->FixLen() > 0) return;
        QLineEdit::mouseReleaseEvent(e);
        box_->mouseReleased();
    }
    void inputMethodEvent(QInputMethodEvent* e) override {
        if (box_->FixLen() > 0) return;
        QLineEdit::inputMethodEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        box_->focusEntered();
    }
    void focusOutEvent(QFocusEvent* e) override {
        box_->focusLeft();
        QLineEdit::focusOutEvent(e);
    }

private:
    TuneBox* box_;
};

// The pair of arrow buttons, carrying their own increment.
class TuneArrows : public QWidget {
public:
    explicit TuneArrows(QWidget* parent) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        up = makeButton(Qt::UpArrow, QStringLiteral("UpDown1Up"));
        down = makeButton(Qt::DownArrow, QStringLiteral("UpDown1Down"));
        layout->addWidget(up);
        layout->addWidget(down);
    }
    QToolButton* up;
    QToolButton* down;
    int32_t increment = 1;

private:
    QToolButton* makeButton(Qt::ArrowType arrow, const QString& name) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        return b;
    }
};

TuneBox::TuneBox(QWidget* parent)
    : QWidget(parent),
      EditWin(new TuneEdit(this)),
      UpDown1(new TuneArrows(this)),
      beeper_([] { QApplication::beep(); }) {
    EditWin->setObjectName(QStringLiteral("EditWin"));
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    setFocusProxy(EditWin);
    setFocusPolicy(Qt::StrongFocus);
    connect(UpDown1->up, &QToolButton::clicked, this, [this] {
        if (locked_) return;
        EditWin->setFocus(Qt::OtherFocusReason);
        step(true);
    });
    connect(UpDown1->down, &QToolButton::clicked, this, [this] {
        if (locked_) return;
        EditWin->setFocus(Qt::OtherFocusReason);
        step(false);
    });
    // Free-length mode leaves editing to the field; any edit is an entry.
    connect(EditWin, &QLineEdit::textEdited, this, [this] {
        if (fixLen_ <= 0) setPending(true);
    });
    applyFixLenMode();
    Redisplay();
    layoutParts();
}

TuneBox::~TuneBox() = default;

// ------------------------------------------------------------------ properties

void TuneBox::setValue(int32_t v) {
    int64_t x = v;
    if (x > max_) {
        const int64_t modulus = int64_t{max_} + 1;
        x = modulus != 0 ? x % modulus : max_;
    }
    if (x < min_) x = max_;
    value_ = static_cast<int32_t>(x);
    // The new value replaces whatever half-typed entry was showing.
    setPending(false);
    Redisplay();
    touched("Value");
}

void TuneBox::setMin(int32_t v) {
    min_ = v;
    touched("Min");
}

void TuneBox::setMax(int32_t v) {
    max_ = v;
    touched("Max");
}

void TuneBox::setWrap(bool on) {
    wrap_ = on;
    touched("Wrap");
}

int32_t TuneBox::Delta() const {
    return UpDown1->increment;
}

void TuneBox::setDelta(int32_t v) {
    UpDown1->increment = v;
    touched("Delta");
}

void TuneBox::setFixLen(int16_t n) {
    fixLen_ = n;
    applyFixLenMode();
    setPending(false);
    Redisplay();
    touched("FixLen");
}

void TuneBox::setLocked(bool on) {
    locked_ = on;
    EditWin->setEnabled(!on);
    UpDown1->setEnabled(!on);
    touched("Locked");
}

void TuneBox::setMaxInc(int32_t v) {
    maxInc_ = v;
    touched("MaxInc");
}

void TuneBox::touched(const char* name) {
    emit PropertyChanged(QString::fromLatin1(name));
}

const QStringList& TuneBox::persistedNames() {
    static const QStringList names{QStringLiteral("Value"),  QStringLiteral("Min"),
                                   QStringLiteral("Max"),    QStringLiteral("Wrap"),
                                   QStringLiteral("Delta"),  QStringLiteral("FixLen"),
                                   QStringLiteral("Locked"), QStringLiteral("MaxInc")};
    return names;
}

QVariantMap TuneBox::writeProperties() const {
    QVariantMap bag;
    for (const QString& name : persistedNames()) bag.insert(name, property(name.toLatin1()));
    return bag;
}

void TuneBox::readProperties(const QVariantMap& bag) {
    // Limits first, so that Value is folded into the stored range, not the old one.
    static const QList<std::pair<const char*, QVariant>> order{
        {"Min", 0},    {"Max", 255},      {"Wrap", false},   {"Delta", 1},
        {"FixLen", 0}, {"Locked", false}, {"MaxInc", 65535}, {"Value", 0}};
    for (const auto& [name, fallback] : order)
        setProperty(name, bag.value(QString::fromLatin1(name), fallback));
}

void TuneBox::setBeeper(std::function<void()> beeper) {
    beeper_ = std::move(beeper);
}

QLineEdit* TuneBox::editWin() const {
    return EditWin;
}
QToolButton* TuneBox::upButton() const {
    return UpDown1->up;
}
QToolButton* TuneBox::downButton() const {
    return UpDown1->down;
}

// --------------------------------------------------------------------- display

QString TuneBox::formatValue() const {
    QString t = QString::number(static_cast<uint32_t>(value_), 16).toUpper();
    if (fixLen_ > 0) {
        if (t.size() < fixLen_) t.prepend(QString(fixLen_ - t.size(), u'0'));
        t = t.right(fixLen_);
    }
    return t;
}

void TuneBox::Redisplay() {
    showText(caretPos_);
}

void TuneBox::showText(int cursor) {
    EditWin->setText(formatValue());
    EditWin->setCursorPosition(cursor);
}

void TuneBox::setPending(bool on) {
    pending_ = on;
    QPalette p = EditWin->palette();
    p.setColor(QPalette::Text,
               on ? QColor(Qt::red) : QApplication::palette(EditWin).color(QPalette::Text));
    EditWin->setPalette(p);
}

void TuneBox::applyFixLenMode() {
    const bool free = fixLen_ <= 0;
    if (free && !EditWin->validator()) {
        EditWin->setValidator(new HexDigitValidator(8, EditWin));
    } else if (!free && EditWin->validator()) {
        delete EditWin->validator();
        EditWin->setValidator(nullptr);
    }
    // With a fixed length the text changes only by the typing rules.
    EditWin->setAcceptDrops(free);
    EditWin->setContextMenuPolicy(free ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

void TuneBox::layoutParts() {
    const int arrows = std::min(kArrowsWidth, width() / 2);
    EditWin->setGeometry(0, 0, width(), height());
    EditWin->setTextMargins(0, 0, arrows, 0);
    UpDown1->setGeometry(width() - arrows, 0, arrows, EditWin->height());
    UpDown1->raise();
}

QSize TuneBox::sizeHint() const {
    const int digits = std::max<int>(fixLen_, 2);
    const int text = EditWin->fontMetrics().horizontalAdvance(QString(digits + 1, u'0'));
    return {text + kArrowsWidth + 12, EditWin->sizeHint().height()};
}

void TuneBox::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutParts();
}

void TuneBox::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        Redisplay();
    }
}

// ---------------------------------------------------------------------- commit

int32_t TuneBox::parseText() const {
    // A leading 0 keeps a leading F from reading as a negative number.
    bool ok = false;
    const qulonglong raw = (QStringLiteral("0") + EditWin->text()).toULongLong(&ok, 16);
    int64_t v = ok ? static_cast<int64_t>(std::min<qulonglong>(raw, 0xFFFFFFFFull))
                   : std::numeric_limits<int64_t>::max();
    if (v < min_) v = min_;
    if (v > max_) v = max_;
    return static_cast<int32_t>(v);
}

int32_t TuneBox::commit() {
    const int32_t v = parseText();
    if (pending_) setPending(false);
    return v;
}

void TuneBox::commitAndNotify() {
    value_ = commit();
    // A clamped entry would otherwise keep showing digits that are not the value.
    showText(EditWin->cursorPosition());
    emit Change();
}

// ---------------------------------------------------------------------- typing

bool TuneBox::keyPress(QKeyEvent* e) {
    if (locked_) return true;
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (pending_) commitAndNotify();
            return true;
        case Qt::Key_PageUp:
            step(true);
            return true;
        case Qt::Key_PageDown:
            step(false);
            return true;
        case Qt::Key_Up:
            raiseLeave(2);
            return true;
        case Qt::Key_Down:
            raiseLeave(3);
            return true;
        case Qt::Key_Backspace:
            if (fixLen_ <= 0) return false;
            backspace();
            return true;
        default:
            break;
    }
    if (isNavigation(e)) return false;
    if (!typesCharacter(e)) {
        if (fixLen_ <= 0) return false;
        // Deleting, pasting and the like would change the text past the rules;
        // the host may still want the key (Escape, shortcuts).
        e->ignore();
        return true;
    }
    const QChar c = e->text().at(0);
    if (IsHexDigit(c)) typeDigit(c.toUpper());
    return true;
}

bool TuneBox::typeDigit(QChar digit) {
    if (fixLen_ <= 0) {
        EditWin->insert(QString(digit));
        setPending(true);
        return true;
    }
    QString text = EditWin->text();
    int p = EditWin->cursorPosition();
    if (p < fixLen_) {
        if (p < text.size())
            text[p] = digit;
        else
            text.append(digit);
        ++p;
    } else {
        text = (text + digit).right(fixLen_);
    }
    EditWin->setText(text);
    EditWin->setCursorPosition(p);
    if (p >= fixLen_)
        commitAndNotify();
    else
        setPending(true);
    recordCaret();
    return true;
}

void TuneBox::backspace() {
    const int p = EditWin->cursorPosition();
    if (p > 0) EditWin->setCursorPosition(p - 1);
    recordCaret();
}

int TuneBox::editEnd() const {
    return fixLen_ > 0 ? fixLen_ : int(EditWin->text().size());
}

void TuneBox::keyRelease(QKeyEvent* e) {
    if (locked_) return;
    // Judged on where the cursor was before this key moved it.
    if (e->key() == Qt::Key_Left && caretPos_ == 0)
        raiseLeave(0);
    else if (e->key() == Qt::Key_Right && caretPos_ >= editEnd())
        raiseLeave(1);
    recordCaret();
}

void TuneBox::mouseReleased() {
    recordCaret();
}

void TuneBox::focusEntered() {
    emit GotFocus();
}

void TuneBox::focusLeft() {
    if (pending_) commitAndNotify();
}

void TuneBox::recordCaret() {
    caretPos_ = static_cast<int16_t>(EditWin->cursorPosition());
}

void TuneBox::raiseLeave(int16_t direction) {
    int16_t d = direction;
    emit Leave(d);
}

// -------------------------------------------------------------------- stepping

void TuneBox::step(bool up) {
    if (locked_) return;
    if (pending_) value_ = commit();

    const TuneStepResult r = TuneStep({min_, max_, wrap_, fixLen_, maxInc_}, value_, caretPos_, up);
    if (r.refused) beeper_();
    value_ = r.value;
    Redisplay();
    emit Change();
}

}  // namespace tav
