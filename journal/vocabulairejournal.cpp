#include "vocabulairejournal.h"

#include <QDateTime>

namespace {

QByteArrayView octets(QLatin1String texte)
{
    return QByteArrayView(texte.data(), texte.size());
}

// "nom": as it opens a field.
QByteArray cle(QLatin1String nom)
{
    return '"' + octets(nom).toByteArray() + "\":";
}

// The pieces of the head, made from the field names.
struct Morceaux
{
    QByteArray numero = '{' + cle(Champ::numeroLigne);      // {"n":
    QByteArray temps = cle(Champ::temps) + '"';             // "t":"
    QByteArray genre = cle(Champ::genre);                   // "genre":
    QByteArray genreEnTete = '{' + cle(Champ::genre) + '"'; // {"genre":"
};

const Morceaux& morceaux()
{
    static const Morceaux m;
    return m;
}

bool chiffres(QByteArrayView texte, qsizetype& i)
{
    const qsizetype debut = i;
    while (i < texte.size() && texte.at(i) >= '0' && texte.at(i) <= '9')
        ++i;
    return i > debut;
}

} // namespace

const GenreEvenement* genreNomme(QByteArrayView nom)
{
    for (const GenreEvenement* genre : genresJournal)
        if (octets(genre->nom) == nom)
            return genre;
    return nullptr;
}

namespace TeteLigne {

QByteArray ecrire(qint64 numero, const QDateTime& temps, const GenreEvenement& genre)
{
    const Morceaux& m = morceaux();
    return m.numero + QByteArray::number(numero) + ',' + m.temps +
           temps.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\"," + m.genre + '"' +
           octets(genre.nom).toByteArray() + '"';
}

qsizetype debutGenre(QByteArrayView ligne)
{
    const Morceaux& m = morceaux();
    const qsizetype genre = ligne.indexOf(m.genre);
    qsizetype i = m.numero.size();
    if (genre <= 0 || !ligne.startsWith(m.numero) || !chiffres(ligne, i) || i >= genre || ligne.at(i) != ',')
        return -1;
    if (++i == genre)
        return genre;
    if (!ligne.sliced(i).startsWith(m.temps))
        return -1;
    const qsizetype fin = ligne.indexOf('"', i + m.temps.size());
    return fin > 0 && fin + 2 == genre && ligne.at(fin + 1) == ',' ? genre : -1;
}

QByteArrayView genreEnTete(QByteArrayView ligne)
{
    const QByteArray& debut = morceaux().genreEnTete;
    if (!ligne.startsWith(debut))
        return {};
    const qsizetype fin = ligne.indexOf('"', debut.size());
    return fin > debut.size() ? ligne.sliced(debut.size(), fin - debut.size()) : QByteArrayView();
}

} // namespace TeteLigne
