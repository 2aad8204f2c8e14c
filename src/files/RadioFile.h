#pragma once
// The radio file: a plain dump of the three blocks that mirror the radio,
// with no header, version or checksum.
//
//   offset 0     2049 bytes  EEImage, elements 0..2048
//   offset 2049  2048 bytes  LabelImage, flat element order
//   offset 4097    30 bytes  PowerMask: byte b of group g at 4097 + 15*b + (g-1)
//
// Files of 2048 bytes or more are accepted (older ".frq" files hold only the
// EEPROM); see DeserializeRadioFile for what a shorter file leaves alone.

#include <QByteArray>
#include <QString>

#include "model/AppState.h"

namespace tav {

constexpr int kRadioFileLabelOffset = kEEImageSize;                             // 2049
constexpr int kRadioFilePowerOffset = kRadioFileLabelOffset + kLabelImageSize;  // 4097
constexpr int kRadioFileSize = kRadioFilePowerOffset + kPowerMaskSize;          // 4127
constexpr int kRadioFileMinimum = 2048;

// The 4127 bytes of a radio file holding `state`'s blocks.
QByteArray SerializeRadioFile(const AppState& state);

// Copies the blocks from the bytes of a file, as far as the bytes reach;
// bytes past 4127 are ignored. Whatever a short file does not reach keeps
// its previous value: an EEPROM-only file says nothing about labels or power
// settings, and zeros there would read as odd label characters and low
// power on every channel.
void DeserializeRadioFile(const QByteArray& bytes, AppState& state);

// Outcome of reading or writing a radio file.
struct RadioFileResult {
    enum Status {
        Ok,
        TooShort,     // under 2048 bytes: not a radio file
        NotAFile,     // a folder, a device, a pipe...
        SystemError,  // the platform refused: errorNumber/description say why
    };
    Status status = Ok;
    int errorNumber = 0;  // classic file-error number (53 not found, 70 permission denied...)
    QString description;  // the platform's own words
    bool ok() const { return status == Ok; }
};

// The bytes of a whole file: refused as TooShort under 2048 bytes, else
// copied into the blocks as DeserializeRadioFile does.
RadioFileResult LoadRadioFileBytes(const QByteArray& bytes, AppState& state);

// Reads the whole file first and replaces the blocks only when it is good,
// so a failed open never leaves a half-loaded image.
RadioFileResult ReadRadioFile(const QString& path, AppState& state);

// Writes a temporary file beside `path` and renames it over the target, so a
// failed save leaves the old file as it was and a longer old file keeps no
// stale tail.
RadioFileResult WriteRadioFile(const QString& path, const AppState& state);

// Any whole file saved as a radio file is: only over a regular file or as a
// new one (a device node, a folder or a pipe is refused as NotAFile, since
// the rename would replace it), through a temporary file renamed over `path`.
RadioFileResult SaveFileBytes(const QString& path, const QByteArray& bytes);

// Classic file-error number for a platform error code (errno) met while
// working on `path`: 53 file not found, 57 device I/O error, 61 disk full,
// 70 permission denied, 75 path/file access error, 76 path not found.
int ClassicFileErrorNumber(int systemError, const QString& path);

}  // namespace tav
