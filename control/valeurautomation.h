#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// A value the control answered that no text can be made of, an array, an object or a record, handed on with
// its automation type (its VARTYPE: 0x200C for an array of variants) so that the failure and the journal say
// what came. The host converts no such value and calls no object's default member.
struct ValeurNonScalaire
{
    quint16 type = 0;
    friend bool operator==(ValeurNonScalaire a, ValeurNonScalaire b) { return a.type == b.type; }
};
Q_DECLARE_METATYPE(ValeurNonScalaire)

// The automation types, the numbers every system gives them.
namespace TypeAutomation {
enum : quint16
{
    Vide = 0,
    Entier = 2,
    EntierLong = 3,
    ReelSimple = 4,
    ReelDouble = 5,
    Monetaire = 6,
    Date = 7,
    Texte = 8,
    Objet = 9,
    Erreur = 10,
    Booleen = 11,
    Variant = 12,
    Inconnu = 13,
    Decimal = 14,
    Octet = 17,
    Enregistrement = 36,
    Tableau = 0x2000,
    ParReference = 0x4000,
};
} // namespace TypeAutomation

// The type in words, as the failure names it: "tableau de variants", "objet", "enregistrement",
// "tableau d'entiers longs"; "type 0x0049" for one the runtime has no word for.
QString nomTypeAutomation(quint16 type);
