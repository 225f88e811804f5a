#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

namespace brantock {

// The leading decimal number of a text: blanks before it are skipped, then an optional sign,
// digits with an optional fraction and exponent, as far as they go. No number gives 0.
double LeadingNumber(const QString& text);

// The whole text, blanks around it aside, is one number as LeadingNumber reads them.
bool IsNumeric(const QString& text);

// The text without the blanks (spaces) at both ends.
QString TrimBlanks(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// Real to integer conversions: rounded half to even; outside the type's range (or not a
// number) they raise the overflow error (6).
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);
std::uint8_t RoundToByte(double value);

// A value of any kind as a 32-bit integer: numbers rounded as above, texts read as a whole
// number text (type mismatch, 13, when they are not one), booleans as -1 and 0.
std::int32_t ToLong(const QVariant& value);

} // namespace brantock
