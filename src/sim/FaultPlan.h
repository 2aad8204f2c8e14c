#pragma once
// Faults the virtual radio can be told to show, for tests and for `tavctl sim`.
//
// Text form: comma-separated items, e.g. "id=0x43,drop-echo=3,slow=600":
//   silent           the radio answers nothing at all
//   id=0xNN          the identification byte sent in answer to a hook request
//   drop-reply=N     the N-th reply byte is never sent
//   corrupt-reply=N  the N-th reply byte is sent with every bit inverted
//   drop-echo=N      the N-th echo byte is never sent
//   corrupt-echo=N   the N-th echo byte is sent with every bit inverted
//   corrupt-in=N     the N-th byte from the editor reaches the radio with every bit inverted
//   slow=MS          every reply and echo byte leaves MS milliseconds late
//   stuck=ADDR       the EEPROM word holding address ADDR keeps its value
//                    through word writes, which it echoes as if they stuck
//                    (a worn cell); repeatable
// N counts from 1 since the radio was made. Reply bytes answer questions
// (the identification byte, word reads, ...); echo bytes repeat written data
// (word writes, RAM writes, ...).
//
// Every counted item (drop-/corrupt-) may instead name a range and a step of
// the protocol, and may be given more than once: "drop-reply=label:6-9"
// drops the 6th to the 9th reply of the label program. The steps:
//   hook    the identification byte (replies); bytes the idle radio hears (corrupt-in)
//   eeprom  word reads and writes; for corrupt-in, every byte of a hooked command
//   ram     RAM byte writes other than the baud register (echoes)
//   baud    the write of the baud register 0x0D (echo) and the 0x28 check (reply)
//   loader  bytes the loader receives (corrupt-in)
//   label   the label program's answers (replies to reads, echoes of writes) and
//           the bytes it receives (corrupt-in)
// With a step, N counts from 1 within that step.

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tav::sim {

enum class FaultKind { DropReply, CorruptReply, DropEcho, CorruptEcho, CorruptIn };
enum class Phase { Any, Hook, EEProm, Ram, Baud, Loader, Label };
constexpr int kPhaseCount = 7;

// One counted item: bytes first..last (counted within `phase`) of `kind`.
struct CountedFault {
    FaultKind kind;
    Phase phase = Phase::Any;
    int first = 0;
    int last = 0;
    bool operator==(const CountedFault&) const = default;
};

struct FaultPlan {
    bool silent = false;
    std::optional<uint8_t> id;
    int dropReply = 0;  // 0: none
    int corruptReply = 0;
    int dropEcho = 0;
    int corruptEcho = 0;
    int slowMs = 0;
    // Further counted items: ranges, steps, repeats, and corrupt-in.
    std::vector<CountedFault> counted;
    std::vector<uint16_t> stuck;  // EEPROM addresses, as given

    // Whether a word write to the word at `address` leaves it as it was.
    bool stuckWord(uint16_t address) const;

    // Whether the byte that is the `total`-th of its kind overall and the
    // `inPhase`-th of its kind within `phase` is hit by a fault of `kind`.
    bool hits(FaultKind kind, Phase phase, int total, int inPhase) const;

    // Parses the text form; on failure returns false, leaves `out` alone and
    // says why in `error`.
    static bool parse(const QString& text, FaultPlan& out, QString* error = nullptr);
    QString toString() const;
    bool operator==(const FaultPlan&) const = default;
};

}  // namespace tav::sim
