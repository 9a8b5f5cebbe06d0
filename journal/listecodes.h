#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;
class QJsonObject;

struct ListeCodes
{
    QStringList codes;
    // Empty when the whole list was read; otherwise what is wrong, at line `ligneErreur` (0: the list).
    QString erreur;
    int ligneErreur = 0;
};

// A list of act codes, one a line, spaces around ignored; blank lines and lines starting with "#" are
// skipped. A code is letters and digits only, so a line of a CSV file or a stray text is refused at its
// line rather than sent to the control. A list without any code is refused too.
ListeCodes lireListeCodes(QIODevice& source);

// The list in the file `chemin` ("-": the standard input; the encodings of ouvrirTexteUtf8), read as above:
// both sweeps read their list this way, whole, before anything is written. Nothing when it is refused, with
// `refus` saying why and where: "actes.txt:2 : ligne trop longue (...)", "actes.txt : aucun code d'acte".
std::optional<QStringList> lireFichierCodes(const QString& chemin, QString& refus);

// --tranche K/N: the K-th of N contiguous parts of a list, as test runners shard a suite over machines.
struct Tranche
{
    int numero = 1; // K, from 1
    int nombre = 1; // N
};

// "K/N" read and checked (1 <= K <= N); nothing, with `refus` saying why, when it is not one.
std::optional<Tranche> lireTranche(const QString& texte, QString& refus);

// The part `tranche` names of `codes`: parts differ in length by one act at most, and the N of them, in
// order, are the whole list. Refused (`refus`) when the list has fewer acts than parts.
std::optional<QStringList> trancherCodes(const QStringList& codes, const Tranche& tranche, QString& refus);

// A short digest of the whole list, which the journal of each of its parts records: parts of different
// lists are then told apart when they are compared as one run.
QString empreinteCodes(const QStringList& codes);

// What a part's `balayage` line adds: `tranche` ("2/3"), `actes_liste` (the whole list's length) and
// `empreinte_liste`.
QJsonObject champsTranche(const QStringList& codes, const Tranche& tranche);
