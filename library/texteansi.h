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

// A text argument as a program of that era hands it to a library: the ANSI bytes, zero-terminated, in an
// ANSI automation string on Windows (SysAllocStringByteLen: the length prefix before the first byte counts
// the bytes, so a library that reads it sees the right length), a plain copy elsewhere. Freed with the
// object, just after the call. Throws std::bad_alloc when memory is short.
class ArgumentAnsi
{
public:
    explicit ArgumentAnsi(const QString& texte);
    ~ArgumentAnsi();
    ArgumentAnsi(const ArgumentAnsi&) = delete;
    ArgumentAnsi& operator=(const ArgumentAnsi&) = delete;

    const char* octets() const { return m_octets; }

private:
    char* m_octets;
};

} // namespace TexteAnsi
