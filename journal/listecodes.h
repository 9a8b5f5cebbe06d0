#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;

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
