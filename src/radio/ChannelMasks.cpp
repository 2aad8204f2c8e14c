// Per-channel bandwidth and power masks: the capability bit, the bandwidth
// words of page 0, the named-block directory and the power block found in it.

#include <algorithm>
#include <utility>

#include "radio/clsTavCom.h"

namespace tav {

namespace {

constexpr auto kCapabilityAddress = static_cast<int16_t>(kCapabilityByte);
constexpr int16_t kAllGroups = -1;
constexpr int16_t kPresenceOnly = -2;

const QString kPowerBlockName = QStringLiteral("VPWR");

bool validGroupIndex(int16_t group) {
    return group >= 0 && group < kGroupCount;
}

// The groups a power transfer covers: all of them, one, or none (presence check).
std::pair<int16_t, int16_t> groupRange(int16_t nGroup) {
    if (nGroup == kAllGroups) return {0, kGroupCount - 1};
    if (validGroupIndex(nGroup)) return {nGroup, nGroup};
    return {0, -1};
}

// The "not factory configured" warning; its two lines are separated by a carriage return.
void warnNotConfigured(Prompter& prompter, const QString& feature, const QString& title) {
    prompter.show(
        QStringLiteral("Warning: This radio is not factory configured\rfor per-channel %1.")
            .arg(feature),
        title, MsgButtons::Ok, MsgIcon::None);
}

const QString kBandwidth = QStringLiteral("bandwidth");
const QString kPowerControl = QStringLiteral("power control");

// Four 6-bit codes packed big-endian into three bytes, each the letter 0x40 + code.
QString decodeBlockName(uint8_t b0, uint8_t b1, uint8_t b2) {
    const int codes[4] = {b0 >> 2, ((b0 << 4) | (b1 >> 4)) & 0x3F, ((b1 & 0x0F) << 2) | (b2 >> 6),
                          b2 & 0x3F};
    QString name;
    for (int c : codes) name += QChar(0x40 + c);
    return name;
}

}  // namespace

// ------------------------------------------------------------------- bandwidth

void clsTavCom::ReadBW(int16_t GROUP) {
    (void)readBWChecked(GROUP);
}

// False when the capability or the bandwidth word could not be read: the
// image's narrow bits would otherwise stay stale, or a radio that has the
// capability be warned about as one without it.
bool clsTavCom::readBWChecked(int16_t GROUP) {
    if (!validGroupIndex(GROUP)) return true;
    uint8_t capability = 0;
    if (!ReadEEByte(kCapabilityAddress, capability)) return false;
    if (!(capability & kBandwidthCapable)) {
        warnNotConfigured(ctx_.prompter, kBandwidth, QStringLiteral("Read Bandwidth"));
        return true;
    }
    const auto address = static_cast<int16_t>(bandwidthAddress(GROUP));
    Word w{};
    if (!ReadEEWord(address, w)) return false;
    ctx_.state.EEImage[static_cast<std::size_t>(address)] = w[0];
    ctx_.state.EEImage[static_cast<std::size_t>(address + 1)] = w[1];
    return true;
}

void clsTavCom::WriteBW(int16_t GROUP) {
    (void)writeBWChecked(GROUP);
}

// False only when the radio could not be asked or did not take the word; a
// radio without the capability gets its warning and nothing is sent.
bool clsTavCom::writeBWChecked(int16_t GROUP) {
    if (!validGroupIndex(GROUP)) return true;
    uint8_t capability = 0;
    // A capability read that failed says nothing about the radio: no warning.
    if (!ReadEEByte(kCapabilityAddress, capability)) return false;
    if (!(capability & kBandwidthCapable)) {
        warnNotConfigured(ctx_.prompter, kBandwidth, QStringLiteral("Write Bandwidth"));
        return true;
    }
    const auto address = static_cast<int16_t>(bandwidthAddress(GROUP));
    auto& s = ctx_.state;
    s.GlobalWriteMask[static_cast<std::size_t>(address)] = 0xFF;
    s.GlobalWriteMask[static_cast<std::size_t>(address + 1)] = 0xFF;
    return putWord(address, Word{s.EEImage[static_cast<std::size_t>(address)],
                                 s.EEImage[static_cast<std::size_t>(address + 1)]});
}

void clsTavCom::SetBWMask() {
    (void)setBWMaskChecked();
}

bool clsTavCom::setBWMaskChecked(bool* capable) {
    uint8_t capability = 0;
    const bool read = ReadEEByte(kCapabilityAddress, capability);
    const bool open = read && (capability & kBandwidthCapable);
    auto& m = ctx_.state.GlobalWriteMask;
    std::fill(m.begin() + kBandwidthStart, m.begin() + kBandwidthStart + kBandwidthCount,
              open ? 0xFF : 0x00);
    if (capable) *capable = open;
    return read;
}

void clsTavCom::warnNoBandwidthForWrite() {
    if (ctx_.state.PerChanBandOn)
        warnNotConfigured(ctx_.prompter, kBandwidth, QStringLiteral("Write Bandwidth"));
}

void clsTavCom::WarnNoBandwidthConfig() {
    const auto& s = ctx_.state;
    if (!(s.EEImage[kCapabilityByte] & kBandwidthCapable) && s.PerChanBandOn)
        warnNotConfigured(ctx_.prompter, kBandwidth, QStringLiteral("Read Bandwidth"));
}

// ------------------------------------------------------------ named-block directory

uint8_t clsTavCom::sys_name(int16_t sys_num, QString& name) {
    uint8_t entry = 0;
    if (!ReadEEByte(static_cast<int16_t>(directoryAddress(sys_num)), entry)) return 0;
    if (entry == 0) return 1;
    const auto start = static_cast<int16_t>(8 * entry);
    uint8_t offset = 0;
    if (!ReadEEByte(start, offset)) return 0;
    const auto at = static_cast<int16_t>(start + offset + 3);
    Word w{};
    if (!ReadEEWord(at, w)) return 0;
    uint8_t b2 = 0;
    if (!ReadEEByte(static_cast<int16_t>(at + 2), b2)) return 0;
    name = decodeBlockName(w[0], w[1], b2);
    return 2;
}

int16_t clsTavCom::find_sys(const QString& name) {
    bool lookupFailed = false;
    return findSysChecked(name, lookupFailed);
}

// As find_sys; lookupFailed tells whether an entry could not be read, so that
// "no such block" may be a failed exchange rather than the radio's answer.
int16_t clsTavCom::findSysChecked(const QString& name, bool& lookupFailed) {
    lookupFailed = false;
    for (int16_t i = 0; i < kDirectoryEntries; ++i) {
        QString found;
        const uint8_t status = sys_name(i, found);
        if (status == 0) lookupFailed = true;
        if (status != 2 || found != name) continue;
        uint8_t entry = 0;
        if (!ReadEEByte(static_cast<int16_t>(directoryAddress(i)), entry)) return -1;
        return static_cast<int16_t>(8 * entry);
    }
    return 0;
}

// ----------------------------------------------------------------------- power

// The power block's first byte b leads to the byte p at start + b + 10; the
// power word of group index 0 lies at 8 * p + 2.
bool clsTavCom::locatePowerWords(int16_t start, int16_t& words) {
    uint8_t b = 0, p = 0;
    if (!ReadEEByte(start, b)) return false;
    if (!ReadEEByte(static_cast<int16_t>(start + b + 10), p)) return false;
    words = static_cast<int16_t>(8 * p + 2);
    return true;
}

void clsTavCom::ReadPower(int16_t nGroup) {
    (void)readPowerChecked(nGroup);
}

// False when any part of the lookup or of the words could not be read: an
// unreadable directory is no "no power block", and a lost word no reason to
// keep a group's old flags. Nothing is taken from a read that failed.
bool clsTavCom::readPowerChecked(int16_t nGroup) {
    auto& s = ctx_.state;
    bool lookupFailed = false;
    const int16_t start = findSysChecked(kPowerBlockName, lookupFailed);
    // An unreadable entry may hide the block, or a lower entry of the same name.
    if (start == -1 || lookupFailed) return false;
    if (start == 0) {
        if (nGroup != kPresenceOnly && s.PerChanPwrOn)
            warnNotConfigured(ctx_.prompter, kPowerControl, QStringLiteral("Read Power"));
        s.PowerBlockPresent = 0;
        return true;
    }
    if (nGroup == kPresenceOnly) {
        s.PowerBlockPresent = 1;
        return true;
    }
    int16_t words = 0;
    if (!locatePowerWords(start, words)) return false;
    auto mask = s.PowerMask;
    const auto [first, last] = groupRange(nGroup);
    for (int16_t g = first; g <= last; ++g) {
        Word w{};
        if (!ReadEEWord(static_cast<int16_t>(words + 2 * g), w)) return false;
        mask[static_cast<std::size_t>(g)] = w[0];
        mask[static_cast<std::size_t>(kGroupCount + g)] = w[1];
    }
    s.PowerMask = mask;
    s.PowerBlockPresent = 1;
    return true;
}

void clsTavCom::WritePower(int16_t nGroup) {
    (void)writePowerChecked(nGroup);
}

// Every group in range is attempted; false when any part of the exchange
// failed, including a lookup that could not tell whether the block exists.
bool clsTavCom::writePowerChecked(int16_t nGroup) {
    const auto& s = ctx_.state;
    bool lookupFailed = false;
    const int16_t start = findSysChecked(kPowerBlockName, lookupFailed);
    if (start == -1) return false;
    if (start == 0) {
        // An unreadable directory entry may hide the block: that is no warning, but a failure.
        if (lookupFailed) return false;
        if (nGroup != kPresenceOnly && s.PerChanPwrOn)
            warnNotConfigured(ctx_.prompter, kPowerControl, QStringLiteral("Write Power"));
        return true;
    }
    int16_t words = 0;
    if (!locatePowerWords(start, words)) return false;
    // An entry that could not be read is a failed exchange even when the block was found.
    bool ok = !lookupFailed;
    const auto [first, last] = groupRange(nGroup);
    for (int16_t g = first; g <= last; ++g) {
        ok = putWord(static_cast<int16_t>(words + 2 * g),
                     Word{s.PowerMask[static_cast<std::size_t>(g)],
                          s.PowerMask[static_cast<std::size_t>(kGroupCount + g)]}) &&
             ok;
    }
    return ok;
}

}  // namespace tav
