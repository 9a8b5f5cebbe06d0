#include "echec.h"

Echec::Echec(int numero, QString description)
    : m_numero(numero)
    , m_description(std::move(description))
    , m_what(m_description.toUtf8())
{}

const char* Echec::what() const noexcept
{
    return m_what.constData();
}

QString valeurCitee(const QString& valeur)
{
    constexpr qsizetype Longueur = 200;
    if (valeur.size() <= Longueur)
        return valeur;
    // Never half a character: a pair of surrogates stays whole or goes whole.
    const qsizetype coupure = valeur.at(Longueur - 1).isHighSurrogate() ? Longueur - 1 : Longueur;
    return valeur.left(coupure) + QChar(0x2026);
}
