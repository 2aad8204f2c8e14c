#include "cli/Usage.h"

#include <cstring>

namespace tav::cli {

namespace {

struct VerbUsage {
    const char* verb;
    const char* synopsis;
    const char* options;
};

constexpr char kRadioOptions[] =
    "  --port DEVICE  the serial device of the radio, such as /dev/ttyUSB0\n"
    "  --labels       also the alpha labels (through the radio's label program)\n"
    "  --retries N    retry a failed hook or write N times (default 0: Cancel)\n"
    "  --trace FILE   record every byte sent and received, with timestamps\n";

const VerbUsage kUsages[] = {
    {"sim",
     "tavctl sim [--image FILE] [--id 0xNN] [--timing] [--fault LIST] [--dump-on-exit FILE]",
     "  --image FILE  load a radio file: its first 2048 bytes into the EEPROM, and\n"
     "                its labels into the label memory when the file holds them\n"
     "                (default: a factory radio with groups 1-14 and both per-channel\n"
     "                options)\n"
     "  --id 0xNN     identification byte (default 0x40)\n"
     "  --timing      charge every byte its wire time (10 bits at the line speed)\n"
     "  --fault LIST  comma-separated faults: silent, id=0xNN, drop-reply=N,\n"
     "                corrupt-reply=N, drop-echo=N, corrupt-echo=N, corrupt-in=N,\n"
     "                slow=MS; counts may be ranges N-M within a step, as in\n"
     "                drop-reply=label:6-9 (steps: hook, eeprom, ram, baud, loader,\n"
     "                label)\n"
     "  --dump-on-exit FILE  when stopped (SIGTERM, SIGINT), write the EEPROM and the\n"
     "                labels to FILE as a radio file without power settings\n"},
    {"read", "tavctl read --port DEVICE [--labels] [--retries N] [--trace FILE] -o FILE",
     "  -o FILE        the radio file to write (replaced only when complete)\n"},
    {"write",
     "tavctl write --port DEVICE [--labels] [--skip-global] [--changed-only] [--verify] "
     "[--retries N] [--trace FILE] FILE",
     "  --skip-global  leave the radio's unit-wide block as it is\n"
     "  --changed-only read every word and label character first and write only those\n"
     "                that differ; prints how many were written\n"
     "  --verify       read the radio back and compare it with FILE (exit 4 if it differs;\n"
     "                with --changed-only every word was read already: adds nothing)\n"},
    {"verify", "tavctl verify --port DEVICE [--labels] [--retries N] [--trace FILE] FILE",
     "  reads the radio and lists how it differs from FILE (exit 4 if it differs)\n"},
    {"dump", "tavctl dump FILE [--json]",
     "  prints the radio file as the unit data printout's text\n"
     "  --json         as JSON with stable keys instead\n"},
    {"diff", "tavctl diff A B",
     "  lists every field (and undecoded byte) that differs; exit 1 if any does\n"},
    {"export-csv", "tavctl export-csv FILE [-o CSV]",
     "  one row per channel: Group, Channel, Rx Freq, Rx CG, Tx Freq, Tx CG, Label,\n"
     "  Scan, Narrow, Low Power (standard output without -o)\n"},
    {"import-csv", "tavctl import-csv FILE CSV -o OUT",
     "  applies the CSV rows (columns matched by header) to FILE and writes OUT;\n"
     "  when any row is bad, lists every bad row and writes nothing (exit 3)\n"},
    {"print", "tavctl print FILE -o REPORT.pdf",
     "  writes the unit data printout of the radio file FILE as a PDF file\n"
     "  -o, --output REPORT.pdf  the PDF file to write\n"},
};

const VerbUsage* find(const char* verb) {
    for (const VerbUsage& u : kUsages)
        if (std::strcmp(u.verb, verb) == 0) return &u;
    return nullptr;
}

}  // namespace

QString verbSynopsis(const char* verb) {
    const VerbUsage* u = find(verb);
    return u ? QString::fromLatin1(u->synopsis) : QString();
}

QString verbHelp(const char* verb) {
    const VerbUsage* u = find(verb);
    if (!u) return QString();
    const bool radio = std::strcmp(verb, "read") == 0 || std::strcmp(verb, "write") == 0 ||
                       std::strcmp(verb, "verify") == 0;
    return QStringLiteral("usage: ") + QString::fromLatin1(u->synopsis) + u'\n' +
           QString::fromLatin1(u->options) + (radio ? QString::fromLatin1(kRadioOptions) : QString());
}

}  // namespace tav::cli
