#include "chargeurbibliotheque.h"

#include "chargeursysteme.h"
#include "echec.h"
#include "echecchargement.h"

#include <QDir>
#include <QFileInfo>

namespace {

using ChargeurBibliotheque::Ouverture;

Ouverture echec(int numero, const QString& fichier, const QString& raison)
{
    Ouverture resultat;
    resultat.fichier = fichier;
    resultat.numero = numero;
    resultat.raison = raison;
    return resultat;
}

// The file loaded as the system names it once loaded (a bare name resolved by its search).
Ouverture charge(void* poignee, const QString& fichier)
{
    Ouverture resultat;
    resultat.poignee = poignee;
    const QString complet = ChargeurBibliotheque::cheminComplet(poignee);
    resultat.fichier = complet.isEmpty() ? fichier : complet;
    return resultat;
}

// The file found is the one meant to run: when it fails, say why rather than load another.
Ouverture chargerTrouve(const QString& nomFichier, const QString& trouve)
{
    QString raison;
    void* poignee = ChargeurSysteme::charger(trouve, raison);
    if (poignee == nullptr)
        return echec(Echec::ChargementImpossible, trouve,
                     EchecChargement::chargementImpossible(nomFichier, trouve, raison));
    return charge(poignee, trouve);
}

// The search by name: the folders walked in order, the first file found loaded, then the system's own search.
Ouverture rechercher(const QString& fichier)
{
    const QStringList dossiers = ChargeurSysteme::dossiersRecherche();
    for (const QString& dossier : dossiers) {
        const QString candidat = QDir::toNativeSeparators(QDir(dossier).filePath(fichier));
        if (QFileInfo(candidat).isFile())
            return chargerTrouve(fichier, candidat);
    }
    const ChargeurSysteme::RechercheParNom parNom = ChargeurSysteme::chargerParNom(fichier);
    if (parNom.poignee != nullptr)
        return charge(parNom.poignee, fichier);
    if (parNom.absente)
        return echec(Echec::FichierIntrouvable, fichier,
                     EchecChargement::introuvable(fichier, dossiers + parNom.lieux));
    return echec(Echec::ChargementImpossible, fichier,
                 EchecChargement::chargementImpossible(fichier, {}, parNom.raison));
}

} // namespace

namespace ChargeurBibliotheque {

Ouverture ouvrir(const QString& nom, const QString& chemin)
{
    const QString fichier = nomFichier(nom);
    const QString natif = QDir::toNativeSeparators(chemin);
    if (!chemin.isEmpty() && QDir::isRelativePath(chemin))
        return echec(Echec::FichierIntrouvable, natif,
                     QStringLiteral("le chemin n'est pas absolu : %1").arg(natif));
    ChargeurSysteme::exclureRepertoireCourant();
    if (chemin.isEmpty())
        return rechercher(fichier);
    if (!QFileInfo(chemin).isFile())
        return echec(Echec::FichierIntrouvable, natif, EchecChargement::introuvable(natif, {}));
    return chargerTrouve(fichier, natif);
}

} // namespace ChargeurBibliotheque
