#include "listecodes.h"

#include "lecturetexte.h"

#include <QIODevice>

namespace {

// Far above any act code, far below what would cost memory: a longer line is not a code list's.
constexpr qint64 longueurMaximale = 4096;

bool estCode(const QString& texte)
{
    if (texte.size() > 32)
        return false;
    for (const QChar c : texte) {
        const char16_t u = c.unicode();
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9')))
            return false;
    }
    return true;
}

} // namespace

ListeCodes lireListeCodes(QIODevice& source)
{
    ListeCodes liste;
    int numero = 0;
    const auto refuser = [&](const QString& raison) {
        liste.codes.clear();
        liste.erreur = raison;
        liste.ligneErreur = numero;
        return liste;
    };
    while (!source.atEnd()) {
        // Read in bounded pieces so that a file of one huge line never sits whole in memory.
        const QByteArray ligne = source.readLine(longueurMaximale);
        ++numero;
        if (!ligne.endsWith('\n') && !source.atEnd())
            return refuser(QStringLiteral("ligne trop longue (plus de %1 octets) : un code d'acte par ligne")
                               .arg(longueurMaximale));
        const QString texte = QString::fromUtf8(ligne).trimmed();
        if (texte.isEmpty() || texte.startsWith(QLatin1Char('#')))
            continue;
        if (!estCode(texte))
            return refuser(QStringLiteral("« %1 » n'est pas un code d'acte (lettres et chiffres seulement)")
                               .arg(texte.left(40)));
        liste.codes.append(texte);
    }
    if (liste.codes.isEmpty()) {
        numero = 0;
        return refuser(QStringLiteral("aucun code d'acte"));
    }
    return liste;
}

std::optional<QStringList> lireFichierCodes(const QString& chemin, QString& refus)
{
    const std::unique_ptr<QIODevice> source = ouvrirTexteUtf8(chemin, refus);
    if (!source)
        return std::nullopt;
    ListeCodes liste = lireListeCodes(*source);
    if (liste.erreur.isEmpty())
        return std::move(liste.codes);
    refus = liste.ligneErreur > 0
                ? QStringLiteral("%1:%2 : %3").arg(chemin).arg(liste.ligneErreur).arg(liste.erreur)
                : QStringLiteral("%1 : %2").arg(chemin, liste.erreur);
    return std::nullopt;
}
