#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;
class QTextStream;

// What comparing two journals found.
enum class IssueComparaison : int
{
    Identiques = 0,
    Differents = 1,
    NonAppariables = 2, // unreadable, or not the same scenario or commands
};

struct OptionsComparaison
{
    QStringList ignores; // members, entry points or kinds of event left out ("CheminConfig")
    QString rapportHtml; // where to write the HTML report; empty: none
};

// Pairs two journals command by command and writes, for each command, the answers that differ:
//   Commande 3 : Command2 (ligne 7)
//     LirePrix.retour	"2574"	"2600"
// one line per field that differs, as the member or entry point (or "message#2" for the second box of
// the command), the field, then the value in A and in B as JSON, "(absent)" for an event one journal
// lacks; a pipe list one line per record that differs ("LireRegroupements.retour[ADC]"). A command of a
// sweep names its act: "Commande 12 : Command4 — LHQK005". Times, durations and line numbers are
// ignored. A summary per member closes the report. Each side may be several journals separated by the
// system's path-list separator (QDir::listSeparator(), as in PATH): the parts of one sweep (--tranche), read
// as one in their parts' order, whatever the order given; a part missing or given twice, or parts of
// different sweeps, cannot be paired. When the journals cannot be paired, nothing is
// written and `erreur` has the reason. The files may be UTF-8 (with or without its mark) or UTF-16.
IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB,
                                  const std::function<void(const QString&)>& ecrire, QString& erreur,
                                  const OptionsComparaison& options = {});
IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB, QTextStream& sortie,
                                  QString& erreur, const OptionsComparaison& options = {});
// The same over two journals already open for reading, named in the messages as `nomA` and `nomB`.
IssueComparaison comparerJournaux(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                                  const QString& nomB, QTextStream& sortie, QString& erreur,
                                  const OptionsComparaison& options = {});
