#include "listecodes.h"

#include "lecturetexte.h"
#include "vocabulairejournal.h"

#include <QCryptographicHash>
#include <QIODevice>
#include <QJsonObject>
#include <QRegularExpression>

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

std::optional<Tranche> lireTranche(const QString& texte, QString& refus)
{
    static const QRegularExpression forme(QStringLiteral("^(\\d{1,4})/(\\d{1,4})$"));
    const QRegularExpressionMatch lu = forme.match(texte.trimmed());
    const Tranche tranche{lu.hasMatch() ? lu.captured(1).toInt() : 0,
                          lu.hasMatch() ? lu.captured(2).toInt() : 0};
    if (tranche.numero < 1 || tranche.numero > tranche.nombre) {
        refus = QStringLiteral("--tranche : « %1 » n'est pas une tranche K/N (1 ≤ K ≤ N, par exemple 2/3)")
                    .arg(texte);
        return std::nullopt;
    }
    return tranche;
}

std::optional<QStringList> trancherCodes(const QStringList& codes, const Tranche& tranche, QString& refus)
{
    const qsizetype total = codes.size();
    if (tranche.nombre > total) {
        refus = QStringLiteral("--tranche %1/%2 : la liste n'a que %3 acte(s), moins que de tranches")
                    .arg(tranche.numero)
                    .arg(tranche.nombre)
                    .arg(total);
        return std::nullopt;
    }
    const qsizetype debut = total * (tranche.numero - 1) / tranche.nombre;
    const qsizetype fin = total * tranche.numero / tranche.nombre;
    return codes.mid(debut, fin - debut);
}

QString empreinteCodes(const QStringList& codes)
{
    QCryptographicHash empreinte(QCryptographicHash::Sha256);
    for (const QString& code : codes) {
        empreinte.addData(code.toUtf8());
        empreinte.addData(QByteArrayView("\n"));
    }
    return QString::fromLatin1(empreinte.result().toHex().left(16));
}

QJsonObject champsTranche(const QStringList& codes, const Tranche& tranche)
{
    return {{Champ::tranche, QStringLiteral("%1/%2").arg(tranche.numero).arg(tranche.nombre)},
            {Champ::actesListe, codes.size()},
            {Champ::empreinteListe, empreinteCodes(codes)}};
}
