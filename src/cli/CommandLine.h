#pragma once
// Every verb's command line, described once: its options and operands drive
// the parser, the synopsis its errors repeat and the help `tavctl VERB --help`
// prints (the manual page follows the same synopsis). Options come as
// "--opt value" or "--opt=value"; what an option takes is checked by the name
// of its value: N a count from 0, 0xNN a byte, on|off a switch.

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tav::cli {

struct Option {
    const char* name;             // "--port", "-o"
    const char* value = nullptr;  // what it takes, as shown: "DEVICE", "N"; none for a flag
    const char* help = "";        // '\n' starts another line
    const char* alias = nullptr;  // "--output" for "-o"
    bool required = false;
};

class CommandLine;

struct Verb {
    const char* name;
    const char* summary;          // its line in `tavctl --help`
    const char* about;            // lines of its help before the options
    std::vector<Option> options;  // in synopsis order
    const char* operands;         // "FILE", "A B", "FILE PATH..." (one or more), "" for none
    int (*run)(const CommandLine&);
};

// What a verb's arguments said, checked against its description.
class CommandLine {
public:
    // False, after saying why with the verb's synopsis on stderr, when the
    // arguments do not fit `verb`.
    bool parse(const Verb& verb, const QStringList& args);

    QString verb() const;
    const QStringList& operands() const { return operands_; }
    bool has(const char* option) const;
    // The last value given, or `fallback`.
    QString value(const char* option, const QString& fallback = QString()) const;
    QStringList values(const char* option) const;
    int count(const char* option, int fallback) const;
    std::optional<bool> onOff(const char* option) const;

    // Says why the arguments do not fit, with the verb's synopsis; false.
    bool fail(const QString& why) const;

private:
    const Option* find(const QString& name) const;
    bool takeOption(const QStringList& args, int& i);
    bool complete() const;

    const Verb* verb_ = nullptr;
    QMap<QString, QStringList> given_;  // by option name
    QStringList operands_;
};

// "tavctl VERB OPTIONS OPERANDS".
QString synopsis(const Verb& verb);
// "usage: " + synopsis, the verb's about lines, then a line or more per option.
QString help(const Verb& verb);
// "tavctl VERB: MESSAGE" on stderr.
void complain(const QString& verb, const QString& message);
// Writes `bytes` to standard output. When not all of it could be
// written (a full disk, a pipe whose reader has gone) says why as `verb` and
// returns false: output that did not arrive is a failure, not a success.
bool printOut(const QString& verb, const QByteArray& bytes);
// Writes each of `lines` and a line break after it, as printOut does.
bool printLines(const QString& verb, const QStringList& lines);

}  // namespace tav::cli
