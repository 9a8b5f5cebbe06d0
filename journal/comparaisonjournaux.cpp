#include "comparaisonjournaux.h"

#include "comparaisonflux.h"
#include "lecturetexte.h"

#include <QIODevice>
#include <QTextStream>

IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB,
                                  const std::function<void(const QString&)>& ecrire, QString& erreur,
                                  const OptionsComparaison& options)
{
    const std::unique_ptr<QIODevice> a = ouvrirTexteUtf8(cheminA, erreur);
    if (!a)
        return IssueComparaison::NonAppariables;
    const std::unique_ptr<QIODevice> b = ouvrirTexteUtf8(cheminB, erreur);
    if (!b)
        return IssueComparaison::NonAppariables;
    return ComparaisonFlux(options).comparer(*a, cheminA, *b, cheminB, ecrire, erreur);
}

IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB, QTextStream& sortie,
                                  QString& erreur, const OptionsComparaison& options)
{
    return comparerJournaux(
        cheminA, cheminB, [&](const QString& texte) { sortie << texte; }, erreur, options);
}

IssueComparaison comparerJournaux(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                                  const QString& nomB, QTextStream& sortie, QString& erreur,
                                  const OptionsComparaison& options)
{
    return ComparaisonFlux(options).comparer(
        journalA, nomA, journalB, nomB, [&](const QString& texte) { sortie << texte; }, erreur);
}
