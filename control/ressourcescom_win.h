#pragma once

#include <QString>
#include <utility>

// windows.h first: oleauto.h relies on its types.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

// The automation runtime's texts and values as the host and our server both hold them: each released on
// every path, and one conversion between a BSTR and a QString.

class BstrCom;

// A null BSTR is the empty text; embedded zero characters are kept.
QString texteDepuisBstr(BSTR texte);
// Embedded zero characters are kept. Throws std::bad_alloc when the system has no memory for it.
BstrCom bstrDepuisTexte(const QString& texte);

// A BSTR of ours, freed when it goes unless handed over with detacher().
class BstrCom
{
public:
    BstrCom() = default;
    explicit BstrCom(BSTR texte) noexcept
        : m_texte(texte)
    {}
    ~BstrCom() { SysFreeString(m_texte); }
    BstrCom(BstrCom&& autre) noexcept
        : m_texte(std::exchange(autre.m_texte, nullptr))
    {}
    BstrCom& operator=(BstrCom&& autre) noexcept
    {
        std::swap(m_texte, autre.m_texte);
        return *this;
    }
    BstrCom(const BstrCom&) = delete;
    BstrCom& operator=(const BstrCom&) = delete;

    BSTR get() const noexcept { return m_texte; }
    // For a callee that fills it, or frees and replaces it (a text passed by reference).
    BSTR* adresse() noexcept { return &m_texte; }
    BSTR detacher() noexcept { return std::exchange(m_texte, nullptr); }
    QString texte() const { return texteDepuisBstr(m_texte); }

private:
    BSTR m_texte = nullptr;
};

// A VARIANT of ours, cleared (its text or interface released) when it goes unless handed over.
class VariantCom
{
public:
    VariantCom() noexcept { VariantInit(&m_valeur); }
    ~VariantCom() { VariantClear(&m_valeur); }
    VariantCom(VariantCom&& autre) noexcept
        : m_valeur(autre.m_valeur)
    {
        VariantInit(&autre.m_valeur);
    }
    VariantCom(const VariantCom&) = delete;
    VariantCom& operator=(const VariantCom&) = delete;

    VARIANT& valeur() noexcept { return m_valeur; }
    const VARIANT& valeur() const noexcept { return m_valeur; }
    // Moves the value into `destination`, which must hold nothing that needs releasing.
    void detacherVers(VARIANT& destination) noexcept
    {
        destination = m_valeur;
        VariantInit(&m_valeur);
    }

private:
    VARIANT m_valeur;
};
