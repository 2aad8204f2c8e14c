#include "app/Settings.h"

#include <cmath>

namespace tav {

namespace {
QString keyOf(const QString& section, const QString& key) { return section + '/' + key; }
}  // namespace

Settings::Settings()
    : store_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                         QStringLiteral("TAVEDWIN"), QStringLiteral("TAVEDWIN"))) {}

Settings::Settings(const QString& iniPath)
    : store_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QString Settings::get(const QString& section, const QString& key, const QString& def) const {
    return store_->value(keyOf(section, key), def).toString();
}

void Settings::save(const QString& section, const QString& key, const QString& text) {
    store_->setValue(keyOf(section, key), text);
}

bool Settings::contains(const QString& section, const QString& key) const {
    return store_->contains(keyOf(section, key));
}

double Settings::number(const QString& section, const QString& key, double def) const {
    bool ok = false;
    const double v = get(section, key).trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : def;
}

int Settings::integer(const QString& section, const QString& key, int def) const {
    const double v = number(section, key, NAN);
    if (std::isnan(v) || v < -2147483648.0 || v > 2147483647.0) return def;
    return static_cast<int>(std::nearbyint(v));
}

bool Settings::flag(const QString& section, const QString& key, bool def) const {
    const QString t = get(section, key).trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? v != 0 : def;
}

void Settings::saveNumber(const QString& section, const QString& key, double value) {
    save(section, key, QString::number(static_cast<float>(value), 'g', 9));
}

void Settings::saveInteger(const QString& section, const QString& key, int value) {
    save(section, key, QString::number(value));
}

void Settings::saveFlag(const QString& section, const QString& key, bool value) {
    save(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

namespace {
const QString kBand = QStringLiteral("Band");
const QString kPower = QStringLiteral("Power");
}  // namespace

bool Settings::perChannelBandwidth() const { return flag(kFeatures, kBand, true); }
bool Settings::perChannelPower() const { return flag(kFeatures, kPower, true); }
void Settings::savePerChannelBandwidth(bool on) { saveFlag(kFeatures, kBand, on); }
void Settings::savePerChannelPower(bool on) { saveFlag(kFeatures, kPower, on); }

int Settings::commPort() const {
    const int p = integer(kComm, QStringLiteral("Port"), 1);
    return p >= 1 && p <= 4 ? p : 1;
}

QString Settings::defaultPortDevice(int port) {
    // Ports 1 and 2 are the classic on-board lines, 3 and 4 the USB adapters
    // that most bench computers use today.
    switch (port) {
        case 1: return QStringLiteral("/dev/ttyS0");
        case 2: return QStringLiteral("/dev/ttyS1");
        case 3: return QStringLiteral("/dev/ttyUSB0");
        default: return QStringLiteral("/dev/ttyUSB1");
    }
}

QString Settings::portDevice(int port) const {
    const QString d = get(kComm, QStringLiteral("Device%1").arg(port)).trimmed();
    return d.isEmpty() ? defaultPortDevice(port) : d;
}

void Settings::setPortDevice(int port, const QString& device) {
    save(kComm, QStringLiteral("Device%1").arg(port), device);
}

QString Settings::fileName() const { return store_->fileName(); }

void Settings::sync() { store_->sync(); }

}  // namespace tav
