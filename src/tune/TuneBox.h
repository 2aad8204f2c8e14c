#pragma once
// A small spin box for one unsigned number shown in hexadecimal with a fixed
// number of digits. Digits are typed in overwrite mode; Page Up/Down and the
// arrow buttons step the digit under the cursor. Committed changes are
// reported with Change; Leave asks the host to move the focus to a neighbour.

#include <QStringList>
#include <QVariantMap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QKeyEvent;
class QLineEdit;
class QToolButton;

namespace tav {

class TuneEdit;
class TuneArrows;

class TuneBox : public QWidget {
    Q_OBJECT
    // Property names as they are stored with the host's layout.
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(int Min READ min WRITE setMin)
    Q_PROPERTY(int Max READ max WRITE setMax)
    Q_PROPERTY(bool Wrap READ Wrap WRITE setWrap)
    Q_PROPERTY(int Delta READ Delta WRITE setDelta)
    Q_PROPERTY(short FixLen READ FixLen WRITE setFixLen)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
    Q_PROPERTY(int MaxInc READ MaxInc WRITE setMaxInc)

public:
    explicit TuneBox(QWidget* parent = nullptr);
    ~TuneBox() override;

    // Setting Value folds it into [min, max]: above max it is taken modulo
    // max + 1, below min it becomes max. No Change is raised.
    int32_t Value() const { return value_; }
    void setValue(int32_t v);
    int32_t min() const { return min_; }
    void setMin(int32_t v);
    int32_t max() const { return max_; }
    void setMax(int32_t v);
    bool Wrap() const { return wrap_; }
    void setWrap(bool on);
    // The arrow buttons' own increment; stepping does not use it.
    int32_t Delta() const;
    void setDelta(int32_t v);
    // Hexadecimal digits shown and edited; 0 means free length.
    int16_t FixLen() const { return fixLen_; }
    void setFixLen(int16_t n);
    bool Locked() const { return locked_; }
    void setLocked(bool on);
    int32_t MaxInc() const { return maxInc_; }
    void setMaxInc(int32_t v);

    // Typed digits not yet committed (shown in red), and the cursor position
    // as last recorded.
    bool isPending() const { return pending_; }
    int16_t caretPos() const { return caretPos_; }

    // Persistence with the host's layout, under the names "Value", "Min",
    // "Max", "Wrap", "Delta", "FixLen", "Locked" and "MaxInc". Reading takes
    // each missing name's default.
    static const QStringList& persistedNames();
    QVariantMap writeProperties() const;
    void readProperties(const QVariantMap& bag);

    // What a refused step sounds like; the system beep unless replaced.
    void setBeeper(std::function<void()> beeper);

    QLineEdit* editWin() const;
    QToolButton* upButton() const;
    QToolButton* downButton() const;

    QSize sizeHint() const override;

signals:
    // A typed entry was committed or a step changed Value.
    void Change();
    // 0: left arrow at the first position; 1: right arrow at the end;
    // 2: up arrow key; 3: down arrow key.
    void Leave(int16_t& direction);
    // The text field received the input focus.
    void GotFocus();
    // A property was set; the host's stored layout is out of date.
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class TuneEdit;

    // Handlers for the text field's events; keyPress returns true when the
    // key has been dealt with and must not reach the field's own editing.
    bool keyPress(QKeyEvent* e);
    void keyRelease(QKeyEvent* e);
    void mouseReleased();
    void focusEntered();
    void focusLeft();

    bool typeDigit(QChar digit);
    void backspace();
    void raiseLeave(int16_t direction);
    void step(bool up);
    void recordCaret();

    int32_t parseText() const;
    int32_t commit();
    void commitAndNotify();
    void setPending(bool on);
    void Redisplay();
    void showText(int cursor);
    QString formatValue() const;
    int editEnd() const;
    void layoutParts();
    void applyFixLenMode();
    void touched(const char* name);

    TuneEdit* EditWin;
    TuneArrows* UpDown1;
    std::function<void()> beeper_;

    int32_t value_ = 0;
    int32_t min_ = 0;
    int32_t max_ = 255;
    bool wrap_ = false;
    int16_t fixLen_ = 0;
    bool locked_ = false;
    int32_t maxInc_ = 65535;

    bool pending_ = false;
    int16_t caretPos_ = 0;
    bool shownOnce_ = false;
};

}  // namespace tav
