#include "lecturevariant_win.h"

#include "ressourcescom_win.h"
#include "valeurautomation.h"

QVariant valeurLue(const VARIANT& valeur)
{
    if ((valeur.vt & VT_BYREF) != 0) {
        VariantCom referent;
        // VariantCopyInd follows the reference and copies what it points at: a text is duplicated, an
        // object is only referenced, never evaluated.
        if (FAILED(VariantCopyInd(&referent.valeur(), const_cast<VARIANT*>(&valeur))) ||
            (referent.valeur().vt & VT_BYREF) != 0)
            return QVariant::fromValue(ValeurNonScalaire{static_cast<quint16>(valeur.vt & ~VT_BYREF)});
        return valeurLue(referent.valeur());
    }
    const VARTYPE type = valeur.vt;
    if (type == VT_EMPTY)
        return {};
    if (type == VT_NULL)
        return QVariant::fromValue(nullptr);
    if (type == VT_BSTR)
        return texteDepuisBstr(valeur.bstrVal);
    if ((type & (VT_ARRAY | VT_VECTOR)) != 0 || type == VT_DISPATCH || type == VT_UNKNOWN ||
        type == VT_RECORD)
        return QVariant::fromValue(ValeurNonScalaire{type});
    VariantCom converti;
    if (FAILED(VariantChangeTypeEx(&converti.valeur(), const_cast<VARIANT*>(&valeur), LOCALE_USER_DEFAULT,
                                   VARIANT_LOCALBOOL, VT_BSTR)))
        return QVariant::fromValue(ValeurNonScalaire{type});
    return texteDepuisBstr(converti.valeur().bstrVal);
}
