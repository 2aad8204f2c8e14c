#pragma once
// Reading the number a text starts with, the way every typed value in the
// editor is read: "." is always the decimal separator, whatever the user's
// locale, and whatever follows the number is ignored.

#include <QString>

namespace tav {

// Value of the leading number of text (optional blanks, sign, digits, a "."
// fraction and an exponent); 0 when the text does not start with a number.
// A number too large for a double gives an infinity of its sign.
double LeadingNumber(const QString& text);

// The shortest plain decimal text of a value, at most 15 significant digits
// and never in exponent form: "153", "155.6", "0.0000001".
QString ShortestDecimalText(double value);

// A byte as two upper-case hexadecimal digits ("0A", "FF").
QString HexByteText(int byte);

}  // namespace tav
