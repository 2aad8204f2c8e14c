// Whole-radio, global-block and group-block transfers: one complete exchange
// each (hook, words, side data, release), with progress, Cancel and the
// Retry/Cancel dialog after a failed write.

#include <algorithm>
#include <vector>

#include "radio/clsTavCom.h"

namespace tav {

namespace {

const QString kReadError = QStringLiteral("Error reading radio");
const QString kWriteFailed = QStringLiteral("Write Failed. Cycle Radio Power before Retrying.");

constexpr int kWritePauseMs = 500;

bool validBlockNumber(int16_t groupNo) {
    return groupNo >= 0 && groupNo < kPageCount;
}

}  // namespace

// --------------------------------------------------------------------- helpers

void clsTavCom::reportReadFailure() {
    if (!cancelled())
        ctx_.prompter.show(kReadError, kCommError, MsgButtons::Ok, MsgIcon::Information);
}

void clsTavCom::endTransfer(bool zeroBar) {
    ctx_.clock.beep();
    if (zeroBar) ctx_.progress.setValue(0);
    ctx_.progress.setVisible(false);
    UnHook();
}

// Release twice, let the radio settle, then hook: the start of every write
// attempt. False when the port cannot be opened or the radio does not answer;
// the caller then gives up without a release of its own.
bool clsTavCom::beginWriteAttempt() {
    tally_.wordsWritten = tally_.wordsConsidered = 0;
    tally_.unwrittenGroups.clear();
    putOutside_.reset();
    UnHook();
    if (CommPortError) return false;
    UnHook();
    ctx_.clock.sleepBlocking(kWritePauseMs);
    return Hook();
}

// Sends image bytes [start, start + count) through the masked block write.
bool clsTavCom::writeImageRange(int start, int count) {
    const auto& image = ctx_.state.EEImage;
    std::vector<uint8_t> buffer(image.begin() + start, image.begin() + start + count);
    return WriteEEBytes(static_cast<int16_t>(start), buffer.data(), static_cast<int16_t>(count));
}

// After a failed write attempt: true when the user wants the whole exchange
// again. A cancelled write ends without a question.
bool clsTavCom::retryFailedWrite() {
    if (cancelled()) return false;
    return ctx_.prompter.show(kWriteFailed, kCommError, MsgButtons::RetryCancel,
                              MsgIcon::Information) == MsgResult::Retry;
}

// The pages the radio is not configured for were skipped. Each is read back,
// the bits a write would have set compared (but for power words the write put
// there), until the first that differs: a group the radio holds as the image
// has it is no loss; any other (one that cannot even be read included) is
// named, so that the write is not taken for all the image says.
void clsTavCom::noteUnwrittenGroups() {
    for (int page = 1; page < kPageCount; ++page)
        if (!pageWritable(page) && !radioHoldsPage(page)) tally_.unwrittenGroups.push_back(page);
}

bool clsTavCom::radioHoldsPage(int page) {
    const auto& image = ctx_.state.EEImage;
    const auto& mask = ctx_.state.GroupWriteMask;
    for (int offset = 0; offset < kPageSize; offset += 2) {
        const uint8_t m0 = mask[offset], m1 = mask[offset + 1];
        if (m0 == 0 && m1 == 0) continue;
        const int address = page * kPageSize + offset;
        if (putOutsidePages(address)) continue;
        Word held{};
        if (!ReadEEWord(static_cast<int16_t>(address), held)) return false;
        if (((held[0] ^ image[address]) & m0) || ((held[1] ^ image[address + 1]) & m1))
            return false;
    }
    return true;
}

// ----------------------------------------------------------------------- reads

bool clsTavCom::ReadEEMemory() {
    if (!Hook()) return false;
    const bool ok = ReadEEBytes(0, ctx_.state.EEImage.data(), kEEPromSize) && readPowerChecked(-1);
    if (ok)
        WarnNoBandwidthConfig();
    else
        reportReadFailure();
    endTransfer(true);
    return ok;
}

bool clsTavCom::ReadEEGlobal() {
    if (!Hook()) return false;
    auto& image = ctx_.state.EEImage;
    // The bandwidth masks travel with the group reads; a global read keeps them.
    std::array<uint8_t, kBandwidthCount> kept{};
    std::copy_n(image.begin() + kBandwidthStart, kBandwidthCount, kept.begin());
    ctx_.progress.EnableCancel();
    const bool ok = ReadEEBytes(0, image.data(), kPageSize) && readPowerChecked(-2);
    if (!ok) reportReadFailure();
    std::copy(kept.begin(), kept.end(), image.begin() + kBandwidthStart);
    endTransfer(true);
    return ok;
}

bool clsTavCom::ReadEEGroup(int16_t groupNo) {
    if (!validBlockNumber(groupNo)) return false;
    if (!Hook()) return false;
    const int start = groupNo * kPageSize;
    std::array<uint8_t, kPageSize + 1> buffer{};
    bool ok = ReadEEBytes(static_cast<int16_t>(start), buffer.data(), kPageSize);
    if (ok) {
        std::copy_n(buffer.begin(), kPageSize, ctx_.state.EEImage.begin() + start);
        if (groupNo > 0) {
            const auto index = static_cast<int16_t>(GroupNumber::fromPage(groupNo));
            ok = (!ctx_.state.PerChanBandOn || readBWChecked(index)) && readPowerChecked(index);
        }
    }
    if (!ok) reportReadFailure();
    endTransfer(false);
    return ok;
}

// ---------------------------------------------------------------------- writes

bool clsTavCom::WriteEEMemory(bool SkipGlobal) {
    const int start = SkipGlobal ? kPageSize : 0;
    bool result = false;
    bool bandwidthCapable = true;
    for (;;) {
        if (!beginWriteAttempt()) return false;
        bool ok = loadPageWritableChecked(0);
        if (ok) {
            const bool capabilityRead = setBWMaskChecked(&bandwidthCapable);
            const bool masksWritten =
                !SkipGlobal || writeImageRange(kBandwidthStart, kBandwidthCount);
            bool written = false;
            // A Cancel during the bandwidth bytes must not be cleared by the next block.
            if (masksWritten || !cancelled()) {
                written = writeImageRange(start, kEEPromSize - start);
                if (written) written = writePowerChecked(-1);
            }
            ok = capabilityRead && masksWritten && written;
        }
        if (ok) {
            noteUnwrittenGroups();
            result = true;
            break;
        }
        if (!retryFailedWrite()) break;
    }
    // The narrow bits went nowhere: said once the write is done, as a group write says it.
    if (result && !bandwidthCapable) warnNoBandwidthForWrite();
    endTransfer(false);
    return result;
}

bool clsTavCom::WriteEEGlobal() {
    return WriteEEGroup(0);
}

bool clsTavCom::WriteEEGroup(int16_t groupNo) {
    if (!validBlockNumber(groupNo)) return false;
    bool result = false;
    for (;;) {
        if (!beginWriteAttempt()) return false;
        bool ok = false;
        if (groupNo != 0) {
            if (loadPageWritableChecked(groupNo)) {
                if (!pageWritable(groupNo)) {
                    ctx_.prompter.show(QStringLiteral("Group not configured for channel data."),
                                       QStringLiteral("WRITE GROUP"), MsgButtons::Ok,
                                       MsgIcon::None);
                    ctx_.progress.setVisible(false);
                    UnHook();
                    return false;
                }
                ok = writeImageRange(groupNo * kPageSize, kPageSize);
                if (ok) {
                    const auto index = static_cast<int16_t>(GroupNumber::fromPage(groupNo));
                    ok = writePowerChecked(index);
                    if (ctx_.state.PerChanBandOn) ok = writeBWChecked(index) && ok;
                }
            }
        } else {
            const bool capabilityRead = setBWMaskChecked();
            setPageWritable(0, true);
            ok = writeImageRange(0, kPageSize) && capabilityRead;
        }
        if (ok) {
            result = true;
            break;
        }
        if (!retryFailedWrite()) break;
    }
    endTransfer(false);
    return result;
}

}  // namespace tav
