#pragma once

#include <QString>

class QLocale;

// A number a control answered, as text, the way the system's automation runtime turns a double (VT_R8) or a
// float (VT_R4) into text: the conversion a control's host would make. One implementation per platform: on
// Windows the runtime itself is called (VarBstrFromR8, VarBstrFromR4), elsewhere the same rule is applied:
//
// - at most 15 significant digits for a double, 7 for a float, rounded to nearest with a value exactly
//   halfway rounded away from zero, trailing zeros dropped (the C runtime's "%.15G" and "%.7G");
// - plain notation unless the decimal exponent X of the rounded value is below -4 or at least the number of
//   digits: doubles from 1E+15 up (999999999999999.5 already rounds there) and below 1E-04 (0.0001 is still
//   plain, 0.00009 is "9E-05"); floats from 1E+07 up (9999999.5 included) and below 1E-04;
// - the exponent as "E+nn" or "E-nn", at least two digits ("1E+15", "1E-05", "1E+300");
// - the locale's decimal separator, in plain and exponent notation alike ("0,1", "1,5E-05" in French), a
//   leading zero before it, no digit grouping;
// - a leading "-" for a negative value; a negative zero reads "0";
// - infinities and not-a-number as the runtime's C library writes them: "1.#INF", "-1.#INF", "1.#QNAN".
//
// locale is the operator's (QLocale()) in the tool; the tests give French and C. On Windows the operator's
// locale is the user's LCID, with the user's own settings.
QString texteDepuisR8(double valeur, const QLocale& locale);
QString texteDepuisR4(float valeur, const QLocale& locale);
