#include "appelsdispatch.h"

#include "conversionsvariant.h"

VariantCom variantTexte(const QString& texte)
{
    VariantCom v;
    v.valeur().bstrVal = bstrDepuisTexte(texte).detacher();
    v.valeur().vt = VT_BSTR;
    return v;
}

VariantCom variantEntier(qint32 valeur)
{
    VariantCom v;
    v.valeur().vt = VT_I4;
    v.valeur().lVal = valeur;
    return v;
}

ReponseDispatch invoquer(IDispatch* objet, DISPID dispId, WORD drapeaux, DISPPARAMS& parametres, REFIID iid)
{
    ReponseDispatch reponse;
    VariantCom resultat;
    EXCEPINFO exception{};
    exception.wCode = 0xFFFF;
    reponse.argumentFautif = argumentFautifIntact;
    reponse.hr = objet->Invoke(dispId, iid, LOCALE_USER_DEFAULT, drapeaux, &parametres, &resultat.valeur(),
                               &exception, &reponse.argumentFautif);
    reponse.type = resultat.valeur().vt;
    if (resultat.valeur().vt == VT_BSTR)
        reponse.texte = texteDepuisBstr(resultat.valeur().bstrVal);
    // The client owns what the server put in the exception.
    BstrCom source(exception.bstrSource);
    BstrCom description(exception.bstrDescription);
    BstrCom aide(exception.bstrHelpFile);
    reponse.scode = exception.scode;
    reponse.wCode = exception.wCode;
    reponse.source = texteDepuisBstr(source.get());
    reponse.description = texteDepuisBstr(description.get());
    return reponse;
}

ReponseDispatch ecrire(IDispatch* objet, DISPID dispId, VARIANT& valeur, WORD drapeaux)
{
    DISPID nomme = DISPID_PROPERTYPUT;
    DISPPARAMS parametres{&valeur, &nomme, 1, 1};
    return invoquer(objet, dispId, drapeaux, parametres);
}

ReponseDispatch lire(IDispatch* objet, DISPID dispId)
{
    DISPPARAMS parametres{};
    return invoquer(objet, dispId, DISPATCH_PROPERTYGET, parametres);
}

ReponseDispatch appeler(IDispatch* objet, DISPID dispId)
{
    DISPPARAMS parametres{};
    return invoquer(objet, dispId, DISPATCH_METHOD | DISPATCH_PROPERTYGET, parametres);
}

std::pair<HRESULT, DISPID> identifiantDe(IDispatch* objet, const QString& nom)
{
    std::wstring large = nom.toStdWString();
    LPOLESTR noms[] = {large.data()};
    DISPID identifiant = 0;
    const HRESULT hr = objet->GetIDsOfNames(IID_NULL, noms, 1, LOCALE_USER_DEFAULT, &identifiant);
    return {hr, identifiant};
}
