#include "cli/Cli.h"

#include <QTextStream>
#include <cstdio>

#include "app/AppInfo.h"
#include "cli/CommandLine.h"
#include "cli/CsvCommands.h"
#include "cli/DiffCommand.h"
#include "cli/DumpCommand.h"
#include "cli/FieldCommands.h"
#include "cli/FleetCommand.h"
#include "cli/PrintCommand.h"
#include "cli/ReadCommand.h"
#include "cli/SimCommand.h"
#include "cli/VerifyCommand.h"
#include "cli/WriteCommand.h"

namespace tav::cli {

namespace {

// The options of the verbs that talk to a radio.
const Option kPort{.name = "--port",
                   .value = "DEVICE",
                   .help = "the serial device of the radio, such as /dev/ttyUSB0",
                   .required = true};
const Option kLabels{.name = "--labels",
                     .help = "also the alpha labels (through the radio's label program)"};
const Option kRetries{.name = "--retries",
                      .value = "N",
                      .help = "retry a failed hook or write N times (default 0: Cancel)"};
const Option kTrace{.name = "--trace",
                    .value = "FILE",
                    .help = "record every byte sent and received, with timestamps"};
const Option kBandwidth{.name = "--per-channel-bandwidth",
                        .value = "on|off",
                        .help =
                            "the editor's Per-Channel Bandwidth option for this run: when\n"
                            "on, a radio not factory configured for it is warned about\n"
                            "(default: the editor's setting, Features/Band, on if unset)"};
const Option kPower{.name = "--per-channel-power",
                    .value = "on|off",
                    .help =
                        "the editor's Per-Channel Power option for this run: when on,\n"
                        "a radio not factory configured for it is warned about\n"
                        "(default: the editor's setting, Features/Power, on if unset)"};

Option output(const char* value, const char* help, bool required) {
    return Option{
        .name = "-o", .value = value, .help = help, .alias = "--output", .required = required};
}

// Every verb: what `tavctl --help` lists, what `tavctl VERB --help` shows and
// what the parser accepts. One line adds an option to a verb.
const std::vector<Verb> kVerbs = {
    {"sim",
     "serve the virtual radio on a pseudo-terminal",
     "serves until stopped (SIGTERM, SIGINT); the device path is the first line\n"
     "on standard output",
     {{.name = "--image",
       .value = "FILE",
       .help = "load a radio file: its first 2048 bytes into the EEPROM, and\n"
               "its labels into the label memory when the file holds them\n"
               "(default: a factory radio with groups 1-14 and both\n"
               "per-channel options)"},
      {.name = "--id", .value = "0xNN", .help = "identification byte (default 0x40)"},
      {.name = "--timing", .help = "charge every byte its wire time (10 bits at the line speed)"},
      {.name = "--fault",
       .value = "LIST",
       .help = "comma-separated faults: silent, id=0xNN, drop-reply=N,\n"
               "corrupt-reply=N, drop-echo=N, corrupt-echo=N, corrupt-in=N,\n"
               "slow=MS, stuck=ADDR; counts may be ranges N-M within a\n"
               "step, as in drop-reply=label:6-9 (steps: hook, eeprom, ram,\n"
               "baud, loader, label); stuck=ADDR: the EEPROM word at ADDR\n"
               "keeps its value through writes, which it echoes all the same\n"
               "(a worn cell); repeatable"},
      {.name = "--dump-on-exit",
       .value = "FILE",
       .help = "when stopped (SIGTERM, SIGINT), write the EEPROM and the\n"
               "labels to FILE as a radio file without power settings"},
      {.name = "--radios",
       .value = "N",
       .help = "a bench of N radios taking turns, each with a random image\n"
               "and ID numbers; a radio leaves when it is released for good:\n"
               "hooked and released with nothing asked between, after\n"
               "something was written to it (as a station checks that it is\n"
               "still there); \"radio K released\" (or \"pulled\") is then\n"
               "printed on standard output"},
      {.name = "--swap-seconds",
       .value = "S",
       .help = "with --radios: the line stays silent for S seconds (default\n"
               "3), and until one hook request went unanswered, before the\n"
               "next radio answers"},
      {.name = "--seed",
       .value = "N",
       .help = "with --radios: radio K's image is drawn from N + K"},
      {.name = "--pull",
       .value = "K:B",
       .help = "with --radios: radio K vanishes after it heard B bytes (a\n"
               "radio pulled mid-transfer); comma-separated, repeatable"},
      {.name = "--stuck",
       .value = "K:ADDRESS",
       .help = "with --radios: radio K's EEPROM word at ADDRESS keeps its\n"
               "value through writes, which it echoes all the same (a worn\n"
               "cell: only a read-back finds it); comma-separated, repeatable"},
      {.name = "--dump-dir",
       .value = "DIR",
       .help = "with --radios: each radio as it leaves (and the one on the\n"
               "line when stopped) as DIR/radio-K.tav"}},
     "",
     runSim},
    {"dump",
     "print a radio file as the printout's text, or as JSON (--json)",
     "prints the radio file as the unit data printout's text",
     {{.name = "--json", .help = "as JSON with stable keys instead"}},
     "FILE",
     runDump},
    {"get",
     "print fields of a radio file by name",
     "prints the value of each field PATH names, one per line: unit.KEY,\n"
     "group.N.KEY or group.N.channel.M.KEY, with the keys of dump --json, groups\n"
     "1-15 and channels 1-14; * for N or M names every group or channel",
     {},
     "FILE PATH...",
     runGet},
    {"set",
     "change fields of a radio file by name",
     "sets each field PATH names (paths as for get) to VALUE and saves FILE: list\n"
     "entries by their text, check boxes 0, 1, true or false; a changed value must\n"
     "pass the editor's entry rules; when any is refused, nothing is written",
     {},
     "FILE PATH=VALUE...",
     runSet},
    {"apply",
     "change the fields given in JSON as dump --json prints them",
     "changes exactly the fields present in EDITS.json (- for standard input), any\n"
     "part of what dump --json prints, and saves FILE; when any is refused, nothing\n"
     "is written (exit 3)",
     {},
     "FILE EDITS.json|-",
     runApply},
    {"diff",
     "list the differences between two radio files",
     "lists every field (and undecoded byte) that differs; exit 1 if any does",
     {},
     "A B",
     runDiff},
    {"export-csv",
     "write a radio file's channels as CSV",
     "one row per channel: Group, Channel, Rx Freq, Rx CG, Tx Freq, Tx CG, Label,\n"
     "Scan, Narrow, Low Power",
     {output("CSV", "the CSV file to write (default: standard output)", false)},
     "FILE",
     runExportCsv},
    {"import-csv",
     "apply CSV channel rows to a radio file",
     "applies the CSV rows (columns matched by header) to FILE and writes OUT;\n"
     "when any row is bad, lists every bad row and writes nothing (exit 3)",
     {output("OUT", "the radio file to write", true)},
     "FILE CSV",
     runImportCsv},
    {"read",
     "read the whole radio into a radio file",
     "reads the whole radio into a radio file",
     {kPort, kLabels, kRetries, kTrace, kBandwidth, kPower,
      output("FILE", "the radio file to write (replaced only when complete)", true)},
     "",
     runRead},
    {"write",
     "write a radio file to the radio",
     "writes the radio file FILE to the radio",
     {kPort,
      kLabels,
      {.name = "--skip-global", .help = "leave the radio's unit-wide block as it is"},
      {.name = "--changed-only",
       .help = "read every word and label character first and write only those\nthat differ; "
               "prints how many were written"},
      {.name = "--verify",
       .help = "read the radio back and compare it with FILE (exit 4 if it\ndiffers; with "
               "--changed-only\nevery word was read already: adds nothing)"},
      kRetries,
      kTrace,
      kBandwidth,
      kPower},
     "FILE",
     runWrite},
    {"print",
     "write the unit data printout of a radio file as a PDF file",
     "writes the unit data printout of the radio file FILE as a PDF file",
     {output("REPORT.pdf", "the PDF file to write", true)},
     "FILE",
     runPrint},
    {"fleet run",
     "program many radios from a template, several ports at once",
     "programs every radio that comes onto the ports: each is read and kept as a\n"
     "backup, written with the template plus its plan row, read back, and logged;\n"
     "a station then waits for its radio to be taken away and the next one to\n"
     "answer. Ctrl-C finishes the radios being written and stops; a second Ctrl-C\n"
     "stops at once, logging them interrupted. Exit 0 when every radio attempted\n"
     "is ok, 1 otherwise",
     {{.name = "--ports",
       .value = "DEV[,DEV...]",
       .help = "the serial devices, one station each",
       .required = true},
      {.name = "--plan",
       .value = "FILE",
       .help = "a CSV file: a header of field paths (group.*.ani_id,\n"
               "unit.password, group.3.label, ...), then one row per radio"},
      {.name = "--ani-from",
       .value = "HEX",
       .help = "instead of a plan: radio 1 gets this ANI/ID in every group,\n"
               "each next radio the next number"},
      {.name = "--ani-step", .value = "N", .help = "with --ani-from: the step (default 1)"},
      {.name = "--count",
       .value = "N",
       .help = "with --ani-from: how many radios (default with --once: one\nper port)"},
      {.name = "--log",
       .value = "DB",
       .help = "the log: an SQLite file (default fleet-log.sqlite), or\n"
               "postgresql://USER@HOST/DB shared by several benches"},
      {.name = "--labels", .help = "also read, write and verify the alpha labels"},
      {.name = "--changed-only", .help = "write only the words and label characters that differ"},
      {.name = "--no-verify", .help = "do not read the radio back after writing"},
      {.name = "--once", .help = "each port programs the radio on it once, then the run ends"},
      {.name = "--retries",
       .value = "N",
       .help = "retry a failed hook, read, write or read-back N times per\n"
               "radio (default 0)"},
      {.name = "--trace",
       .value = "DIR",
       .help = "record each station's serial traffic as DIR/station-K.txt"}},
     "TEMPLATE",
     runFleet},
    {"fleet status",
     "count a fleet log's plan rows and attempts",
     "plan rows done, claimed and left; attempts by status",
     {},
     "DB",
     runFleetStatus},
    {"fleet log",
     "list a fleet log's attempts",
     "every radio attempt, oldest first, one line each (tab-separated)",
     {{.name = "--csv", .help = "as CSV instead"}},
     "DB",
     runFleetLog},
    {"verify",
     "compare the radio with a radio file",
     "reads the radio and lists how it differs from FILE (exit 4 if it differs)",
     {kPort, kLabels, kRetries, kTrace, kBandwidth, kPower},
     "FILE",
     runVerify},
};

void usage(QTextStream& out) {
    out << "usage: tavctl VERB [options]\n"
           "verbs:\n";
    for (const Verb& v : kVerbs)
        out << "  " << QString::fromLatin1(v.name).leftJustified(13) << v.summary << '\n';
}

bool asksForHelp(const QStringList& args) {
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

}  // namespace

int run(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString verb = arguments.value(1);
    if (verb == QLatin1String("--version")) {
        out << "tavctl " << appVersion() << '\n';
        return kOk;
    }
    if (verb.isEmpty() || verb == QLatin1String("--help") || verb == QLatin1String("-h")) {
        usage(verb.isEmpty() ? err : out);
        return verb.isEmpty() ? kUsage : kOk;
    }
    for (const Verb& v : kVerbs) {
        // A verb of two words ("fleet run") takes both.
        const QString name = QString::fromLatin1(v.name);
        const int words = int(name.count(u' ')) + 1;
        if (name != arguments.mid(1, words).join(u' ')) continue;
        const QStringList rest = arguments.mid(1 + words);
        if (asksForHelp(rest)) {
            out << help(v);
            return kOk;
        }
        CommandLine cl;
        if (!cl.parse(v, rest)) return kUsage;
        return v.run(cl);
    }
    // The first word of verbs of two words: help on all of them.
    QStringList family;
    for (const Verb& v : kVerbs)
        if (QString::fromLatin1(v.name).startsWith(verb + u' ')) family << help(v);
    if (!family.isEmpty() && asksForHelp(arguments.mid(2))) {
        out << family.join(u'\n');
        return kOk;
    }
    if (!family.isEmpty()) {
        err << "tavctl " << verb << ": unknown or missing word after '" << verb << "'\n";
        usage(err);
        return kUsage;
    }
    err << "tavctl: unknown verb '" << verb << "'\n";
    usage(err);
    return kUsage;
}

}  // namespace tav::cli
