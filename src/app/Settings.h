#pragma once
// Per-user settings: text values in named sections under "TAVEDWIN", kept in
// an INI file in the user's configuration folder (XDG_CONFIG_HOME).

#include <QSettings>
#include <QString>
#include <memory>

namespace tav {

// The sections that several windows and tavctl share.
inline const QString kComm = QStringLiteral("Comm");
inline const QString kFeatures = QStringLiteral("Features");
inline const QString kPosition = QStringLiteral("Position");

class Settings {
public:
    Settings();                              // the user's own settings file
    explicit Settings(const QString& iniPath);  // a given file (tests, tools)

    QString get(const QString& section, const QString& key, const QString& def = QString()) const;
    void save(const QString& section, const QString& key, const QString& text);
    bool contains(const QString& section, const QString& key) const;

    // Typed readers: a missing value, or one that is not a number (or not a
    // truth value), yields the default.
    double number(const QString& section, const QString& key, double def) const;
    int integer(const QString& section, const QString& key, int def) const;
    bool flag(const QString& section, const QString& key, bool def) const;
    // Writers in the stored text forms: decimal numbers, "True"/"False".
    void saveNumber(const QString& section, const QString& key, double value);
    void saveInteger(const QString& section, const QString& key, int value);
    void saveFlag(const QString& section, const QString& key, bool value);

    // The per-channel bandwidth and power options, on when never set; the
    // editor and tavctl both follow them.
    bool perChannelBandwidth() const;
    bool perChannelPower() const;
    void savePerChannelBandwidth(bool on);
    void savePerChannelPower(bool on);

    // Serial port number 1..4 and the device each number stands for.
    int commPort() const;
    QString portDevice(int port) const;
    static QString defaultPortDevice(int port);
    void setPortDevice(int port, const QString& device);

    QString fileName() const;
    void sync();

private:
    std::unique_ptr<QSettings> store_;
};

}  // namespace tav
