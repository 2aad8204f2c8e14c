#pragma once
// Radio files for the verbs of tavctl: loaded and saved with one wording for
// each fault, whichever verb meets it.

#include <QString>

#include "files/RadioFile.h"
#include "model/AppState.h"

namespace tav::cli {

// Loads `path` into `state`; on failure says why as `verb` and returns false.
bool loadImageFile(const QString& verb, const QString& path, AppState& state);
// Saves through a temporary file renamed over `path`; says why on failure.
bool saveImageFile(const QString& verb, const QString& path, const AppState& state);
// Says why a file could not be saved at `path`, in the same words; true when `result` is ok.
bool reportSaved(const QString& verb, const QString& path, const RadioFileResult& result);

}  // namespace tav::cli
