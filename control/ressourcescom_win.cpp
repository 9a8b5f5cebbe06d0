#include "ressourcescom_win.h"

#include <new>

QString texteDepuisBstr(BSTR texte)
{
    if (texte == nullptr)
        return {};
    return QString(reinterpret_cast<const QChar*>(texte), static_cast<qsizetype>(SysStringLen(texte)));
}

BstrCom bstrDepuisTexte(const QString& texte)
{
    BstrCom bstr(
        SysAllocStringLen(reinterpret_cast<const OLECHAR*>(texte.utf16()), static_cast<UINT>(texte.size())));
    if (bstr.get() == nullptr)
        throw std::bad_alloc();
    return bstr;
}
