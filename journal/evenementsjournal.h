#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <chrono>
#include <exception>

class QVariant;

// What the decorators share to turn a call into the fields of its event.

// A value sent to or answered by a component: a text as a string, a number as a number, nothing
// (an invalid QVariant) as null, an array, an object or a record as its automation type
// ({"vartype": 8204, "type": "tableau de variants"}).
QJsonValue valeurJson(const QVariant& valeur);

// {"numero": 440, "description": "..."} for an Echec; any other exception as an internal fault.
QJsonObject echecJson(const std::exception_ptr& exception);

// Measures one call, in whole microseconds.
class Chronometre
{
public:
    Chronometre()
        : m_debut(std::chrono::steady_clock::now())
    {}
    qint64 microsecondes() const
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                     m_debut)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_debut;
};
