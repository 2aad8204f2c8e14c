#include "cli/CommandLine.h"

#include <unistd.h>

#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tav::cli {

namespace {

enum class Kind { Text, Count, Byte, Switch };

Kind kindOf(const Option& o) {
    if (std::strcmp(o.value, "N") == 0) return Kind::Count;
    if (std::strcmp(o.value, "0xNN") == 0) return Kind::Byte;
    if (std::strcmp(o.value, "on|off") == 0) return Kind::Switch;
    return Kind::Text;
}

// What the option needs, in the words of its error messages.
QString wanted(const Option& o) {
    switch (kindOf(o)) {
        case Kind::Count:
            return QStringLiteral("a count from 0");
        case Kind::Byte:
            return QStringLiteral("a byte value such as 0x40");
        case Kind::Switch:
            return QStringLiteral("on or off");
        case Kind::Text:
            break;
    }
    return QString::fromLatin1(o.value);
}

bool fits(const Option& o, const QString& v) {
    bool ok = false;
    switch (kindOf(o)) {
        case Kind::Count:
            return v.toInt(&ok) >= 0 && ok;
        case Kind::Byte:
            return v.toUInt(&ok, 0) <= 0xFF && ok;
        case Kind::Switch:
            return v == QLatin1String("on") || v == QLatin1String("off");
        case Kind::Text:
            break;
    }
    return !v.isEmpty();
}

QString spelled(const Option& o) {
    QString s = QString::fromLatin1(o.name);
    if (o.value) s += u' ' + QString::fromLatin1(o.value);
    return s;
}

// An argument that stands for an option rather than a value: "-" alone is
// standard input or output.
bool looksLikeOption(const QString& a) {
    return a.size() > 1 && a.startsWith(u'-');
}

constexpr int kHelpColumn = 18;

}  // namespace

bool CommandLine::parse(const Verb& verb, const QStringList& args) {
    verb_ = &verb;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        if (optionsEnded || !looksLikeOption(args[i]))
            operands_ << args[i];
        else if (args[i] == QLatin1String("--"))
            optionsEnded = true;
        else if (!takeOption(args, i))
            return false;
    }
    return complete();
}

// Takes the option at args[i], and its value, which may be the next argument.
bool CommandLine::takeOption(const QStringList& args, int& i) {
    const QString& a = args[i];
    const qsizetype eq = a.startsWith(QLatin1String("--")) ? a.indexOf(u'=') : -1;
    const QString name = eq < 0 ? a : a.left(eq);
    const Option* o = find(name);
    if (!o) return fail(QStringLiteral("unknown option '%1'").arg(name));
    QString v;
    if (!o->value) {
        if (eq >= 0) return fail(QStringLiteral("%1 takes no value").arg(name));
    } else if (eq >= 0) {
        v = a.mid(eq + 1);
    } else if (i + 1 < args.size() && !looksLikeOption(args[i + 1])) {
        v = args[++i];
    } else {
        return fail(QStringLiteral("%1 needs %2").arg(name, wanted(*o)));
    }
    if (o->value && !fits(*o, v))
        return fail(QStringLiteral("%1 needs %2, not '%3'").arg(name, wanted(*o), v));
    given_[QString::fromLatin1(o->name)] << v;
    return true;
}

// Every required option given, and the operands the verb takes.
bool CommandLine::complete() const {
    for (const Option& o : verb_->options)
        if (o.required && !has(o.name)) return fail(QStringLiteral("missing ") + spelled(o));
    const QStringList names = QString::fromLatin1(verb_->operands).split(u' ', Qt::SkipEmptyParts);
    if (operands_.size() < names.size())
        return fail(QStringLiteral("missing ") + names.mid(operands_.size()).join(u' '));
    // A last operand named "NAME..." takes one or more.
    const bool repeats = !names.isEmpty() && names.last().endsWith(QLatin1String("..."));
    if (operands_.size() > names.size() && !repeats)
        return fail(QStringLiteral("unexpected argument '%1'").arg(operands_[names.size()]));
    return true;
}

const Option* CommandLine::find(const QString& name) const {
    for (const Option& o : verb_->options)
        if (name == QLatin1String(o.name) || (o.alias && name == QLatin1String(o.alias))) return &o;
    return nullptr;
}

bool CommandLine::fail(const QString& why) const {
    complain(verb(), why);
    QTextStream(stderr) << "usage: " << synopsis(*verb_) << '\n';
    return false;
}

QString CommandLine::verb() const {
    return verb_ ? QString::fromLatin1(verb_->name) : QString();
}

bool CommandLine::has(const char* option) const {
    return given_.contains(QString::fromLatin1(option));
}

QString CommandLine::value(const char* option, const QString& fallback) const {
    const QStringList v = values(option);
    return v.isEmpty() ? fallback : v.last();
}

QStringList CommandLine::values(const char* option) const {
    return given_.value(QString::fromLatin1(option));
}

int CommandLine::count(const char* option, int fallback) const {
    return has(option) ? value(option).toInt() : fallback;
}

std::optional<bool> CommandLine::onOff(const char* option) const {
    if (!has(option)) return std::nullopt;
    return value(option) == QLatin1String("on");
}

QString synopsis(const Verb& verb) {
    QString s = QStringLiteral("tavctl ") + QString::fromLatin1(verb.name);
    for (const Option& o : verb.options)
        s += o.required ? u' ' + spelled(o) : QStringLiteral(" [") + spelled(o) + u']';
    if (*verb.operands) s += u' ' + QString::fromLatin1(verb.operands);
    return s;
}

QString help(const Verb& verb) {
    const QString indent(kHelpColumn, u' ');
    QString out = QStringLiteral("usage: ") + synopsis(verb) + u'\n';
    for (const QString& line : QString::fromLatin1(verb.about).split(u'\n', Qt::SkipEmptyParts))
        out += QStringLiteral("  ") + line + u'\n';
    for (const Option& o : verb.options) {
        QString head = QString::fromLatin1(o.name);
        if (o.alias) head += QStringLiteral(", ") + QString::fromLatin1(o.alias);
        if (o.value) head += u' ' + QString::fromLatin1(o.value);
        head = QStringLiteral("  ") + head;
        // A long option stands on a line of its own, its help below it.
        out +=
            head.size() < kHelpColumn - 1 ? head.leftJustified(kHelpColumn) : head + u'\n' + indent;
        out += QString::fromLatin1(o.help).replace(u'\n', u'\n' + indent) + u'\n';
    }
    return out;
}

void complain(const QString& verb, const QString& message) {
    // Plain stdio and no stream object: the last words of a program that has
    // no file descriptor left (the sanitizers' type check of a first stream
    // object would need one) still arrive.
    const QByteArray line =
        (QStringLiteral("tavctl ") + verb + QStringLiteral(": ") + message + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
}

bool printOut(const QString& verb, const QByteArray& bytes) {
    std::fflush(stdout);  // whatever stdio holds goes first
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done,
                                  static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            complain(verb, QStringLiteral("cannot write standard output: %1")
                               .arg(QString::fromLocal8Bit(std::strerror(err))));
            return false;
        }
        done += n;
    }
    return true;
}

bool printLines(const QString& verb, const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += line + u'\n';
    return printOut(verb, text.toUtf8());
}

}  // namespace tav::cli
