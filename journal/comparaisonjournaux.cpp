#include "comparaisonjournaux.h"

#include "comparaisonflux.h"
#include "lecteurjournal.h"
#include "lecturetexte.h"
#include "vocabulairejournal.h"

#include <QDir>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>

namespace {

// Past these lines of a journal's head without a `balayage` line, it is no sweep's.
constexpr int lignesEnTete = 64;

// A part of a sweep as its `balayage` line describes it.
struct TrancheLue
{
    QString chemin;
    int numero = 0;
    int nombre = 0;
    QJsonObject balayage; // the line without what differs from part to part
};

std::optional<TrancheLue> lireEnteteTranche(const QString& chemin, QString& erreur)
{
    const std::unique_ptr<QIODevice> source = ouvrirTexteUtf8(chemin, erreur);
    if (!source)
        return std::nullopt;
    for (int i = 0; i < lignesEnTete && !source->atEnd(); ++i) {
        QJsonObject ligne = QJsonDocument::fromJson(source->readLine()).object();
        if (ligne.value(Champ::genre).toString() != Genre::balayage.nom)
            continue;
        static const QRegularExpression forme(QStringLiteral("^(\\d+)/(\\d+)$"));
        const QRegularExpressionMatch tranche = forme.match(ligne.value(Champ::tranche).toString());
        if (!tranche.hasMatch())
            break;
        for (const QLatin1String champ : {Champ::numeroLigne, Champ::temps, Champ::tranche, Champ::actes})
            ligne.remove(champ);
        return TrancheLue{chemin, tranche.captured(1).toInt(), tranche.captured(2).toInt(), ligne};
    }
    erreur = QStringLiteral("%1 n'est pas le journal d'une tranche de balayage (--tranche K/N) : plusieurs "
                            "journaux d'un côté sont les tranches d'un même balayage")
                 .arg(chemin);
    return std::nullopt;
}

// The journals of one side, opened in their parts' order: one journal as it is, several only when they are
// every part of one sweep, each once.
bool ouvrirCote(const QString& cote, std::vector<std::unique_ptr<QIODevice>>& ouverts,
                QList<SourceJournal>& sources, QString& erreur)
{
    QStringList chemins = cote.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    if (chemins.size() > 1) {
        QList<TrancheLue> tranches;
        for (const QString& chemin : std::as_const(chemins)) {
            std::optional<TrancheLue> tranche = lireEnteteTranche(chemin, erreur);
            if (!tranche)
                return false;
            const TrancheLue* premiere = tranches.isEmpty() ? nullptr : &tranches.constFirst();
            if (premiere &&
                (tranche->nombre != premiere->nombre || tranche->balayage != premiere->balayage)) {
                erreur =
                    QStringLiteral("%1 (tranche %2/%3) et %4 (tranche %5/%6) ne sont pas des tranches du "
                                   "même balayage : découpage, liste, date ou grille différents")
                        .arg(premiere->chemin)
                        .arg(premiere->numero)
                        .arg(premiere->nombre)
                        .arg(tranche->chemin)
                        .arg(tranche->numero)
                        .arg(tranche->nombre);
                return false;
            }
            for (const TrancheLue& autre : std::as_const(tranches))
                if (autre.numero == tranche->numero) {
                    erreur = QStringLiteral("%1 et %2 sont tous deux la tranche %3/%4")
                                 .arg(autre.chemin, tranche->chemin)
                                 .arg(tranche->numero)
                                 .arg(tranche->nombre);
                    return false;
                }
            tranches.append(std::move(*tranche));
        }
        const int nombre = tranches.constFirst().nombre;
        std::sort(tranches.begin(), tranches.end(),
                  [](const TrancheLue& a, const TrancheLue& b) { return a.numero < b.numero; });
        for (int k = 1; k <= nombre; ++k)
            if (k > tranches.size() || tranches.at(k - 1).numero != k) {
                erreur = QStringLiteral("%1 : la tranche %2/%3 manque").arg(cote).arg(k).arg(nombre);
                return false;
            }
        chemins.clear();
        for (const TrancheLue& tranche : std::as_const(tranches))
            chemins.append(tranche.chemin);
    }
    if (chemins.isEmpty())
        chemins.append(cote);
    for (const QString& chemin : std::as_const(chemins)) {
        std::unique_ptr<QIODevice> source = ouvrirTexteUtf8(chemin, erreur);
        if (!source)
            return false;
        sources.append({source.get(), chemin});
        ouverts.push_back(std::move(source));
    }
    return true;
}

} // namespace

IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB,
                                  const std::function<void(const QString&)>& ecrire, QString& erreur,
                                  const OptionsComparaison& options)
{
    std::vector<std::unique_ptr<QIODevice>> ouverts;
    QList<SourceJournal> a;
    QList<SourceJournal> b;
    if (!ouvrirCote(cheminA, ouverts, a, erreur) || !ouvrirCote(cheminB, ouverts, b, erreur))
        return IssueComparaison::NonAppariables;
    return ComparaisonFlux(options).comparer(a, cheminA, b, cheminB, ecrire, erreur);
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
