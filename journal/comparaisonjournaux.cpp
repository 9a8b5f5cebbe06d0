#include "comparaisonjournaux.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QTextStream>

namespace {

// One command of a journal: its button, the scenario line that pressed it, and its events by key.
struct Commande
{
    QString bouton;
    int ligneScenario = 0;
    QStringList cles; // in the order they happened
    QHash<QString, QJsonObject> evenements;
};

struct Journal
{
    QList<QJsonObject> etapes; // the scenario steps played, line and step
    QList<Commande> commandes;
    QJsonValue statutScenario;
};

const QStringList champsIgnores{QStringLiteral("n"), QStringLiteral("t"), QStringLiteral("duree_us")};

QString nomEvenement(const QJsonObject& e)
{
    const QString genre = e.value(QStringLiteral("genre")).toString();
    if (genre == QLatin1String("controle"))
        return e.value(QStringLiteral("membre")).toString();
    if (genre == QLatin1String("bibliotheque"))
        return e.value(QStringLiteral("point_entree")).toString(QStringLiteral("chargement"));
    return genre;
}

bool lire(QIODevice& fichier, const QString& chemin, Journal& journal, QString& erreur)
{
    Commande* courante = nullptr;
    QHash<QString, int> occurrences;
    int derniereLigne = 0;
    int numero = 0;
    while (!fichier.atEnd()) {
        const QByteArray ligne = fichier.readLine();
        ++numero;
        if (ligne.trimmed().isEmpty())
            continue;
        QJsonParseError erreurJson{};
        const QJsonDocument document = QJsonDocument::fromJson(ligne, &erreurJson);
        if (!document.isObject() || !document.object().value(QStringLiteral("genre")).isString()) {
            erreur = QStringLiteral("%1:%2 : ligne de journal illisible").arg(chemin).arg(numero);
            return false;
        }
        QJsonObject e = document.object();
        for (const QString& champ : champsIgnores)
            e.remove(champ);
        const QString genre = e.value(QStringLiteral("genre")).toString();
        if (genre == QLatin1String("etape")) {
            journal.etapes.append(e);
            if (!courante)
                derniereLigne = e.value(QStringLiteral("ligne")).toInt();
            continue;
        }
        if (genre == QLatin1String("fin_scenario")) {
            journal.statutScenario = e.value(QStringLiteral("statut"));
            continue;
        }
        if (genre == QLatin1String("commande")) {
            journal.commandes.append({e.value(QStringLiteral("bouton")).toString(), derniereLigne, {}, {}});
            courante = &journal.commandes.last();
            occurrences.clear();
            continue;
        }
        if (!courante)
            continue; // the start of the run, outside any command
        const QString nom = nomEvenement(e);
        const QString cle = nom + QLatin1Char('#') + QString::number(++occurrences[nom]);
        courante->cles.append(cle);
        courante->evenements.insert(cle, e);
        if (genre == QLatin1String("fin_commande"))
            courante = nullptr;
    }
    return true;
}

QString texteJson(const QJsonValue& valeur)
{
    if (valeur.isUndefined())
        return QStringLiteral("(absent)");
    const QByteArray tableau = QJsonDocument(QJsonArray{valeur}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(tableau.mid(1, tableau.size() - 2));
}

// "LirePrix" for the first read of LirePrix in the command, "LirePrix#2" for the second.
QString libelle(const QString& cle)
{
    return cle.endsWith(QLatin1String("#1")) ? cle.chopped(2) : cle;
}

int comparerCommande(const Commande& a, const Commande& b, QStringList& lignes)
{
    QStringList cles = a.cles;
    for (const QString& cle : b.cles)
        if (!a.evenements.contains(cle))
            cles.append(cle);
    int differences = 0;
    for (const QString& cle : cles) {
        const QJsonObject ea = a.evenements.value(cle);
        const QJsonObject eb = b.evenements.value(cle);
        if (ea == eb)
            continue;
        if (ea.isEmpty() || eb.isEmpty()) {
            const QJsonObject& present = ea.isEmpty() ? eb : ea;
            const QJsonValue valeur = QJsonValue(present);
            lignes << QStringLiteral("  %1\t%2\t%3")
                          .arg(libelle(cle),
                               ea.isEmpty() ? texteJson(QJsonValue::Undefined) : texteJson(valeur),
                               eb.isEmpty() ? texteJson(QJsonValue::Undefined) : texteJson(valeur));
            ++differences;
            continue;
        }
        QStringList champs = ea.keys();
        for (const QString& champ : eb.keys())
            if (!ea.contains(champ))
                champs.append(champ);
        for (const QString& champ : champs) {
            if (ea.value(champ) == eb.value(champ))
                continue;
            lignes << QStringLiteral("  %1.%2\t%3\t%4")
                          .arg(libelle(cle), champ, texteJson(ea.value(champ)), texteJson(eb.value(champ)));
            ++differences;
        }
    }
    return differences;
}

} // namespace

IssueComparaison comparerJournaux(const QString& cheminA, const QString& cheminB, QTextStream& sortie,
                                  QString& erreur)
{
    QFile a(cheminA);
    QFile b(cheminB);
    for (QFile* fichier : {&a, &b}) {
        if (!fichier->open(QIODevice::ReadOnly)) {
            erreur = QStringLiteral("%1 : %2").arg(fichier->fileName(), fichier->errorString());
            return IssueComparaison::NonAppariables;
        }
    }
    return comparerJournaux(a, cheminA, b, cheminB, sortie, erreur);
}

IssueComparaison comparerJournaux(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                                  const QString& nomB, QTextStream& sortie, QString& erreur)
{
    Journal a;
    Journal b;
    if (!lire(journalA, nomA, a, erreur) || !lire(journalB, nomB, b, erreur))
        return IssueComparaison::NonAppariables;
    if (a.etapes != b.etapes) {
        qsizetype i = 0;
        while (i < a.etapes.size() && i < b.etapes.size() && a.etapes.at(i) == b.etapes.at(i))
            ++i;
        erreur = QStringLiteral("les deux journaux ne jouent pas le même scénario (étape %1 : %2 / %3)")
                     .arg(i + 1)
                     .arg(i < a.etapes.size() ? texteJson(a.etapes.at(i).value(QStringLiteral("etape")))
                                              : QStringLiteral("fin"),
                          i < b.etapes.size() ? texteJson(b.etapes.at(i).value(QStringLiteral("etape")))
                                              : QStringLiteral("fin"));
        return IssueComparaison::NonAppariables;
    }
    QStringList boutonsA;
    QStringList boutonsB;
    for (const Commande& c : a.commandes)
        boutonsA << c.bouton;
    for (const Commande& c : b.commandes)
        boutonsB << c.bouton;
    if (boutonsA != boutonsB) {
        erreur = QStringLiteral("les deux journaux n'ont pas les mêmes commandes (%1 / %2)")
                     .arg(boutonsA.join(QLatin1Char(' ')), boutonsB.join(QLatin1Char(' ')));
        return IssueComparaison::NonAppariables;
    }

    int total = 0;
    int commandesDifferentes = 0;
    for (qsizetype i = 0; i < a.commandes.size(); ++i) {
        QStringList lignes;
        const int differences = comparerCommande(a.commandes.at(i), b.commandes.at(i), lignes);
        if (differences == 0)
            continue;
        total += differences;
        ++commandesDifferentes;
        const Commande& c = a.commandes.at(i);
        sortie << QStringLiteral("Commande %1 : %2").arg(i + 1).arg(c.bouton);
        if (c.ligneScenario > 0)
            sortie << QStringLiteral(" (ligne %1)").arg(c.ligneScenario);
        sortie << '\n' << lignes.join(QLatin1Char('\n')) << '\n';
    }
    if (a.statutScenario != b.statutScenario) {
        sortie << QStringLiteral("Fin du scénario\n  statut\t%1\t%2\n")
                      .arg(texteJson(a.statutScenario), texteJson(b.statutScenario));
        ++total;
    }
    if (total == 0) {
        sortie << QStringLiteral("Aucune différence sur %1 commande(s).\n").arg(a.commandes.size());
        return IssueComparaison::Identiques;
    }
    sortie << QStringLiteral("%1 différence(s) dans %2 commande(s) sur %3.\n")
                  .arg(total)
                  .arg(commandesDifferentes)
                  .arg(a.commandes.size());
    return IssueComparaison::Differents;
}
