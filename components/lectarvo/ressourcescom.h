#pragma once

// windows.h first: oleauto.h relies on its types.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on
#include <utility>

// A BSTR of ours, freed when it goes unless handed over with detacher().
class TexteCom
{
public:
    TexteCom() = default;
    explicit TexteCom(BSTR texte) noexcept
        : m_texte(texte)
    {}
    ~TexteCom() { SysFreeString(m_texte); }
    TexteCom(TexteCom&& autre) noexcept
        : m_texte(std::exchange(autre.m_texte, nullptr))
    {}
    TexteCom& operator=(TexteCom&& autre) noexcept
    {
        std::swap(m_texte, autre.m_texte);
        return *this;
    }
    TexteCom(const TexteCom&) = delete;
    TexteCom& operator=(const TexteCom&) = delete;

    BSTR get() const noexcept { return m_texte; }
    BSTR detacher() noexcept { return std::exchange(m_texte, nullptr); }

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
