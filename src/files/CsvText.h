#pragma once
// Comma-separated text as RFC 4180 has it: fields separated by commas,
// records by line breaks (CRLF, LF or CR), a field in double quotes may hold
// commas, line breaks and doubled quotes.

#include <QString>
#include <QStringList>
#include <vector>

namespace tav {

struct CsvRecord {
    int line = 0;  // line of the text (1-based) on which the record starts
    QStringList fields;
};

struct CsvError {
    int line = 0;
    QString what;
};

struct CsvTable {
    std::vector<CsvRecord> records;  // empty lines are left out
    std::vector<CsvError> errors;    // text that is not well-formed
};

CsvTable ParseCsv(const QString& text);

// A field as it is written: quoted when it holds a comma, a quote, a line
// break, or blanks at either end (which some tools would otherwise trim).
QString CsvField(const QString& value);
// Fields joined into one record, ended by CRLF.
QString CsvLine(const QStringList& fields);

}  // namespace tav
