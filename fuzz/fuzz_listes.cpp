// Pipe lists of any content cut into fields, List1 lines and modifier entries: each result must
// equal a naive reference built with QString::split, whole records only, spaces only trimmed.
#include "commun/exigence.h"
#include "commun/texte.h"
#include "lignesenregistrements.h"
#include "listepipe.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstring>

namespace {

// The documented cut, the slow obvious way: QString::split, except that an empty text holds no
// field at all where split would give one empty field.
QStringList champsReference(const QString& texte)
{
    return texte.isEmpty() ? QStringList() : texte.split(u'|');
}

QString rognerReference(QString champ)
{
    while (champ.startsWith(u' '))
        champ.remove(0, 1);
    while (champ.endsWith(u' '))
        champ.chop(1);
    return champ;
}

QStringList lignesReference(const QStringList& champs, FormatEnregistrement format)
{
    QStringList lignes;
    for (qsizetype debut = 0; debut + format.taille <= champs.size(); debut += format.taille) {
        QStringList enregistrement;
        for (qsizetype i = 0; i < format.taille; ++i) {
            const QString& champ = champs[debut + i];
            enregistrement.append(i < format.champsRognes ? rognerReference(champ) : champ);
        }
        lignes.append(enregistrement.join(u'\t'));
    }
    return lignes;
}

QStringList entreesReference(const QStringList& champs)
{
    QStringList entrees;
    for (qsizetype k = 0; k + 1 < champs.size(); k += 2)
        entrees.append(champs[k] + QStringLiteral(" - ") + champs[k + 1]);
    return entrees;
}

void verifierDecoupe(const QString& texte, const QStringList& attendus)
{
    ListePipe liste(texte);
    QStringView champ;
    for (const QString& attendu : attendus) {
        exiger(liste.suivant(champ), "un champ donné pour chaque champ du texte");
        exiger(champ == attendu, "chaque champ égal à celui du découpage naïf");
        // A view must point into the text, never at a copy that dies with the call.
        exiger(champ.isEmpty() || (champ.data() >= texte.constData() &&
                                   champ.data() + champ.size() <= texte.constData() + texte.size()),
               "un champ est une vue dans le texte");
    }
    exiger(!liste.suivant(champ) && !liste.suivant(champ), "plus aucun champ après le dernier");
}

void verifierRognage(const QStringList& champs)
{
    for (const QString& champ : champs) {
        const QStringView rogne = rognerEspaces(champ);
        const qsizetype avant = rogne.data() - champ.constData();
        exiger(rogne.isEmpty() || (avant >= 0 && avant + rogne.size() <= champ.size()),
               "le champ rogné est une partie du champ");
        if (rogne.isEmpty()) {
            exiger(champ.count(u' ') == champ.size(), "seul un champ d'espaces devient vide");
            continue;
        }
        exiger(rogne.front() != u' ' && rogne.back() != u' ', "plus d'espace en tête ni en queue");
        const QStringView retire = QStringView(champ).first(avant);
        const QStringView queue = QStringView(champ).sliced(avant + rogne.size());
        exiger(retire.count(u' ') == retire.size() && queue.count(u' ') == queue.size(),
               "seuls des espaces sont retirés");
    }
}

void verifierLignes(const QString& texte, const QStringList& champs, FormatEnregistrement format)
{
    const QStringList lignes = lignesEnregistrements(texte, format);
    exiger(lignes.size() <= champs.size() / format.taille,
           "pas plus de lignes que d'enregistrements entiers");
    exiger(lignes == lignesReference(champs, format), "lignes égales à la référence naïve");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    if (taille < 1)
        return 0;
    const uint8_t reglage = donnees[0];
    const QString texte = texteDepuisOctets(donnees + 1, taille - 1, (reglage & 1) != 0);
    const QStringList champs = champsReference(texte);

    verifierDecoupe(texte, champs);
    verifierRognage(champs);
    verifierLignes(texte, champs, FormatModificateurs);
    verifierLignes(texte, champs, FormatPaire);
    // Any other record shape the format allows, so the rule is checked beyond the two in use.
    const qsizetype tailleLibre = 1 + ((reglage >> 1) & 7);
    verifierLignes(texte, champs, FormatEnregistrement{tailleLibre, (reglage >> 4) % (tailleLibre + 1)});

    const QStringList entrees = entreesModificateurs(texte);
    exiger(entrees.size() <= champs.size() / 2, "pas plus d'entrées que de paires entières");
    exiger(entrees == entreesReference(champs), "entrées « a - b » égales à la référence, rien de rogné");
    return 0;
}
