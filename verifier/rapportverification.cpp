#include "rapportverification.h"

#include "progressionbalayage.h"
#include "sequencetarvo.h"
#include "sortieconsole.h"
#include "suivisuperviseurjournal.h"
#include "tarvo.h"

QString resultatLisible(qint32 resultat)
{
    const QString code = tarvo::descriptionCode(resultat);
    return code.isEmpty() ? QString::number(resultat) : QStringLiteral("%1 (%2)").arg(resultat).arg(code);
}

RapportVerification::RapportVerification(std::FILE* sortie, std::FILE* erreurs)
    : m_sortie(sortie)
    , m_erreurs(erreurs)
{}

void RapportVerification::bibliotheque(const QString& fichier, const ValeursFixesSequence& fixes,
                                       const QString& date, const QString& grille)
{
    SortieConsole::ecrireLigne(m_sortie, QStringLiteral("Bibliothèque : %1").arg(fichier));
    SortieConsole::ecrireLigne(
        m_sortie, QStringLiteral("Valeurs testées : actes %1 (étapes 3 à 5) et %2 (étape 6), date de "
                                 "référence %3 et grille %4 (étape 3), date de prise en charge %5 (étape 4)")
                      .arg(fixes.acte, fixes.acteAssociation, date, grille, fixes.datePriseEnCharge));
}

void RapportVerification::etape(int numero, const QString& pointEntree, qint32 resultat)
{
    SortieConsole::ecrireLigne(
        m_sortie,
        QStringLiteral("Étape %1 : %2 = %3").arg(numero).arg(pointEntree, resultatLisible(resultat)));
}

void RapportVerification::raisonConnexion(const QString& raison)
{
    SortieConsole::ecrireLigne(m_sortie,
                               QStringLiteral("Raison donnée par la bibliothèque : %1").arg(raison));
}

void RapportVerification::tableauxLiberes()
{
    SortieConsole::ecrireLigne(m_sortie, QStringLiteral("Étape 8 : tableaux libérés"));
}

void RapportVerification::pointsEntreePresents(qsizetype nombre)
{
    SortieConsole::ecrireLigne(m_sortie, QStringLiteral("Les %1 points d'entrée sont présents.").arg(nombre));
}

void RapportVerification::impossible(int numero, const QString& description)
{
    SortieConsole::ecrireLigne(
        m_erreurs, QStringLiteral("Vérification impossible, erreur %1 : %2").arg(numero).arg(description));
}

void RapportVerification::echouee(qint32 connexion)
{
    SortieConsole::ecrireLigne(m_erreurs,
                               QStringLiteral("Vérification échouée : la connexion a répondu %1 ; les étapes "
                                              "suivantes ont été exécutées quand même.")
                                   .arg(resultatLisible(connexion)));
}

void RapportVerification::reussie()
{
    SortieConsole::ecrireLigne(m_sortie, QStringLiteral("Vérification réussie."));
}

void RapportVerification::balayage(const QString& fichier, qsizetype actes, const QStringList& pointsEntree,
                                   const QString& date, const QString& grille)
{
    SortieConsole::ecrireLigne(m_sortie, QStringLiteral("Bibliothèque : %1").arg(fichier));
    SortieConsole::ecrireLigne(
        m_sortie, QStringLiteral("Balayage de %1 acte(s) par %2 ; date de référence %3, grille %4")
                      .arg(actes)
                      .arg(pointsEntree.join(QStringLiteral(", ")), date, grille));
}

void RapportVerification::appel(const QString& pointEntree, qint32 resultat)
{
    SortieConsole::ecrireLigne(m_sortie,
                               QStringLiteral("%1 = %2").arg(pointEntree, resultatLisible(resultat)));
}

void RapportVerification::horsContrat(const QString& acte, const QString& description)
{
    SortieConsole::ecrireLigne(m_sortie, QStringLiteral("Hors contrat, %1 : %2").arg(acte, description));
}

void RapportVerification::autresHorsContrat(int nombre)
{
    SortieConsole::ecrireLigne(
        m_sortie,
        QStringLiteral("… et %1 autre(s) réponse(s) hors contrat, que le journal nomme.").arg(nombre));
}

void RapportVerification::finBalayage(const BilanBalayage& bilan)
{
    if (bilan.interrompu)
        SortieConsole::ecrireLigne(m_erreurs, texteInterruption(bilan.faits, bilan.total));
    SortieConsole::ecrireLigne(
        m_erreurs, QStringLiteral("Balayage : %1 acte(s), %2 réponse(s) hors contrat, %3 échec(s), %4.")
                       .arg(bilan.faits)
                       .arg(bilan.horsContrat)
                       .arg(bilan.echecs)
                       .arg(comptesPannes(bilan.plantages, bilan.blocages)));
}

void RapportVerification::balayageEchoue(qint32 connexion)
{
    SortieConsole::ecrireLigne(
        m_erreurs, QStringLiteral("Balayage échoué : la connexion a répondu %1 ; les actes ont été "
                                  "balayés quand même.")
                       .arg(resultatLisible(connexion)));
}
