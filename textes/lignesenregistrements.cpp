#include "lignesenregistrements.h"

#include "listepipe.h"

#include <algorithm>
#include <array>
#include <span>

namespace {

// Takes the fields of the next record; false when the list ends before the record is whole.
bool enregistrementSuivant(ListePipe& champs, std::span<QStringView> enregistrement)
{
    for (QStringView& champ : enregistrement)
        if (!champs.suivant(champ))
            return false;
    return true;
}

} // namespace

std::optional<FormatEnregistrement> formatEnregistrement(QStringView membre)
{
    struct FormatMembre
    {
        QStringView membre;
        FormatEnregistrement format;
    };
    static constexpr std::array formats{
        FormatMembre{u"LireModificateurs", FormatModificateurs},
        FormatMembre{u"LireModificateursActe", FormatPaire},
        FormatMembre{u"LireRegroupements", FormatPaire},
        FormatMembre{u"LireActesCompatibles", FormatPaire},
    };
    for (const FormatMembre& f : formats)
        if (f.membre == membre)
            return f.format;
    return std::nullopt;
}

std::optional<CleEnregistrements> cleEnregistrementsBibliotheque(QStringView pointEntree)
{
    struct ClePoint
    {
        QStringView pointEntree;
        CleEnregistrements cle;
    };
    static constexpr std::array cles{
        ClePoint{u"ListeModificateurs_Tarvo", {0}},
        ClePoint{u"GetPrixUnitaireActeSupplement_Tarvo", {1}},
        ClePoint{u"GetPriseEnCharge_Tarvo", {CleEnregistrements::ParRang}},
        ClePoint{u"ListeCodeIncompatibilitesActe_Tarvo", {0}},
        ClePoint{u"ListeCodeAssociationActe_Tarvo", {0}},
    };
    for (const ClePoint& c : cles)
        if (c.pointEntree == pointEntree)
            return c.cle;
    return std::nullopt;
}

QList<QStringList> champsEnregistrements(QStringView listePipe, qsizetype taille)
{
    QList<QStringList> resultat;
    if (taille <= 0 || taille > FormatEnregistrement::TailleMaximale)
        return resultat;
    std::array<QStringView, FormatEnregistrement::TailleMaximale> valeurs;
    const std::span enregistrement(valeurs.data(), std::size_t(taille));
    ListePipe champs(listePipe);
    while (enregistrementSuivant(champs, enregistrement)) {
        QStringList textes;
        textes.reserve(taille);
        for (const QStringView valeur : enregistrement)
            textes.append(valeur.toString());
        resultat.append(std::move(textes));
    }
    return resultat;
}

QStringList lignesEnregistrements(QStringView listePipe, FormatEnregistrement format)
{
    QStringList lignes;
    if (format.taille <= 0 || format.taille > FormatEnregistrement::TailleMaximale)
        return lignes;
    std::array<QStringView, FormatEnregistrement::TailleMaximale> valeurs;
    const std::span enregistrement(valeurs.data(), std::size_t(format.taille));
    ListePipe champs(listePipe);
    while (enregistrementSuivant(champs, enregistrement)) {
        qsizetype longueur = format.taille - 1;
        for (qsizetype i = 0; i < format.taille; ++i) {
            if (i < format.champsRognes)
                valeurs[std::size_t(i)] = rognerEspaces(valeurs[std::size_t(i)]);
            longueur += valeurs[std::size_t(i)].size();
        }
        // One allocation per line, filled in place: List1 may take 100,000 of them at once.
        QString ligne(longueur, Qt::Uninitialized);
        QChar* sortie = ligne.data();
        for (qsizetype i = 0; i < format.taille; ++i) {
            if (i > 0)
                *sortie++ = u'\t';
            const QStringView valeur = valeurs[std::size_t(i)];
            std::copy(valeur.begin(), valeur.end(), sortie);
            sortie += valeur.size();
        }
        lignes.append(std::move(ligne));
    }
    return lignes;
}

QStringList entreesModificateurs(QStringView listePipe)
{
    QStringList entrees;
    std::array<QStringView, 2> paire;
    ListePipe champs(listePipe);
    while (enregistrementSuivant(champs, paire)) {
        QString entree;
        entree.reserve(paire[0].size() + 3 + paire[1].size());
        entree.append(paire[0]).append(u" - ").append(paire[1]);
        entrees.append(std::move(entree));
    }
    return entrees;
}
