#include "lecteurjournal.h"

#include "vocabulairejournal.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool chiffres(const QByteArray& texte, qsizetype& i)
{
    const qsizetype debut = i;
    while (i < texte.size() && texte.at(i) >= '0' && texte.at(i) <= '9')
        ++i;
    return i > debut;
}

// A line whose head another hand wrote keeps its number and time: it is then merely parsed when it differs.
QByteArray sansVariable(const QByteArray& ligne)
{
    static const QByteArray cleDuree = '"' + QByteArray(Champ::dureeUs.data(), Champ::dureeUs.size()) + "\":";
    const qsizetype genre = TeteLigne::debutGenre(ligne);
    QByteArray resultat = genre > 0 ? '{' + ligne.mid(genre) : ligne;
    // A quote inside a JSON string is escaped, so this pattern can only be a key.
    for (qsizetype p = resultat.indexOf(cleDuree); p >= 0; p = resultat.indexOf(cleDuree, p)) {
        qsizetype fin = p + cleDuree.size();
        if (!chiffres(resultat, fin))
            break;
        if (fin < resultat.size() && resultat.at(fin) == ',')
            resultat.remove(p, fin + 1 - p);
        else if (p > 0 && resultat.at(p - 1) == ',')
            resultat.remove(p - 1, fin + 1 - p);
        else
            resultat.remove(p, fin - p);
    }
    return resultat;
}

QJsonObject objet(const QByteArray& ligne)
{
    return QJsonDocument::fromJson(ligne).object();
}

// Its kind's name, without parsing the line when its head is our writer's; empty when the line is not an
// event.
QByteArray nomGenre(const QByteArray& ligne)
{
    if (!ligne.startsWith('{') || !ligne.endsWith('}'))
        return {};
    if (const QByteArrayView nom = TeteLigne::genreEnTete(ligne); !nom.isEmpty())
        return nom.toByteArray();
    const QJsonValue genre = objet(ligne).value(Champ::genre);
    return genre.isString() ? genre.toString().toUtf8() : QByteArray();
}

// The value of a text field, found without parsing the line: our writer puts no escape in an entry point's
// name or an act's code. Parsed after all when the pattern is not there as it writes it.
QString texteChamp(const QByteArray& ligne, QLatin1String champ)
{
    const QByteArray motif = '"' + QByteArray(champ.data(), champ.size()) + "\":\"";
    // A quote inside a JSON string is escaped, so this pattern can only be a key.
    const qsizetype debut = ligne.indexOf(motif);
    if (debut >= 0) {
        const qsizetype valeur = debut + motif.size();
        const qsizetype fin = ligne.indexOf('"', valeur);
        if (fin > valeur && !QByteArrayView(ligne).sliced(valeur, fin - valeur).contains('\\'))
            return QString::fromUtf8(ligne.sliced(valeur, fin - valeur));
    }
    return objet(ligne).value(champ).toString();
}

} // namespace

LecteurJournal::LecteurJournal(QIODevice& source, const QString& nom)
    : m_source(source)
    , m_nom(nom)
{}

bool LecteurJournal::lire(BlocCommande& bloc, QString& erreur)
{
    bloc = BlocCommande();
    if (!m_enAttente.isEmpty())
        ouvrir(bloc, std::exchange(m_enAttente, {}));
    while (!m_source.atEnd()) {
        const QByteArray brute = m_source.readLine().trimmed();
        ++m_numero;
        if (brute.isEmpty())
            continue;
        const QByteArray ligne = sansVariable(brute);
        const QByteArray nom = nomGenre(ligne);
        if (nom.isEmpty()) {
            erreur = QStringLiteral("%1:%2 : ligne de journal illisible").arg(m_nom).arg(m_numero);
            return false;
        }
        // A kind this vocabulary does not have is one more event of its command.
        const GenreEvenement* genre = genreNomme(nom);
        // An announcement is answered by the line after it, or by the worker's crash or hang: only those
        // are compared, so journals written before calls were announced still pair.
        if (genre == &Genre::appel)
            continue;
        if (genre == &Genre::etape) {
            bloc.etapes.append(ligne);
            if (!bloc.commande)
                m_derniereLigne = objet(ligne).value(Champ::ligne).toInt();
        } else if (genre == &Genre::finScenario || genre == &Genre::finBalayage) {
            bloc.statutFin = objet(ligne).value(Champ::statut);
            bloc.genreFin = genre;
        } else if (genre == &Genre::commande) {
            // A command that never ended: the next one starts the next block.
            if (bloc.commande) {
                m_enAttente = ligne;
                return true;
            }
            ouvrir(bloc, ligne);
        } else if ((genre == &Genre::bibliotheque || genre == &Genre::plantage || genre == &Genre::blocage) &&
                   !bloc.commande) {
            // The library outside a command and without an act (the companion's sequence, its loading) is no
            // block: only a sweep's calls, tagged with their act, are paired.
            const QString acte = texteChamp(ligne, Champ::acte);
            QString pointEntree = acte.isEmpty() ? QString() : texteChamp(ligne, Champ::pointEntree);
            // A worker that died between two calls of an act still stands in that act's place.
            if (pointEntree.isEmpty() && !acte.isEmpty() && genre != &Genre::bibliotheque)
                pointEntree = genre->nom;
            if (pointEntree.isEmpty())
                continue;
            bloc.commande = true;
            bloc.appel = true;
            bloc.bouton = pointEntree;
            bloc.acte = acte;
            bloc.ligneScenario = m_derniereLigne;
            bloc.panne = genre != &Genre::bibliotheque;
            bloc.evenements.append(ligne);
            return true;
        } else if (bloc.commande) {
            bloc.evenements.append(ligne);
            // A command whose worker died or hung in it never ends, and its act's later ones never ran.
            if (genre == &Genre::plantage || genre == &Genre::blocage)
                bloc.panne = true;
            if (genre == &Genre::finCommande || bloc.panne)
                return true;
        }
    }
    return true;
}

void LecteurJournal::ouvrir(BlocCommande& bloc, const QByteArray& ligne)
{
    const QJsonObject commande = objet(ligne);
    bloc.commande = true;
    bloc.bouton = commande.value(Champ::bouton).toString();
    bloc.acte = commande.value(Champ::acte).toString();
    bloc.ligneScenario = m_derniereLigne;
}
