#pragma once

#include <QByteArray>
#include <QString>

// Texts crossing to and from the classification library travel in the system's narrow code page: the ANSI
// code page on Windows (an accented label must survive the trip, which UTF-8 would not give a closed
// library), the locale's encoding elsewhere. The one place that converts; one file per platform.
namespace TexteAnsi {

QByteArray versAnsi(const QString& texte);
// Up to the first zero byte, or longueur bytes when longueur is not negative.
QString depuisAnsi(const char* octets, qsizetype longueur = -1);

} // namespace TexteAnsi
