// Scenario files of any content: a file is either read whole, every step well formed, or refused at one
// line with nothing kept; the same bytes always read the same way.
#include "commun/exigence.h"
#include "scenario.h"

#include <QBuffer>
#include <QDate>
#include <cstdint>

namespace {

LectureScenario lire(const QByteArray& octets)
{
    QByteArray copie = octets;
    QBuffer tampon(&copie);
    tampon.open(QIODevice::ReadOnly);
    return lireScenario(tampon);
}

void verifierEtape(const EtapeScenario& etape)
{
    using Genre = EtapeScenario::Genre;
    exiger(!etape.action.isEmpty() && etape.objet.contains(etape.action), "l'action est une clé de la ligne");
    switch (etape.genre) {
    case Genre::Remplir:
    case Genre::Cliquer:
        exiger(!etape.cible.isEmpty(), "un contrôle est nommé");
        break;
    case Genre::Cocher:
        exiger(!etape.cible.isEmpty() && etape.entier >= 0 && etape.entier <= 2, "une case vaut 0, 1 ou 2");
        break;
    case Genre::Choisir:
        exiger(!etape.cible.isEmpty() && etape.entier >= 0, "un index positif ou nul");
        break;
    case Genre::Date:
        exiger(QDate::fromString(etape.texte, QStringLiteral("yyyyMMdd")).isValid(), "une date qui existe");
        break;
    case Genre::Repondre:
        exiger(etape.texte == QLatin1String("OK") || etape.texte == QLatin1String("Annuler"),
               "OK ou Annuler");
        break;
    case Genre::Saisir:
        break;
    case Genre::Selectionner:
        exiger(!etape.acte || !etape.acte->trimmed().isEmpty(), "un code d'acte ou rien");
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QByteArray octets(reinterpret_cast<const char*>(donnees), qsizetype(taille));
    const LectureScenario lecture = lire(octets);
    const qsizetype lignes = octets.count('\n') + 1;
    if (lecture.erreur.isEmpty()) {
        int precedente = 0;
        for (const EtapeScenario& etape : lecture.etapes) {
            exiger(etape.ligne > precedente && etape.ligne <= lignes,
                   "les étapes dans l'ordre de leurs lignes");
            precedente = etape.ligne;
            verifierEtape(etape);
        }
    } else {
        exiger(lecture.etapes.isEmpty(), "un fichier refusé ne garde aucune étape");
        exiger(lecture.ligneErreur >= 1 && lecture.ligneErreur <= lignes, "la ligne refusée est nommée");
    }
    const LectureScenario encore = lire(octets);
    exiger(encore.erreur == lecture.erreur && encore.ligneErreur == lecture.ligneErreur &&
               encore.etapes.size() == lecture.etapes.size(),
           "la même lecture pour les mêmes octets");
    return 0;
}
