#include "lignesenregistrements.h"

#include "listepipe.h"

QStringList lignesEnregistrements(const ListePipe& champs, FormatEnregistrement format)
{
    QStringList lignes;
    if (format.taille <= 0)
        return lignes;
    const auto valeur = [&](qsizetype k, qsizetype i) {
        const QStringView champ = champs.champ(k + i);
        return i < format.champsRognes ? rognerEspaces(champ) : champ;
    };
    const qsizetype dernier = champs.dernierChamp();
    lignes.reserve(champs.nombreChamps() / format.taille);
    for (qsizetype k = 0; k <= dernier; k += format.taille) {
        if (!champs.existe(k + format.taille - 1))
            break;
        qsizetype longueur = format.taille - 1;
        for (qsizetype i = 0; i < format.taille; ++i)
            longueur += valeur(k, i).size();
        QString ligne;
        ligne.reserve(longueur);
        for (qsizetype i = 0; i < format.taille; ++i) {
            if (i > 0)
                ligne.append(u'\t');
            ligne.append(valeur(k, i));
        }
        lignes.append(std::move(ligne));
    }
    return lignes;
}

QStringList entreesModificateurs(const ListePipe& champs)
{
    QStringList entrees;
    const qsizetype dernier = champs.dernierChamp();
    for (qsizetype k = 0; k + 1 <= dernier; k += 2) {
        const QStringView premier = champs.champ(k);
        const QStringView second = champs.champ(k + 1);
        QString entree;
        entree.reserve(premier.size() + 3 + second.size());
        entree.append(premier).append(u" - ").append(second);
        entrees.append(std::move(entree));
    }
    return entrees;
}
