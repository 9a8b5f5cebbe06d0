#pragma once

#include <QString>

class QIODevice;
class QTextStream;

// What comparing two journals found.
enum class IssueComparaison : int
{
    Identiques = 0,
    Differents = 1,
    NonAppariables = 2, // unreadable, or not the same scenario or commands
};

// Pairs two journals command by command and writes, for each command, the answers that differ:
//   Commande 3 : Command2 (ligne 7)
//     LirePrix.retour	"2574"	"2600"
// one line per field that differs, as the member or entry point (or "message#2" for the second box of
// the command), the field, then the value in A and in B as JSON, "(absent)" for an event one journal
// lacks. Times, durations and line numbers are ignored. When the journals cannot be paired, `sortie`
// gets nothing and `erreur` the reason.
IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB, QTextStream& sortie,
                                  QString& erreur);
// The same over two journals already open for reading, named in the messages as `nomA` and `nomB`.
IssueComparaison comparerJournaux(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                                  const QString& nomB, QTextStream& sortie, QString& erreur);
