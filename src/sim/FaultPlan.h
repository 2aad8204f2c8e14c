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
//   slow=MS          every reply and echo byte leaves MS milliseconds late
// N counts from 1 since the radio was made. Reply bytes answer questions
// (the identification byte, word reads, ...); echo bytes repeat written data
// (word writes, RAM writes, ...).

#include <QString>
#include <cstdint>
#include <optional>

namespace tav::sim {

struct FaultPlan {
    bool silent = false;
    std::optional<uint8_t> id;
    int dropReply = 0;  // 0: none
    int corruptReply = 0;
    int dropEcho = 0;
    int corruptEcho = 0;
    int slowMs = 0;

    // Parses the text form; on failure returns false, leaves `out` alone and
    // says why in `error`.
    static bool parse(const QString& spec, FaultPlan& out, QString* error = nullptr);
    QString toString() const;
    bool operator==(const FaultPlan&) const = default;
};

}  // namespace tav::sim
