#pragma once

// What a client does through IDispatch::Invoke, in a few lines a test can read: puts, gets and calls by
// dispatch identifier, with the exception information the server gave.

#include "ressourcescom_win.h"

#include <QString>
#include <optional>

// clang-format off
#include <windows.h>
#include <oaidl.h>
// clang-format on

struct ReponseDispatch
{
    HRESULT hr = E_FAIL;
    VARTYPE type = VT_EMPTY;
    QString texte;           // VT_BSTR result
    UINT argumentFautif = 0; // as the server set it, or the sentinel below
    SCODE scode = 0;
    WORD wCode = 0xFFFF;
    QString source;
    QString description;
};

inline constexpr UINT argumentFautifIntact = 0xBADu;

// A VARIANT built for a call; the test keeps it alive.
VariantCom variantTexte(const QString& texte);
VariantCom variantEntier(qint32 valeur);

// PROPERTYPUT of `valeur` with the DISPID_PROPERTYPUT named argument, as every client sends it.
ReponseDispatch ecrire(IDispatch* objet, DISPID dispId, VARIANT& valeur,
                       WORD drapeaux = DISPATCH_PROPERTYPUT);
// PROPERTYGET, or METHOD|PROPERTYGET as script hosts call.
ReponseDispatch lire(IDispatch* objet, DISPID dispId);
ReponseDispatch appeler(IDispatch* objet, DISPID dispId);
// Any Invoke, the arguments as given.
ReponseDispatch invoquer(IDispatch* objet, DISPID dispId, WORD drapeaux, DISPPARAMS& parametres,
                         REFIID iid = IID_NULL);

// The identifier of `nom` (DISPID_UNKNOWN when refused) and the server's answer.
std::pair<HRESULT, DISPID> identifiantDe(IDispatch* objet, const QString& nom);
