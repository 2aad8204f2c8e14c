#pragma once
// The small interfaces through which the core reaches the outside world: the
// serial line, time, message boxes and the progress display. Each has a real
// implementation and a test one; the core never calls a widget or the system
// clock directly.

#include <QString>
#include <cstdint>

namespace tav {

// ---------------------------------------------------------------- serial line
enum class OpenFailure { None, NoSuchDevice, PermissionDenied, InUse, Other };

class SerialLink {
public:
    virtual ~SerialLink() = default;
    virtual bool isOpen() const = 0;
    // Opens the configured device with the current line settings.
    virtual bool open() = 0;
    virtual void close() = 0;
    // Why the last open failed, and a readable sentence about it.
    virtual OpenFailure lastOpenFailure() const { return OpenFailure::Other; }
    virtual QString lastOpenError() const { return {}; }
    // 4800 or 9600 baud, no parity, 8 data bits, 1 stop bit.
    virtual void setBaudRate(int baud) = 0;
    virtual int baudRate() const = 0;
    virtual void writeByte(uint8_t b) = 0;
    virtual int waitingCount() = 0;
    virtual uint8_t readByte() = 0;
    virtual void discardInput() = 0;
    // Sleeps until at least one byte is waiting or `seconds` have passed,
    // keeping the program responsive meanwhile. Never spins.
    virtual void waitForInput(double seconds) = 0;
};

// ---------------------------------------------------------------------- time
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time in seconds.
    virtual double now() = 0;
    // Serves the event loop until `deadline` (in now() seconds) has passed;
    // returns at once, after one pass, when it already has.
    virtual void idleUntil(double deadline) = 0;
    // A pause that lets no command run meanwhile.
    virtual void sleepBlocking(int ms) = 0;
    virtual void beep() = 0;
};

// ------------------------------------------------------------- message boxes
enum class MsgButtons { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Exclamation, Question, Critical };
enum class MsgResult { Ok, Cancel, Retry, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A modal message box; an empty title means the application's title.
    // `detail` is extra explanation some boxes carry (shown apart from the text).
    virtual MsgResult show(const QString& text, const QString& title, MsgButtons buttons,
                           MsgIcon icon, const QString& detail = QString()) = 0;
};

// ------------------------------------------------------------------ progress
// The main window's progress bar and the progress dialog shown during transfers.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setMinimum(int v) = 0;
    virtual void setMaximum(int v) = 0;
    virtual void setValue(int v) = 0;
    virtual void setVisible(bool visible) = 0;
    // Enables the dialog's Cancel button and clears the Cancelled flag.
    virtual void EnableCancel() = 0;
    virtual bool Cancelled() const = 0;
    // The progress dialog itself: shown with a message, then hidden.
    virtual void ShowForm(const QString& message, bool writeOperation) = 0;
    virtual void HideForm() = 0;
};

// A progress display that shows nothing and is never cancelled.
class NullProgress : public Progress {
public:
    void setMinimum(int) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
    void setVisible(bool) override {}
    void EnableCancel() override {}
    bool Cancelled() const override { return false; }
    void ShowForm(const QString&, bool) override {}
    void HideForm() override {}
};

}  // namespace tav
