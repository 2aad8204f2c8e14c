#include "files/CsvText.h"

namespace tav {

namespace {

class CsvParser {
public:
    explicit CsvParser(const QString& text) : text_(text) {}

    CsvTable run() {
        while (pos_ < text_.size()) record();
        return std::move(table_);
    }

private:
    bool atEnd() const { return pos_ >= text_.size(); }
    QChar peek() const { return text_[pos_]; }
    static bool isBreak(QChar c) { return c == u'\r' || c == u'\n'; }

    // Consumes one line break (CRLF counts as one).
    void lineBreak() {
        if (peek() == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n') ++pos_;
        ++pos_;
        ++line_;
    }

    void error(int line, const QString& what) { table_.errors.push_back({line, what}); }

    // Skips the rest of a bad record, so that the next one is read from its start.
    void skipLine() {
        while (!atEnd() && !isBreak(peek())) ++pos_;
        if (!atEnd()) lineBreak();
    }

    void record() {
        CsvRecord rec;
        rec.line = line_;
        for (;;) {
            QString value;
            if (!field(value)) {
                skipLine();
                return;
            }
            rec.fields << value;
            if (atEnd()) break;
            if (peek() == u',') {
                ++pos_;
                continue;
            }
            lineBreak();  // field() stops only at a comma, a break or the end
            break;
        }
        if (rec.fields.size() == 1 && rec.fields[0].isEmpty()) return;  // an empty line
        table_.records.push_back(std::move(rec));
    }

    bool field(QString& value) {
        if (!atEnd() && peek() == u'"') return quoted(value);
        while (!atEnd() && peek() != u',' && !isBreak(peek())) {
            if (peek() == u'"') {
                error(line_, QStringLiteral("quote inside an unquoted field"));
                return false;
            }
            value += peek();
            ++pos_;
        }
        return true;
    }

    // Text follows the quote that closed a field opened on line `start`. When
    // that quote lies on a later line, the fault is most likely a quote left
    // open on the first line, which the next quoted field has closed.
    void afterClosingQuote(int start) {
        if (start == line_) return error(start, QStringLiteral("text after a closing quote"));
        error(start, QStringLiteral("quote not closed on its line (the field runs on to line %1, "
                                    "where text follows a closing quote)")
                         .arg(line_));
    }

    bool quoted(QString& value) {
        const int start = line_;
        ++pos_;
        for (;;) {
            if (atEnd()) {
                error(start, QStringLiteral("quoted field not closed"));
                return false;
            }
            const QChar c = peek();
            if (c == u'"') {
                ++pos_;
                if (!atEnd() && peek() == u'"') {
                    value += u'"';
                    ++pos_;
                    continue;
                }
                if (atEnd() || peek() == u',' || isBreak(peek())) return true;
                afterClosingQuote(start);
                return false;
            }
            if (isBreak(c)) {
                // A line break inside quotes belongs to the value, as written.
                const qsizetype from = pos_;
                lineBreak();
                value += text_.mid(from, pos_ - from);
                continue;
            }
            value += c;
            ++pos_;
        }
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    CsvTable table_;
};

}  // namespace

CsvTable ParseCsv(const QString& text) {
    return CsvParser(text).run();
}

QString CsvField(const QString& value) {
    const bool quote = value.contains(u',') || value.contains(u'"') || value.contains(u'\n') ||
                       value.contains(u'\r') || value.startsWith(u' ') || value.endsWith(u' ');
    if (!quote) return value;
    QString v = value;
    v.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

QString CsvLine(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields) out << CsvField(f);
    return out.join(u',') + QStringLiteral("\r\n");
}

}  // namespace tav
