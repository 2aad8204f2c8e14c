#pragma once

namespace tav::cli {

class CommandLine;

// tavctl fleet run TEMPLATE --ports DEV[,DEV...] (--plan FILE | --ani-from HEX
//   [--ani-step N] [--count N]) [--log DB] [--labels] [--changed-only]
//   [--no-verify] [--once] [--retries N] [--trace DIR]
// Programs radios on every port at once, each from the template and its plan
// row, each logged. Exit 0 when every radio attempted ended "ok", 1 when any
// did not (or a port or the log failed), 2 for bad usage, 3 for a bad
// template, plan or log.
int runFleet(const CommandLine& cl);
// tavctl fleet status DB: plan rows done, claimed and left; attempts by status.
int runFleetStatus(const CommandLine& cl);
// tavctl fleet log DB [--csv]: every attempt.
int runFleetLog(const CommandLine& cl);

}  // namespace tav::cli
