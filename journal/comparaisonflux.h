#pragma once

#include "comparaisonjournaux.h"

#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;
struct SourceJournal;

// Compares two journals as it reads them, one command at a time: memory holds one command of each, never
// a whole journal, whatever their length. A command whose events are the same byte for byte once times,
// durations and numbers are set aside is passed over without being parsed; the others are compared field
// by field, and a pipe list record by record (keyed by its first field). What it prints waits in a
// temporary file until both journals are known to pair, so a pairing failure prints nothing.
class ComparaisonFlux
{
public:
    explicit ComparaisonFlux(OptionsComparaison options);

    // `ecrire` receives the text report in pieces of whole lines.
    IssueComparaison comparer(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                              const QString& nomB, const std::function<void(const QString&)>& ecrire,
                              QString& erreur);

    // The same over the journals of each side read as one (LecteurTranches), in the order given; `nomA` and
    // `nomB` name the sides in the report.
    IssueComparaison comparer(const QList<SourceJournal>& journauxA, const QString& nomA,
                              const QList<SourceJournal>& journauxB, const QString& nomB,
                              const std::function<void(const QString&)>& ecrire, QString& erreur);

private:
    OptionsComparaison m_options;
};
