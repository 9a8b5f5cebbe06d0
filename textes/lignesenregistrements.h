#pragma once

#include <QStringList>
#include <QStringView>
#include <optional>

// How a record of a pipe list becomes a line of List1: `taille` consecutive fields (at most
// TailleMaximale) joined by tabs, the first `champsRognes` of them without their leading and
// trailing spaces.
struct FormatEnregistrement
{
    static constexpr qsizetype TailleMaximale = 8;
    qsizetype taille;
    qsizetype champsRognes;
};

// LireModificateurs: four fields, the first two trimmed, the last two as they are.
inline constexpr FormatEnregistrement FormatModificateurs{4, 2};
// LireModificateursActe, LireRegroupements, LireActesCompatibles: two trimmed fields.
inline constexpr FormatEnregistrement FormatPaire{2, 2};

// The format of the records of the control member `membre` answers, as the commands cut them above; the
// comparison of two journals cuts the member's answers by it too. Nothing for a member whose answer is a
// plain text.
std::optional<FormatEnregistrement> formatEnregistrement(QStringView membre);

// How the records an entry point of the library delivers are paired when two journals are compared: by one
// field, or by their rank when the answer is one record that no field names.
struct CleEnregistrements
{
    static constexpr qsizetype ParRang = -1;
    qsizetype champ; // from 0, or ParRang
};

// The lists (ListeModificateurs_Tarvo, ListeCodeIncompatibilitesActe_Tarvo, ListeCodeAssociationActe_Tarvo)
// by their code, the price (GetPrixUnitaireActeSupplement_Tarvo) by its grid, the coverage
// (GetPriseEnCharge_Tarvo) by rank. Nothing for an entry point that delivers no records.
std::optional<CleEnregistrements> cleEnregistrementsBibliotheque(QStringView pointEntree);

// One line per whole record of `listePipe`, in record order. An incomplete last record (fewer
// fields left than a record holds) gives no line: the lines of the whole records before it are
// all there.
QStringList lignesEnregistrements(QStringView listePipe, FormatEnregistrement format);

// The whole records of `listePipe`, cut as lignesEnregistrements cuts them, each its `taille` fields as they
// are (none trimmed).
QList<QStringList> champsEnregistrements(QStringView listePipe, qsizetype taille);

// The entries of a modifier drop-down list: field k, " - ", field k + 1 for every whole pair,
// nothing trimmed. An unpaired last field gives no entry.
QStringList entreesModificateurs(QStringView listePipe);
