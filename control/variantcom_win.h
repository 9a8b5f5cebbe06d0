#pragma once

#include <QString>

// windows.h first: oleauto.h relies on its types.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

// Owners of the automation runtime's values, released on every path.
class VariantCom
{
public:
    VariantCom() { VariantInit(&m_valeur); }
    ~VariantCom() { VariantClear(&m_valeur); }
    VariantCom(const VariantCom&) = delete;
    VariantCom& operator=(const VariantCom&) = delete;

    VARIANT& valeur() { return m_valeur; }
    const VARIANT& valeur() const { return m_valeur; }

private:
    VARIANT m_valeur;
};

class BstrCom
{
public:
    BstrCom() = default;
    explicit BstrCom(const QString& texte)
        : m_texte(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(texte.utf16()),
                                    static_cast<UINT>(texte.size())))
    {}
    ~BstrCom() { SysFreeString(m_texte); }
    BstrCom(const BstrCom&) = delete;
    BstrCom& operator=(const BstrCom&) = delete;

    BSTR get() const { return m_texte; }
    // For a callee that may free and replace it (by reference).
    BSTR* adresse() { return &m_texte; }
    QString texte() const
    {
        return m_texte == nullptr ? QString()
                                  : QString::fromWCharArray(m_texte, static_cast<int>(SysStringLen(m_texte)));
    }

private:
    BSTR m_texte = nullptr;
};
