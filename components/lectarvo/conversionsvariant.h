#pragma once

// The one place where automation values (VARIANT) and the component's values (QVariant holding a QString or
// a qint32) are turned into each other; texts go through the conversion the host uses too.

#include "ressourcescom_win.h"
#include "tablemembres.h"

#include <QString>
#include <QVariant>

// A value put by a client, as the component takes it: a text (VT_BSTR) or a 32-bit integer (VT_I4) as it
// is, any other type converted by the system to the member's genre. A reference (VT_BYREF) is followed;
// it must be of a type ecrireDansReference can write back. The argument is only read (the system's copy
// function takes it as non-const). DISP_E_TYPEMISMATCH when the value does not
// convert or the reference is of another type.
HRESULT valeurDepuisVariant(VARIANT& argument, GenreValeur genre, QVariant& valeur);

// Writes `valeur` back into the client's variable that `reference` (VT_BYREF) points to, converted to that
// variable's type; a VARIANT variable takes the value as the component left it. DISP_E_TYPEMISMATCH (the
// variable left as it was) when it does not convert.
HRESULT ecrireDansReference(const QVariant& valeur, VARIANT& reference);

// An answer of the component: a text as VT_BSTR, an integer as VT_I4, a boolean as VT_BOOL (an event's),
// nothing as VT_EMPTY, anything else as its text. `resultat` must hold nothing that needs releasing. Throws
// std::bad_alloc.
void variantDepuisValeur(const QVariant& valeur, VARIANT& resultat);
