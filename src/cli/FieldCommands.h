#pragma once
// tavctl get FILE PATH...
//   Each value a path names, one per line ("*" names several).
// tavctl set FILE PATH=VALUE...
//   Changes the fields and saves FILE atomically: every assignment or none.
// tavctl apply FILE EDITS.json|-
//   Changes exactly the fields present in a subset of `dump --json`'s shape.
// A refused path or value is named on stderr and FILE is left as it was.

namespace tav::cli {

class CommandLine;

int runGet(const CommandLine& cl);
int runSet(const CommandLine& cl);
int runApply(const CommandLine& cl);

}  // namespace tav::cli
