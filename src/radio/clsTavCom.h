#pragma once
// The radio link: every byte exchanged with the radio goes through here.
// Split over several files by layer: primitives and hook (clsTavCom.cpp),
// EEPROM words (EEPromAccess.cpp), block transfers (BlockTransfer.cpp),
// bandwidth and power masks (ChannelMasks.cpp), label transfer (LabelTransfer.cpp).

#include <QString>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/Ports.h"
#include "model/AppState.h"

namespace tav {

// Everything a link object needs of its surroundings, handed over at construction.
struct LinkContext {
    AppState& state;
    SerialLink& port;
    Clock& clock;
    Prompter& prompter;
    Progress& progress;
};

using Word = std::array<uint8_t, 2>;
using LabelBytes = std::array<uint8_t, 8>;

// What the last block write and the last label write did: the words and label
// characters sent, of those the write covers. The word counts describe the
// last attempt of a block write, the one that decided its result.
struct WriteTally {
    int wordsWritten = 0;
    int wordsConsidered = 0;
    int labelCharsWritten = 0;
    int labelCharsConsidered = 0;
    // Groups (1 to 15) a whole write left out because the radio is not
    // configured for them, and whose channels in the image the radio does not
    // hold: what it wrote is not all the image says.
    std::vector<int> unwrittenGroups;
};

class clsTavCom {
public:
    explicit clsTavCom(const LinkContext& ctx);
    ~clsTavCom();
    clsTavCom(const clsTavCom&) = delete;
    clsTavCom& operator=(const clsTavCom&) = delete;

    // Public fields.
    float Timeout = 0.5f;        // seconds WaitForComChar waits for a byte
    bool CommPortError = false;  // set when OpenComm failed
    // Block and label writes read every word and label character they cover
    // and send only those the radio does not hold already. The radio ends up
    // exactly as after the full write, which is what they do when this is off.
    bool ChangedOnly = false;
    // The identification byte of the last radio that answered a hook; 0 before one did.
    uint8_t HookId = 0;

    // --- serial port and timing primitives
    bool OpenComm();
    void delay(int32_t dval);
    bool WaitForComChar(uint8_t& ComChar);
    bool WaitForEchoChar(uint8_t ComChar);
    static uint8_t CharToByte(const QString& text);

    // --- hook, identification, release
    bool Hook();
    void UnHook();
    static bool IsTAV(int16_t Hookval);
    // One wake-up and hook request with no message at all: whether a radio
    // answers with an accepted byte. A radio that answers is released at once
    // and the port stays open. For a bench that waits for radios to come and go.
    bool Probe();

    // --- EEPROM words and blocks
    bool ReadEEWord(int16_t address, Word& buffer);
    bool ReadEEByte(int16_t address, uint8_t& dest);
    bool WriteEEWord(int16_t address, uint8_t hi, uint8_t lo);
    bool WriteEEByte(int16_t address, uint8_t source);
    bool ReadEEBytes(int16_t start, uint8_t* buffer, int16_t count);
    bool WriteEEBytes(int16_t start, const uint8_t* buffer, int16_t count);
    bool WriteRamByte(int16_t address, uint8_t source);
    void LoadPageWritable(int16_t group);
    void LoadPageWritableQuad(int16_t g);
    bool pageWritable(int page) const { return PageWritable[static_cast<std::size_t>(page)]; }
    void setPageWritable(int page, bool on) { PageWritable[static_cast<std::size_t>(page)] = on; }

    // --- global and group block transfers
    bool ReadEEMemory();
    bool ReadEEGlobal();
    bool ReadEEGroup(int16_t groupNo);
    bool WriteEEMemory(bool SkipGlobal);
    bool WriteEEGlobal();
    bool WriteEEGroup(int16_t groupNo);

    // --- per-channel bandwidth and power masks
    void ReadBW(int16_t GROUP);
    void WriteBW(int16_t GROUP);
    void SetBWMask();
    void WarnNoBandwidthConfig();
    void ReadPower(int16_t nGroup);
    void WritePower(int16_t nGroup);
    uint8_t sys_name(int16_t sys_num, QString& name);
    int16_t find_sys(const QString& name);

    // --- label transfer through the program loaded into the radio's RAM
    bool Read_Labels(int16_t GROUP);
    bool Write_Labels(int16_t GROUP);
    bool SetBaudrate(int16_t baudrate);
    bool WriteKdEchoProg();
    bool ramboot(const std::vector<int>& code);
    int loadprog(const std::vector<int>& code);
    void dump_prog(const std::vector<int>& code);
    bool GetLabelData(int16_t bank);
    bool WriteLabelData(int16_t bank);
    bool retrieve_label(uint8_t bank, uint8_t channel, LabelBytes& lbl);
    bool write_label(uint8_t bank, uint8_t channel, const LabelBytes& lbl);
    void SendLabelControl(uint8_t x, uint8_t y);
    void PrepareLabelRead();
    void FinishLabelRead();

    // Whether the last failed transfer was stopped by the user's Cancel.
    bool cancelled() const { return ctx_.progress.Cancelled(); }
    const WriteTally& tally() const { return tally_; }
    // Whether the last block write put the word at `address` in a page it did
    // not write (a power word where the radio keeps its own blocks): that word
    // holds the power mask, not the image's bytes.
    bool putOutsidePages(int address) const;
    const LinkContext& context() const { return ctx_; }

private:
    // The caption of every box the link shows when the radio does not answer.
    static inline const QString kCommError = QStringLiteral("COMM ERROR");

    void send(uint8_t b) { ctx_.port.writeByte(b); }
    // One attempt of a hook cycle: wake-up preamble, hook request, one wait.
    bool hookAttempt(uint8_t& id);
    void fillWriteMasks();
    // The two mask bytes that govern a word write at `address`; null when the
    // page is written without a mask.
    const uint8_t* writeMaskFor(int16_t address) const;
    // Progress bar set-up, Cancel enabled and the pause that opens a block transfer.
    void startBlockProgress(int16_t start, int16_t count, bool setValue);
    // Sends a word write and checks both echoes.
    bool sendWord(int16_t address, const Word& w);
    // One word of a block write, the power words and the bandwidth word:
    // written as the mode says. With `lowFromRadio` the second byte is the
    // radio's own (a block that ends on an even address).
    bool putWord(int16_t address, Word w, bool lowFromRadio = false);

    // Checked forms of the operations above whose described results are void or
    // ignored; false when an exchange with the radio failed, so a block read or
    // write never reports success after a part of it went wrong.
    bool loadPageWritableChecked(int16_t group);
    bool loadPageWritableQuadChecked(int16_t g);
    // `capable`, when given, tells whether the radio has per-channel bandwidth.
    bool setBWMaskChecked(bool* capable = nullptr);
    // The full write's notice that the image's narrow bits stayed behind.
    void warnNoBandwidthForWrite();
    bool readBWChecked(int16_t GROUP);
    bool readPowerChecked(int16_t nGroup);
    bool writeBWChecked(int16_t GROUP);
    bool writePowerChecked(int16_t nGroup);
    int16_t findSysChecked(const QString& name, bool& lookupFailed);
    bool locatePowerWords(int16_t start, int16_t& words);
    // Block transfer helpers.
    bool beginWriteAttempt();
    bool retryFailedWrite();
    bool writeImageRange(int start, int count);
    // After a whole write: the groups it left out whose image data the radio
    // does not hold, read back only as far as the first difference.
    void noteUnwrittenGroups();
    bool radioHoldsPage(int page);
    void reportReadFailure();
    void endTransfer(bool zeroBar);
    // Label transfer helpers: the whole exchange of a label read or write
    // around its walk over the banks; the end of label work for the program.
    bool labelSession(bool write, const std::function<bool()>& walk);
    void endLabelWork();
    bool startBankTransfer(int16_t bank, int16_t& first, int16_t& last);
    void finishBankTransfer();
    // Walks every label of banks first..last, the progress bar counting them;
    // stops at the first label that fails or at Cancel, with the bar hidden.
    bool walkBanks(int16_t first, int16_t last,
                   const std::function<bool(int b, int c)>& transferLabel);
    // The whole walk over the requested banks: checked, walked, finished.
    bool transferBanks(int16_t bank, const std::function<bool(int b, int c)>& transferLabel);
    // One label character at label address `address`, paced and echoed as
    // write_label sends each of its characters.
    bool writeLabelChar(int address, uint8_t data);
    // The changed-only label write: the labels of the banks read as
    // Read_Labels reads them, then only the characters that differ written.
    bool writeChangedLabels(int16_t bank);
    bool writeLabelChanges(int b, int c, const LabelBytes& held);

    LinkContext ctx_;
    int16_t HookRetries = 3;
    std::array<bool, kPageCount> PageWritable{};
    WriteTally tally_;
    std::bitset<kEEPromSize / 2> putOutside_;
};

}  // namespace tav
