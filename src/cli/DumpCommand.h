#pragma once
// tavctl dump [--json] FILE
//   text: the unit data printout's lines, with FILE as the printout's file name;
//   --json: every field, under stable keys:
//     {"unit": {...}, "groups": [{"number": 1, "label": ..., ...,
//                                 "channels": [{"channel": 1, "rx_freq": ..., ...}]}]}
//   Check boxes are true/false; group 15's channels have "low_power": null.

namespace tav::cli {

class CommandLine;

int runDump(const CommandLine& cl);

}  // namespace tav::cli
