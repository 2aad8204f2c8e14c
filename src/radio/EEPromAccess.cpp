#include "radio/clsTavCom.h"

namespace tav {

namespace {
constexpr uint8_t kReadWord = 0xE1;
constexpr uint8_t kWriteWord = 0xE0;
constexpr uint8_t kWriteRam = 0xD0;
// The radio's EEPROM address bits 8..10 travel in bits 1..3 of the command byte.
uint8_t commandFor(uint8_t base, int16_t address) {
    return static_cast<uint8_t>(base | ((address / kPageSize) & 0x0E));
}
// Pause before a block transfer, during which no command may start.
constexpr int kBlockPauseMs = 500;

// A word whose mask lets no bit through is neither read nor written.
bool closedMask(const uint8_t* m) {
    return m[0] == 0x00 && m[1] == 0x00;
}
// The bits the mask lets through from `wanted`, the others from `current`.
Word merged(const Word& wanted, const Word& current, const uint8_t* m) {
    return {static_cast<uint8_t>((wanted[0] & m[0]) | (current[0] & ~m[0])),
            static_cast<uint8_t>((wanted[1] & m[1]) | (current[1] & ~m[1]))};
}
}  // namespace

// ------------------------------------------------------------- words

bool clsTavCom::ReadEEWord(int16_t address, Word& buffer) {
    send(commandFor(kReadWord, address));
    send(static_cast<uint8_t>(address & 0xFF));
    return WaitForComChar(buffer[0]) && WaitForComChar(buffer[1]);
}

bool clsTavCom::ReadEEByte(int16_t address, uint8_t& dest) {
    Word w{0, 0};
    const bool ok = ReadEEWord(static_cast<int16_t>(address & 0xFFFE), w);
    dest = w[address & 1];
    return ok;
}

const uint8_t* clsTavCom::writeMaskFor(int16_t address) const {
    if (address < 0) return nullptr;
    const int page = address / kPageSize;
    // The word written is always the even one, so its mask is too.
    const int offset = (address % kPageSize) & ~1;
    if (page == 0) return &ctx_.state.GlobalWriteMask[offset];
    if (page < kPageCount && PageWritable[page]) return &ctx_.state.GroupWriteMask[offset];
    return nullptr;
}

bool clsTavCom::WriteEEWord(int16_t address, uint8_t hi, uint8_t lo) {
    Word w{hi, lo};
    if (const uint8_t* m = writeMaskFor(address)) {
        if (closedMask(m)) return true;
        if (m[0] != 0xFF || m[1] != 0xFF) {
            // Protected bits keep the radio's value; if it cannot be read,
            // nothing is written rather than guessing them.
            Word current{};
            if (!ReadEEWord(address, current)) return false;
            w = merged(w, current, m);
        }
    }
    return sendWord(address, w);
}

bool clsTavCom::sendWord(int16_t address, const Word& w) {
    send(commandFor(kWriteWord, address));
    send(static_cast<uint8_t>(address & 0xFE));
    send(w[0]);
    send(w[1]);
    uint8_t e0 = 0, e1 = 0;
    if (!WaitForComChar(e0)) return false;
    return WaitForComChar(e1) && e0 == w[0] && e1 == w[1];
}

bool clsTavCom::putWord(int16_t address, Word w, bool lowFromRadio) {
    const uint8_t* m = writeMaskFor(address);
    if (!m && address >= kPageSize && address < kEEPromSize) putOutside_.set(address / 2);
    const bool closed = m && closedMask(m);
    if (!ChangedOnly) {
        if (lowFromRadio) {
            Word current{};
            if (!ReadEEWord(address, current)) return false;
            w[1] = current[1];
        }
        if (!closed) {
            ++tally_.wordsConsidered;
            ++tally_.wordsWritten;
        }
        return WriteEEWord(address, w[0], w[1]);
    }
    // Changed-only: the one read both decides and supplies the protected bits.
    if (closed) return true;
    ++tally_.wordsConsidered;
    Word current{};
    if (!ReadEEWord(address, current)) return false;
    if (lowFromRadio) w[1] = current[1];
    if (m) w = merged(w, current, m);
    if (w == current) return true;
    ++tally_.wordsWritten;
    return sendWord(address, w);
}

bool clsTavCom::putOutsidePages(int address) const {
    return address >= 0 && address < kEEPromSize && putOutside_.test(address / 2);
}

bool clsTavCom::WriteEEByte(int16_t address, uint8_t source) {
    const int16_t even = static_cast<int16_t>(address & 0x7FFE);
    Word w{};
    if (!ReadEEWord(even, w)) return false;
    w[address & 1] = source;
    return WriteEEWord(even, w[0], w[1]);
}

bool clsTavCom::WriteRamByte(int16_t address, uint8_t source) {
    send(kWriteRam);
    send(static_cast<uint8_t>(address & 0xFF));
    send(source);
    uint8_t echo = 0;
    return WaitForComChar(echo) && echo == source;
}

// ------------------------------------------------------------- blocks

void clsTavCom::startBlockProgress(int16_t start, int16_t count, bool setValue) {
    Progress& p = ctx_.progress;
    p.setMinimum(0);
    p.setMaximum(30000);
    p.setMinimum(start);
    p.setMaximum(start + count);
    if (setValue) p.setValue(start);
    p.setVisible(true);
    p.EnableCancel();
    ctx_.clock.sleepBlocking(kBlockPauseMs);
}

bool clsTavCom::ReadEEBytes(int16_t start, uint8_t* buffer, int16_t count) {
    startBlockProgress(start, count, false);
    int16_t address = start;
    for (int i = 0; i < count; i += 2) {
        if (ctx_.progress.Cancelled()) return false;
        Word w{};
        if (!ReadEEWord(address, w)) return false;
        buffer[i] = w[0];
        // An odd count still fetches a whole last word, but only the bytes
        // asked for are stored: the caller's buffer may hold no more.
        if (i + 1 < count) buffer[i + 1] = w[1];
        address = static_cast<int16_t>(address + 2);
        ctx_.progress.setValue(address);
    }
    return true;
}

bool clsTavCom::WriteEEBytes(int16_t start, const uint8_t* buffer, int16_t count) {
    startBlockProgress(start, count, true);
    for (int i = 0; i < count; i += 2) {
        if (ctx_.progress.Cancelled()) return false;
        const int16_t address = static_cast<int16_t>(start + i);
        const int page = address / kPageSize;
        if (page >= 0 && page < kPageCount && PageWritable[page]) {
            // An odd count: the byte after the block is not the caller's to
            // change, so it goes back as the radio holds it.
            const bool last = i + 1 >= count;
            if (!putWord(address, Word{buffer[i], last ? uint8_t{0} : buffer[i + 1]}, last))
                return false;
        }
        ctx_.progress.setValue(address);
    }
    return true;
}

// ------------------------------------------------- write permissions

void clsTavCom::LoadPageWritable(int16_t group) {
    (void)loadPageWritableChecked(group);
}

void clsTavCom::LoadPageWritableQuad(int16_t g) {
    (void)loadPageWritableQuadChecked(g);
}

// The block writes need to know whether the configuration words arrived:
// without them nobody knows which pages may be written.
bool clsTavCom::loadPageWritableChecked(int16_t group) {
    bool ok = true;
    if (group != 0) {
        ok = loadPageWritableQuadChecked(group);
    } else {
        for (int16_t g = 0; g < kPageCount; g = static_cast<int16_t>(g + 4))
            ok = loadPageWritableQuadChecked(g) && ok;
    }
    PageWritable[0] = true;
    return ok;
}

bool clsTavCom::loadPageWritableQuadChecked(int16_t g) {
    const int16_t base = static_cast<int16_t>(g & 0xFC);
    Word w{};
    // The flags of the four pages lie in one word.
    if (!ReadEEWord(static_cast<int16_t>(pageFlagByte(base)), w)) return false;
    for (int k = 0; k < 4; ++k)
        if (base + k >= 0 && base + k < kPageCount)
            PageWritable[base + k] = (w[k / 2] & pageFlagBit(base + k)) != 0;
    return true;
}

}  // namespace tav
