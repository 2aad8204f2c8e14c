#include "files/RadioFile.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tav {

namespace {

// Copies the part of `bytes` that lies in [offset, offset + block size) into
// the block; the rest of the block is left as it was.
template <std::size_t N>
void fillBlock(std::array<uint8_t, N>& block, const QByteArray& bytes, int offset) {
    const qsizetype available = std::clamp<qsizetype>(bytes.size() - offset, 0, N);
    std::copy_n(reinterpret_cast<const uint8_t*>(bytes.constData()) + offset, available,
                block.begin());
}

template <std::size_t N>
void appendBlock(QByteArray& out, const std::array<uint8_t, N>& block) {
    out.append(reinterpret_cast<const char*>(block.data()), static_cast<qsizetype>(N));
}

// What the platform said, with the number that classic file errors use.
RadioFileResult systemError(int err, const QString& path, const QFileDevice* device = nullptr) {
    RadioFileResult r;
    r.status = RadioFileResult::SystemError;
    if (err != 0 || device == nullptr) {
        r.errorNumber = ClassicFileErrorNumber(err, path);
        r.description = QString::fromLocal8Bit(std::strerror(err));
        return r;
    }
    // The error code was lost on the way out of Qt: go by its own category.
    switch (device->error()) {
        case QFileDevice::PermissionsError:
            r.errorNumber = 70;
            break;
        case QFileDevice::ReadError:
        case QFileDevice::WriteError:
            r.errorNumber = 57;
            break;
        default:
            r.errorNumber = 75;
            break;
    }
    r.description = device->errorString();
    return r;
}

// stat() of `path`; false with errno set when there is nothing there.
bool statPath(const QString& path, struct stat& st) {
    const QByteArray native = QFile::encodeName(path);
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0;
}

RadioFileResult notAFile() {
    RadioFileResult r;
    r.status = RadioFileResult::NotAFile;
    return r;
}

RadioFileResult tooShort() {
    RadioFileResult r;
    r.status = RadioFileResult::TooShort;
    return r;
}

}  // namespace

int ClassicFileErrorNumber(int systemError, const QString& path) {
    switch (systemError) {
        case ENOENT: {
            const QFileInfo folder(QFileInfo(path).absolutePath());
            return folder.isDir() ? 53 : 76;
        }
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return 76;
        case EACCES:
        case EPERM:
        case EROFS:
            return 70;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return 61;
        case EIO:
            return 57;
        default:
            return 75;
    }
}

QByteArray SerializeRadioFile(const AppState& state) {
    QByteArray out;
    out.reserve(kRadioFileSize);
    appendBlock(out, state.EEImage);
    appendBlock(out, state.LabelImage);
    appendBlock(out, state.PowerMask);
    return out;
}

void DeserializeRadioFile(const QByteArray& bytes, AppState& state) {
    fillBlock(state.EEImage, bytes, 0);
    fillBlock(state.LabelImage, bytes, kRadioFileLabelOffset);
    fillBlock(state.PowerMask, bytes, kRadioFilePowerOffset);
}

RadioFileResult ReadRadioFile(const QString& path, AppState& state) {
    struct stat st {};
    errno = ENOENT;
    if (!statPath(path, st)) {
        const int err = errno;
        return systemError(err, path);
    }
    // A pipe or a device would block or never end; a folder is no file.
    if (!S_ISREG(st.st_mode)) return notAFile();
    if (st.st_size < kRadioFileMinimum) return tooShort();

    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) return systemError(errno, path, &file);
    errno = 0;
    const QByteArray bytes = file.read(kRadioFileSize);
    if (file.error() != QFileDevice::NoError) return systemError(errno, path, &file);
    // The file may have shrunk since it was measured.
    return LoadRadioFileBytes(bytes, state);
}

RadioFileResult LoadRadioFileBytes(const QByteArray& bytes, AppState& state) {
    if (bytes.size() < kRadioFileMinimum) return tooShort();
    DeserializeRadioFile(bytes, state);
    return {};
}

RadioFileResult WriteRadioFile(const QString& path, const AppState& state) {
    return SaveFileBytes(path, SerializeRadioFile(state));
}

RadioFileResult SaveFileBytes(const QString& path, const QByteArray& bytes) {
    struct stat st {};
    errno = ENOENT;
    if (statPath(path, st)) {
        // Renaming over a device node or a folder would destroy it.
        if (!S_ISREG(st.st_mode)) return notAFile();
    } else {
        const int err = errno;
        if (err != ENOENT || !QFileInfo(QFileInfo(path).absolutePath()).isDir())
            return systemError(err, path);
    }

    QSaveFile file(path);
    file.setDirectWriteFallback(false);  // never write into the old file in place
    errno = 0;
    // Unbuffered, so that a short write (disk full, file size limit) shows
    // here: a buffered write that falls short at commit time is not reported
    // by commit() and would leave a truncated file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return systemError(errno, path, &file);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const RadioFileResult r = systemError(errno, path, &file);
        file.cancelWriting();
        return r;
    }
    errno = 0;
    if (!file.commit()) return systemError(errno, path, &file);
    return {};
}

}  // namespace tav
