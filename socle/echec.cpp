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
