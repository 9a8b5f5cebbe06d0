#include "conversionsvariant.h"

#include <new>

namespace {

// The variable types a reference may point to: those whose value the system converts and this file can
// store back.
bool referenceInscriptible(VARTYPE type)
{
    switch (type) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_BSTR:
    case VT_VARIANT:
        return true;
    default:
        return false;
    }
}

// The value a VT_BYREF|VT_VARIANT points to, following such references down to the variable itself.
template<typename Variant> Variant& variableVisee(Variant& argument)
{
    Variant* courant = &argument;
    while (courant->vt == (VT_BYREF | VT_VARIANT) && courant->pvarVal != nullptr)
        courant = courant->pvarVal;
    return *courant;
}

} // namespace

HRESULT valeurDepuisVariant(VARIANT& argument, GenreValeur genre, QVariant& valeur)
{
    VARIANT& variable = variableVisee(argument);
    if ((argument.vt & VT_BYREF) != 0 && !referenceInscriptible(argument.vt & ~VT_BYREF))
        return DISP_E_TYPEMISMATCH;
    if ((variable.vt & VT_BYREF) != 0 && !referenceInscriptible(variable.vt & ~VT_BYREF))
        return DISP_E_TYPEMISMATCH;

    // A copy without the reference, so the client's variable is only read here.
    VariantCom copie;
    HRESULT hr = VariantCopyInd(&copie.valeur(), &variable);
    if (FAILED(hr))
        return hr == E_OUTOFMEMORY ? hr : DISP_E_TYPEMISMATCH;
    if (copie.valeur().vt != VT_BSTR && copie.valeur().vt != VT_I4) {
        hr = VariantChangeType(&copie.valeur(), &copie.valeur(), 0,
                               genre == GenreValeur::Entier ? VT_I4 : VT_BSTR);
        if (FAILED(hr))
            return hr == E_OUTOFMEMORY ? hr : DISP_E_TYPEMISMATCH;
    }
    if (copie.valeur().vt == VT_I4)
        valeur = QVariant(qint32(copie.valeur().lVal));
    else
        valeur = QVariant(texteDepuisBstr(copie.valeur().bstrVal));
    return S_OK;
}

HRESULT ecrireDansReference(const QVariant& valeur, VARIANT& reference)
{
    if ((reference.vt & VT_BYREF) == 0)
        return E_INVALIDARG;
    VariantCom nouvelle;
    try {
        variantDepuisValeur(valeur, nouvelle.valeur());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }

    const VARTYPE type = reference.vt & ~VT_BYREF;
    if (type == VT_VARIANT) {
        VARIANT& variable = variableVisee(reference);
        if ((variable.vt & VT_BYREF) != 0) {
            // A variant variable holding a reference of its own: write through it, converted to its type.
            return ecrireDansReference(valeur, variable);
        }
        VariantClear(&variable);
        nouvelle.detacherVers(variable);
        return S_OK;
    }
    if (!referenceInscriptible(type))
        return DISP_E_TYPEMISMATCH;
    if (FAILED(VariantChangeType(&nouvelle.valeur(), &nouvelle.valeur(), 0, type)))
        return DISP_E_TYPEMISMATCH;
    const VARIANT& v = nouvelle.valeur();
    switch (type) {
    case VT_I1:
        *reference.pcVal = v.cVal;
        break;
    case VT_UI1:
        *reference.pbVal = v.bVal;
        break;
    case VT_I2:
        *reference.piVal = v.iVal;
        break;
    case VT_UI2:
        *reference.puiVal = v.uiVal;
        break;
    case VT_I4:
        *reference.plVal = v.lVal;
        break;
    case VT_UI4:
        *reference.pulVal = v.ulVal;
        break;
    case VT_INT:
        *reference.pintVal = v.intVal;
        break;
    case VT_UINT:
        *reference.puintVal = v.uintVal;
        break;
    case VT_R4:
        *reference.pfltVal = v.fltVal;
        break;
    case VT_R8:
        *reference.pdblVal = v.dblVal;
        break;
    case VT_BOOL:
        *reference.pboolVal = v.boolVal;
        break;
    case VT_BSTR:
        // The client's old text is ours to free once the new one replaces it.
        SysFreeString(*reference.pbstrVal);
        *reference.pbstrVal = nouvelle.valeur().bstrVal;
        nouvelle.valeur().vt = VT_EMPTY;
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

void variantDepuisValeur(const QVariant& valeur, VARIANT& resultat)
{
    VariantInit(&resultat);
    switch (valeur.typeId()) {
    case QMetaType::UnknownType:
        return;
    case QMetaType::Int:
        resultat.vt = VT_I4;
        resultat.lVal = valeur.toInt();
        return;
    case QMetaType::Bool:
        resultat.vt = VT_BOOL;
        resultat.boolVal = valeur.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    default:
        resultat.bstrVal = bstrDepuisTexte(valeur.toString()).detacher();
        resultat.vt = VT_BSTR;
        return;
    }
}
