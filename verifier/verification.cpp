#include "verification.h"

#include "echec.h"
#include "optionsverifier.h"
#include "rapportverification.h"
#include "sequencetarvo.h"
#include "tarvo.h"

QString raisonConnexionTarvo()
{
    try {
        const qint32 longueur = tarvo::GetLenString_Tarvo();
        QString raison;
        if (longueur > 0)
            tarvo::GetString_Tarvo(raison, longueur + 1);
        return raison.trimmed();
    } catch (const Echec&) {
        return {};
    }
}

int executerVerification(const OptionsVerifier& options, ServiceMessages& messages, AppelsSequence& appels,
                         RapportVerification& rapport)
{
    if (!options.cheminBibliotheque.isEmpty())
        tarvo::definirCheminBibliotheque(options.cheminBibliotheque);

    const ValeursFixesSequence fixes = valeursFixesSequence();
    SourceContexteSequence source;
    source.dateReference = [&options] {
        return options.dateReference;
    };
    source.grilleTarifaire = [&options] {
        return options.grilleTarifaire;
    };
    qint32 connexion = 0;
    source.apresAppel = [&](int etape, const QString& pointEntree, qint32 resultat) {
        if (etape == 1)
            rapport.bibliotheque(tarvo::fichierCharge(), fixes, options.dateReference,
                                 options.grilleTarifaire);
        rapport.etape(etape, pointEntree, resultat);
        if (etape == 1) {
            connexion = resultat;
            if (resultat <= 0) {
                const QString raison = raisonConnexionTarvo();
                if (!raison.isEmpty())
                    rapport.raisonConnexion(raison);
            }
        }
    };

    try {
        executerSequenceTarvo(messages, source, appels);
        rapport.tableauxLiberes();
        if (options.tousPointsEntree) {
            for (const QString& nom : tarvo::nomsPointsEntree())
                tarvo::verifierPointEntree(nom);
            rapport.pointsEntreePresents(tarvo::nomsPointsEntree().size());
        }
    } catch (const Echec& echec) {
        rapport.impossible(echec.numero(), echec.description());
        return StatutVerification::NonVerifiee;
    }
    // The sequence goes on whatever the connection answers, but a check that could not connect has failed.
    if (connexion <= 0) {
        rapport.echouee(connexion);
        return StatutVerification::ConnexionEchouee;
    }
    rapport.reussie();
    return StatutVerification::Reussie;
}
