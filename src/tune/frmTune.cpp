#include "tune/frmTune.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "tune/TuneBox.h"

namespace tav {

namespace {

// Where the three values live in the radio's EEPROM (page 0).
constexpr int16_t kSlopeAddress = 5;
constexpr int16_t kPowerAddress = 8;  // high power at 8, low power at 9
constexpr std::array<int, 3> kTuningAddresses{5, 8, 9};
constexpr int16_t kWriteAll = 3;

constexpr uint8_t kRelease = 0x01;
constexpr int kWakeBytes = 5;
constexpr std::array<uint8_t, 3> kHookRequest{0x0A, 0x14, 0x28};

struct RowSpec {
    const char* label;
    int32_t max;
};
constexpr std::array<RowSpec, frmTune::kBoxCount> kRows{{
    {"Receiver Tuning Slope (00 to FF)", 0xFF},
    {"High Power Setting (00 to 3F)", 0x3F},
    {"Low Power Setting (00 to 3F)", 0x3F},
}};

// The tuning addresses are write-protected in the global mask; they are
// opened only for the length of one write and then put back as they were.
class TuningMaskOpening {
public:
    explicit TuningMaskOpening(std::array<uint8_t, kPageSize>& mask) : mask_(mask) {
        for (std::size_t i = 0; i < kTuningAddresses.size(); ++i) {
            saved_[i] = mask_[static_cast<std::size_t>(kTuningAddresses[i])];
            mask_[static_cast<std::size_t>(kTuningAddresses[i])] = 0xFF;
        }
    }
    ~TuningMaskOpening() {
        for (std::size_t i = 0; i < kTuningAddresses.size(); ++i)
            mask_[static_cast<std::size_t>(kTuningAddresses[i])] = saved_[i];
    }
    TuningMaskOpening(const TuningMaskOpening&) = delete;
    TuningMaskOpening& operator=(const TuningMaskOpening&) = delete;

private:
    std::array<uint8_t, kPageSize>& mask_;
    std::array<uint8_t, kTuningAddresses.size()> saved_{};
};

QPushButton* makeButton(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Enter belongs to the boxes; no button is pressed by it.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace

frmTune::frmTune(const LinkContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    buildControls();
    Load();
}

frmTune::~frmTune() {
    Unload();
}

void frmTune::buildControls() {
    setObjectName(QStringLiteral("frmTune"));
    setWindowTitle(QStringLiteral("TAV Tuning"));

    Label4 = new QLabel(
        QStringLiteral("Use PgUp/PgDn or the arrow buttons to increment/decrement the field.   "
                       "Use +/- to increment/decrement and write the selected field."),
        this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);

    auto* rows = new QGridLayout;
    for (int i = 0; i < kBoxCount; ++i) {
        const RowSpec& row = kRows[static_cast<std::size_t>(i)];
        auto* label = new QLabel(QString::fromLatin1(row.label), this);
        auto* b = new TuneBox(this);
        b->setObjectName(QStringLiteral("TAVTuneBox%1").arg(i));
        b->setMin(0);
        b->setMax(row.max);
        b->setFixLen(2);
        b->setWrap(false);
        b->setDelta(1);
        b->setMaxInc(65535);
        b->setLocked(false);
        b->setValue(0);
        b->setBeeper([this] { ctx_.clock.beep(); });
        connect(b, &TuneBox::GotFocus, this, [this, i] {
            // Locking the boxes during an operation pushes the focus along
            // them; that is not the user choosing a box.
            if (!busy_) SelectedBox = static_cast<int16_t>(i);
        });
        connect(b, &TuneBox::Leave, this, [this, i](int16_t& d) { boxLeave(i, d); });
        TAVTuneBox[static_cast<std::size_t>(i)] = b;
        rows->addWidget(label, i, 0);
        rows->addWidget(b, i, 1);
    }

    cmdRead = makeButton(QStringLiteral("cmdRead"), QStringLiteral("Read Data"), this);
    cmdWrite = makeButton(QStringLiteral("cmdWrite"), QStringLiteral("Write Data"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel Operation"), this);
    cmdCancel->setEnabled(false);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    connect(cmdRead, &QPushButton::clicked, this, [this] { ReadTuning(); });
    connect(cmdWrite, &QPushButton::clicked, this, [this] { WriteTuning(kWriteAll); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { CancelRequested = true; });
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRead);
    buttons->addWidget(cmdWrite);
    buttons->addWidget(cmdExit);
    auto* cancelRow = new QHBoxLayout;
    cancelRow->addStretch();
    cancelRow->addWidget(cmdCancel, 3);
    cancelRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    layout->addWidget(lblStatus);
    layout->addLayout(cancelRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The window sees "+" and "-" before the focused control does.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

// ------------------------------------------------------------------ lifecycle

void frmTune::Load() {
    link_ = std::make_unique<clsTavCom>(ctx_);
    Closing = false;
    SelectedBox = 0;
    if (!ctx_.port.isOpen() && !ctx_.port.open())
        ctx_.prompter.show(QStringLiteral("Unable to open Comm Port"), QStringLiteral("COMM ERROR"),
                           MsgButtons::Ok, MsgIcon::None, ctx_.port.lastOpenError());
}

void frmTune::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    CancelRequested = true;
    if (busy_) {
        // The operation below us on the stack still uses the link: it stops
        // hooking, releases the radio and then drops the link.
        closeWhenIdle_ = true;
        return;
    }
    if (Hooked) ReleaseAfterTuning();
    Closing = true;
    link_.reset();
}

void frmTune::done(int result) {
    Unload();
    QDialog::done(result);
}

bool frmTune::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate) {
        lostActivationTo_ = QApplication::activeWindow();
    } else if (e->type() == QEvent::WindowActivate) {
        // Read on opening, and when coming back from another of the program's
        // windows; not when a message box of our own or another program had
        // the activation.
        const bool fromOwnWindow = lostActivationTo_ && !lostActivationTo_->isModal();
        if (!activatedOnce_ || fromOwnWindow)
            QMetaObject::invokeMethod(this, &frmTune::activated, Qt::QueuedConnection);
        activatedOnce_ = true;
        lostActivationTo_ = nullptr;
    }
    return QDialog::event(e);
}

void frmTune::activated() {
    ReadTuning();
}

// ------------------------------------------------------------------ operations

template <typename Operation>
void frmTune::runOperation(Operation&& op) {
    // One exchange at a time: the waits below serve the event loop, through
    // which a key or an activation could otherwise start a second one inside.
    if (busy_ || Closing || unloaded_) return;
    busy_ = true;
    op();
    busy_ = false;
    if (closeWhenIdle_) {
        Closing = true;
        link_.reset();
    }
}

bool frmTune::HookForTuning() {
    if (Closing) return false;
    CancelRequested = false;
    ShowBusy();
    bool result = false;
    do {
        for (int i = 0; i < kWakeBytes; ++i) ctx_.port.writeByte(0x00);
        ctx_.port.discardInput();
        for (uint8_t b : kHookRequest) ctx_.port.writeByte(b);
        uint8_t reply = 0;
        if (link_->WaitForComChar(reply)) result = clsTavCom::IsTAV(reply);
    } while (!result && !CancelRequested);
    // A reply that comes in the same moment as Cancel does not override it.
    Hooked = result && !CancelRequested;
    return Hooked;
}

void frmTune::ReleaseAfterTuning() {
    if (Closing) return;
    Hooked = false;
    if (link_->OpenComm()) ctx_.port.writeByte(kRelease);
    ShowIdle();
}

void frmTune::ReadTuning() {
    runOperation([this] {
        if (HookForTuning()) {
            uint8_t slope = 0;
            if (link_->ReadEEByte(kSlopeAddress, slope)) box(0)->setValue(slope);
            Word power{};
            if (link_->ReadEEWord(kPowerAddress, power)) {
                box(1)->setValue(power[0] / 4);
                box(2)->setValue(power[1] / 4);
            }
        }
        ReleaseAfterTuning();
    });
}

void frmTune::WriteTuning(int16_t which) {
    runOperation([this, which] {
        if (HookForTuning()) {
            TuningMaskOpening open(ctx_.state.GlobalWriteMask);
            bool ok = true;
            if (which == 0 || which == kWriteAll)
                ok = link_->WriteEEByte(kSlopeAddress, static_cast<uint8_t>(box(0)->Value()));
            // Either power box writes both power bytes, which share one word.
            const auto hi = static_cast<uint8_t>(box(1)->Value() * 4);
            const auto lo = static_cast<uint8_t>(box(2)->Value() * 4);
            if (which != 0) ok = link_->WriteEEWord(kPowerAddress, hi, lo) && ok;
            if (!ok)
                ctx_.prompter.show(QStringLiteral("Error writing to radio"),
                                   QStringLiteral("TAV Tune"), MsgButtons::Ok,
                                   MsgIcon::Exclamation);
        }
        ReleaseAfterTuning();
    });
}

void frmTune::ShowBusy() {
    cmdCancel->setEnabled(true);
    cmdRead->setEnabled(false);
    cmdWrite->setEnabled(false);
    for (TuneBox* b : TAVTuneBox) b->setLocked(true);
    lblStatus->setText(QStringLiteral("Attempting to hook TAV Radio"));
}

void frmTune::ShowIdle() {
    cmdCancel->setEnabled(false);
    cmdRead->setEnabled(true);
    cmdWrite->setEnabled(true);
    for (TuneBox* b : TAVTuneBox) b->setLocked(false);
    lblStatus->clear();
    focusBox(SelectedBox);
}

// ------------------------------------------------------------------- keys, focus

bool frmTune::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        // A key ignored by its receiver travels on to the parents; act on it once.
        QWidget* receiver = focusWidget() ? focusWidget() : this;
        if (watched == receiver) {
            const QString text = static_cast<QKeyEvent*>(e)->text();
            if (text == QLatin1String("+"))
                stepSelected(1);
            else if (text == QLatin1String("-"))
                stepSelected(-1);
        }
    }
    // The key still reaches the focused control, which ignores it.
    return QDialog::eventFilter(watched, e);
}

void frmTune::stepSelected(int delta) {
    if (Hooked || Closing || busy_) return;
    TuneBox* b = box(SelectedBox);
    b->setValue(b->Value() + delta);
    WriteTuning(SelectedBox);
}

void frmTune::boxLeave(int index, int16_t direction) {
    if ((direction == 0 || direction == 2) && index > 0)
        focusBox(index - 1);
    else if ((direction == 1 || direction == 3) && index < kBoxCount - 1)
        focusBox(index + 1);
}

void frmTune::focusBox(int index) {
    box(index)->setFocus(Qt::OtherFocusReason);
}

}  // namespace tav
