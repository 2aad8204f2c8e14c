#include "cli/DumpCommand.h"

#include "cli/Cli.h"
#include "cli/CliImage.h"
#include "cli/CommandLine.h"
#include "model/RadioFields.h"
#include "print/UnitReport.h"

namespace tav::cli {

namespace {

QString jsonString(const QString& s) {
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + u'"';
}

QString jsonValue(const RadioField& f) {
    if (f.kind == FieldKind::Check)
        return f.value == QLatin1String("1") ? QStringLiteral("true") : QStringLiteral("false");
    return jsonString(f.value);
}

QString member(const QString& key, const QString& value) {
    return jsonString(key) + QStringLiteral(": ") + value;
}

// The members of the fields of one place; moves i past them.
QStringList members(const std::vector<RadioField>& fields, std::size_t& i, int group, int channel) {
    QStringList out;
    for (; i < fields.size() && fields[i].group == group && fields[i].channel == channel; ++i)
        out << member(fields[i].key, jsonValue(fields[i]));
    return out;
}

// The JSON form of the whole image: two-space indents, one channel per line.
QString radioJson(const AppState& state) {
    const std::vector<RadioField> fields = ListRadioFields(state);
    std::size_t i = 0;
    const QString in1(2, u' '), in2(4, u' '), in3(6, u' '), in4(8, u' ');
    QString out = QStringLiteral("{\n") + in1 + QStringLiteral("\"unit\": {\n") + in2 +
                  members(fields, i, -1, -1).join(QStringLiteral(",\n") + in2) +
                  QStringLiteral("\n") + in1 + QStringLiteral("},\n") + in1 +
                  QStringLiteral("\"groups\": [\n");
    for (int g = 0; g < kGroupCount; ++g) {
        QStringList group{
            member(QStringLiteral("number"), QString::number(GroupNumber::toUser(g)))};
        group << members(fields, i, g, -1);
        QStringList channels;
        for (int c = 0; c < kChannelsPerGroup; ++c) {
            QStringList ch{member(QStringLiteral("channel"), QString::number(c + 1))};
            ch << members(fields, i, g, c);
            if (g == kGroupCount - 1)
                ch << member(QStringLiteral("low_power"), QStringLiteral("null"));
            channels << in4 + u'{' + ch.join(QStringLiteral(", ")) + u'}';
        }
        group << member(
            QStringLiteral("channels"),
            QStringLiteral("[\n") + channels.join(QStringLiteral(",\n")) + u'\n' + in3 + u']');
        out += in2 + QStringLiteral("{\n") + in3 + group.join(QStringLiteral(",\n") + in3) + u'\n' +
               in2 + u'}' + (g + 1 < kGroupCount ? QStringLiteral(",\n") : QStringLiteral("\n"));
    }
    out += in1 + QStringLiteral("]\n}\n");
    return out;
}

}  // namespace

int runDump(const CommandLine& cl) {
    const QString& path = cl.operands()[0];
    AppState state;
    if (!loadImageFile(cl.verb(), path, state)) return kFileError;
    const bool printed = cl.has("--json")
                             ? printOut(cl.verb(), radioJson(state).toUtf8())
                             : printLines(cl.verb(), BuildUnitReport(state, path).plainLines());
    return printed ? kOk : kFileError;
}

}  // namespace tav::cli
