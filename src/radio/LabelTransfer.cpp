// Label transfer: the labels live in a memory that only a program loaded into
// the radio's RAM can reach. The radio and the port switch to 9600 baud, a
// small loader is written byte by byte into RAM, the loader receives the label
// program, and the label program answers its own read and write commands.

#include "radio/clsTavCom.h"

namespace tav {

namespace {

// Program lists: element 0 the length N, elements 1..N the bytes in address
// order, element N + 1 the RAM load address.
const std::vector<int> kLoader = {
    25,                                                                            //
    0x9C, 0xAD, 0x10, 0xB7, 0xEC, 0xAD, 0x0C, 0x97, 0xAD, 0x09, 0x5A, 0xE7, 0x55,  //
    0x5D, 0x26, 0xF8, 0xBE, 0xEC, 0xFC, 0x0B, 0x10, 0xFD, 0xB6, 0x11, 0x81,        //
    0xE0};

const std::vector<int> kLabelProgram = {
    140,                                                                                 //
    0x9B, 0xAD, 0x33, 0xB7, 0x50, 0xAD, 0x2F, 0xB7, 0x51, 0x26, 0x04, 0xB6, 0x50, 0x27,  //
    0x26, 0xB6, 0x50, 0x27, 0x10, 0xB7, 0x52, 0x3A, 0x52, 0x9D, 0x9D, 0xAD, 0x1B, 0xAD,  //
    0x50, 0xB6, 0x52, 0x26, 0xF4, 0x1C, 0x01, 0xB6, 0x51, 0x27, 0xDA, 0xB7, 0x52, 0x3A,  //
    0x52, 0xAD, 0x15, 0xAD, 0x2E, 0xAD, 0x0B, 0x1C, 0x01, 0x20, 0xCC, 0x81, 0x0B, 0x10,  //
    0xFD, 0xB6, 0x11, 0x81, 0x0F, 0x10, 0xFD, 0xB7, 0x11, 0x81, 0xAD, 0x00, 0xAD, 0x00,  //
    0xA6, 0x04, 0xAD, 0x03, 0x4A, 0x26, 0xFB, 0xB7, 0xDD, 0xA6, 0x49, 0x20, 0x04, 0xB7,  //
    0xDD, 0xA6, 0x20, 0x4A, 0x26, 0xFD, 0xB6, 0xDD, 0x81, 0xAE, 0x80, 0x4F, 0x09, 0x03,  //
    0x06, 0xAD, 0xE1, 0x5A, 0x26, 0xF7, 0x81, 0x4C, 0xAD, 0xD0, 0x4F, 0x1D, 0x01, 0x97,  //
    0xAD, 0xD0, 0xA6, 0x08, 0xAD, 0xD7, 0x1F, 0x01, 0x08, 0x03, 0x00, 0x59, 0x24, 0x02,  //
    0x1E, 0x01, 0x1A, 0x01, 0xAD, 0xCF, 0x1B, 0x01, 0x4A, 0x26, 0xEB, 0x9F, 0x81, 0x00,  //
    0x52};

constexpr int16_t kLastBank = 15;
constexpr uint8_t kLabelsPerBank = 16;
constexpr int kLabelTries = 4;
constexpr int kBaudSettleMs = 25;

const QString kTransferInitError = QStringLiteral("Transfer initialization error");

bool wellFormed(const std::vector<int>& code) {
    return !code.empty() && code[0] >= 0 && code.size() == static_cast<std::size_t>(code[0]) + 2;
}
int programLength(const std::vector<int>& code) {
    return code[0];
}
int loadAddress(const std::vector<int>& code) {
    return code[static_cast<std::size_t>(code[0]) + 1];
}

// First label-memory address of (bank 1..15, channel 1..16).
int labelAddress(uint8_t bank, uint8_t channel) {
    return (bank - 1) * 128 + (channel - 1) * 8;
}

}  // namespace

// ------------------------------------------------------------------ baud rate

bool clsTavCom::SetBaudrate(int16_t baudrate) {
    const bool fast = baudrate == 1;
    delay(150);
    send(0xD0);
    delay(30);
    send(0x0D);
    delay(25);
    send(fast ? 0x30 : 0x31);
    delay(10);
    ctx_.port.setBaudRate(fast ? 9600 : 4800);
    delay(10);
    // Whatever the switch left on the line is noise at the new rate.
    while (ctx_.port.waitingCount() > 0) {
        ctx_.port.discardInput();
        delay(kBaudSettleMs);
    }
    send(0x28);
    uint8_t answer = 0;
    if (WaitForComChar(answer)) return true;
    ctx_.prompter.show(QStringLiteral("Unable to set baud rate"), QString(), MsgButtons::Ok,
                       MsgIcon::None);
    ctx_.port.setBaudRate(4800);
    return false;
}

// ------------------------------------------------------------ program loading

bool clsTavCom::WriteKdEchoProg() {
    return ramboot(kLabelProgram);
}

bool clsTavCom::ramboot(const std::vector<int>& code) {
    if (!wellFormed(code) || loadprog(kLoader) < 0) return false;
    send(0xF0);
    send(static_cast<uint8_t>(loadAddress(kLoader) + 1));
    dump_prog(code);
    return true;
}

int clsTavCom::loadprog(const std::vector<int>& code) {
    if (!wellFormed(code)) return -1;
    int address = loadAddress(code);
    for (int i = 1; i <= programLength(code); ++i) {
        if (!WriteRamByte(static_cast<int16_t>(address), static_cast<uint8_t>(code[i]))) return -1;
        ++address;
    }
    return loadAddress(code);
}

// The running loader stores from the top address down, so the bytes go out
// last first; it starts the program once the last one has arrived.
void clsTavCom::dump_prog(const std::vector<int>& code) {
    if (!wellFormed(code)) return;
    const int n = programLength(code);
    send(static_cast<uint8_t>(loadAddress(code)));
    send(static_cast<uint8_t>(n));
    for (int i = n; i >= 1; --i) send(static_cast<uint8_t>(code[static_cast<std::size_t>(i)]));
}

// ------------------------------------------------------------- single labels

bool clsTavCom::retrieve_label(uint8_t bank, uint8_t channel, LabelBytes& lbl) {
    int pause = 2;
    const int a = labelAddress(bank, channel);
    const auto high = static_cast<uint8_t>(0x28 | (a >> 8));
    auto current = static_cast<uint8_t>(a & 0xFF);
    for (int k = 7; k >= 0; --k) {
        bool read = false;
        for (int tries = 0; tries < kLabelTries && !read; ++tries) {
            if (cancelled()) return false;
            send(0x02);
            send(0x01);
            send(high);
            send(current);
            uint8_t first = 0, second = 0;
            read = WaitForComChar(first) && WaitForComChar(second);
            if (read) {
                lbl[static_cast<std::size_t>(k)] = second;
                ++current;
            } else {
                // The same address is asked again, a little more patiently each time.
                delay(pause + 5);
                ++pause;
            }
        }
        if (!read) return false;
    }
    return true;
}

bool clsTavCom::write_label(uint8_t bank, uint8_t channel, const LabelBytes& lbl) {
    const int a = labelAddress(bank, channel);
    for (int k = 7; k >= 0; --k)
        if (!writeLabelChar(a + 7 - k, lbl[static_cast<std::size_t>(k)])) return false;
    return true;
}

bool clsTavCom::writeLabelChar(int address, uint8_t data) {
    ++tally_.labelCharsWritten;
    send(0x03);
    send(0x01);
    delay(4);
    send(static_cast<uint8_t>(0x68 | (address >> 8)));
    delay(5);
    send(static_cast<uint8_t>(address & 0xFF));
    delay(5);
    ctx_.port.discardInput();
    send(data);
    if (!WaitForEchoChar(data)) return false;
    delay(7);
    return true;
}

void clsTavCom::SendLabelControl(uint8_t x, uint8_t y) {
    send(0x03);
    delay(2);
    send(0x00);
    delay(2);
    send(0x60);
    delay(5);
    send(x);
    delay(5);
    send(y);
    delay(50);
}

void clsTavCom::PrepareLabelRead() {
    SendLabelControl(0xF6, 0x00);
    SendLabelControl(0xFE, 0x44);
    SendLabelControl(0xFF, 0x10);
}

void clsTavCom::FinishLabelRead() {
    SendLabelControl(0xF6, 0x80);
    SendLabelControl(0xFE, 0x45);
}

void clsTavCom::endLabelWork() {
    send(0x00);
    delay(10);
    send(0x00);
}

// ------------------------------------------------------------------ whole banks

namespace {
// Banks first..last for a bank argument (0 for all); false for a bank that
// does not exist, negative ones included.
bool bankRange(int16_t bank, int16_t& first, int16_t& last) {
    if (bank == 0) {
        first = 1;
        last = kLastBank;
        return true;
    }
    if (bank < 0 || bank > kLastBank) return false;
    first = last = bank;
    return true;
}
}  // namespace

// Checks the bank argument and starts the bar for the labels of its banks.
bool clsTavCom::startBankTransfer(int16_t bank, int16_t& first, int16_t& last) {
    if (!bankRange(bank, first, last)) {
        ctx_.prompter.show(QStringLiteral("Requested bank is invalid"), QString(), MsgButtons::Ok,
                           MsgIcon::None);
        return false;
    }
    auto& progress = ctx_.progress;
    progress.setMinimum(0);
    progress.setMaximum((last - first + 1) * kLabelsPerBank);
    progress.setValue(0);
    progress.setVisible(true);
    return true;
}

void clsTavCom::finishBankTransfer() {
    ctx_.clock.beep();
    delay(300);
    ctx_.progress.setVisible(false);
}

bool clsTavCom::walkBanks(int16_t first, int16_t last,
                          const std::function<bool(int b, int c)>& transferLabel) {
    int count = 0;
    for (int b = first; b <= last; ++b) {
        for (int c = 1; c <= kLabelsPerBank; ++c) {
            // Cancel is taken between labels: a label is never left half written.
            if (cancelled() || !transferLabel(b, c)) {
                ctx_.progress.setVisible(false);
                return false;
            }
            ctx_.progress.setValue(++count);
        }
    }
    return true;
}

bool clsTavCom::transferBanks(int16_t bank,
                              const std::function<bool(int b, int c)>& transferLabel) {
    int16_t first = 0, last = 0;
    if (!startBankTransfer(bank, first, last) || !walkBanks(first, last, transferLabel))
        return false;
    finishBankTransfer();
    return true;
}

bool clsTavCom::GetLabelData(int16_t bank) {
    return transferBanks(bank, [this](int b, int c) {
        LabelBytes lbl{};
        if (!retrieve_label(static_cast<uint8_t>(b), static_cast<uint8_t>(c), lbl)) return false;
        for (int k = 0; k < 8; ++k)
            ctx_.state.label(b - 1, c - 1, k) = lbl[static_cast<std::size_t>(k)];
        return true;
    });
}

bool clsTavCom::WriteLabelData(int16_t bank) {
    return transferBanks(bank, [this](int b, int c) {
        LabelBytes lbl{};
        for (int k = 0; k < 8; ++k)
            lbl[static_cast<std::size_t>(k)] = ctx_.state.label(b - 1, c - 1, k);
        tally_.labelCharsConsidered += 8;
        return write_label(static_cast<uint8_t>(b), static_cast<uint8_t>(c), lbl);
    });
}

bool clsTavCom::writeChangedLabels(int16_t bank) {
    int16_t first = 0, last = 0;
    if (!startBankTransfer(bank, first, last)) return false;
    PrepareLabelRead();
    std::vector<LabelBytes> held;
    const bool read = walkBanks(first, last, [this, &held](int b, int c) {
        LabelBytes lbl{};
        if (!retrieve_label(static_cast<uint8_t>(b), static_cast<uint8_t>(c), lbl)) return false;
        held.push_back(lbl);
        return true;
    });
    FinishLabelRead();
    if (!read) return false;
    // The bar runs a second time, over the labels compared and written.
    ctx_.progress.setValue(0);
    auto next = held.cbegin();
    if (!walkBanks(first, last,
                   [this, &next](int b, int c) { return writeLabelChanges(b, c, *next++); }))
        return false;
    finishBankTransfer();
    return true;
}

// The characters of one label that the radio holds otherwise, in the order
// write_label sends them.
bool clsTavCom::writeLabelChanges(int b, int c, const LabelBytes& held) {
    const int a = labelAddress(static_cast<uint8_t>(b), static_cast<uint8_t>(c));
    tally_.labelCharsConsidered += 8;
    for (int k = 7; k >= 0; --k) {
        const uint8_t wanted = ctx_.state.label(b - 1, c - 1, k);
        if (wanted != held[static_cast<std::size_t>(k)] && !writeLabelChar(a + 7 - k, wanted))
            return false;
    }
    return true;
}

// ----------------------------------------------------------- whole operations

// One complete label exchange inside the progress dialog: hook, 9600 baud, the
// label program loaded and started, the walk over the banks, the end of label
// work, 4800 baud, release. A full write of every bank takes over forty
// seconds: Cancel works for writes too (after the write question), between labels.
bool clsTavCom::labelSession(bool write, const std::function<bool()>& walk) {
    bool result = false;
    ctx_.progress.ShowForm(write ? QStringLiteral("Please Wait - Writing Labels")
                                 : QStringLiteral("Please Wait - Reading Labels"),
                           write);
    if (Hook()) {
        if (SetBaudrate(1)) {
            if (WriteKdEchoProg()) {
                if (!write) PrepareLabelRead();
                // A Cancel left over from an earlier transfer must not stop this one.
                ctx_.progress.EnableCancel();
                result = walk();
                if (!result && !cancelled())
                    ctx_.prompter.show(write ? QStringLiteral("Unable to upload data to radio")
                                             : QStringLiteral("Unable to upload data from radio"),
                                       QString(), MsgButtons::Ok, MsgIcon::None);
                if (!write) FinishLabelRead();
                endLabelWork();
            } else {
                ctx_.prompter.show(kTransferInitError, QString(), MsgButtons::Ok, MsgIcon::None);
            }
            SetBaudrate(0);
            delay(200);
        }
        UnHook();
    }
    ctx_.progress.HideForm();
    return result;
}

bool clsTavCom::Read_Labels(int16_t GROUP) {
    return labelSession(false, [this, GROUP] {
        return GetLabelData(static_cast<int16_t>(GroupNumber::toUser(GROUP)));
    });
}

bool clsTavCom::Write_Labels(int16_t GROUP) {
    tally_.labelCharsWritten = tally_.labelCharsConsidered = 0;
    const auto bank = static_cast<int16_t>(GroupNumber::toUser(GROUP));
    return labelSession(true, [this, bank] {
        return ChangedOnly ? writeChangedLabels(bank) : WriteLabelData(bank);
    });
}

}  // namespace tav
