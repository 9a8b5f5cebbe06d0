#pragma once

#include <QLocale>
#include <QString>

class QDate;

// The reference date sent to the control: "yyyyMMdd". An invalid date throws Echec.
QString dateReference(const QDate& date);

// The specialty code the act selection sends, from the text of txtSpecialite: 0 when the text is
// empty or not a number; otherwise the number rounded to the nearest integer, a half to the even
// neighbour. A number is read in the locale's notation first, then in the C notation, so "6,5"
// and "6.5" both read 6.5 in French, and "6.5" reads 6.5 in the C locale where "6,5" is no number.
// A number outside the 32-bit signed range throws Echec (Debordement).
qint32 codeSpecialite(const QString& texte, const QLocale& locale = QLocale());

// Nearest integer, a half going to the even neighbour, whatever the floating-point mode.
double arrondiAuPair(double valeur);
