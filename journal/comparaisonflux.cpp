#include "comparaisonflux.h"

#include "differencesenregistrements.h"
#include "lignesenregistrements.h"
#include "rapporthtml.h"

#include <QHash>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

namespace {

bool chiffres(const QByteArray& texte, qsizetype& i)
{
    const qsizetype debut = i;
    while (i < texte.size() && texte.at(i) >= '0' && texte.at(i) <= '9')
        ++i;
    return i > debut;
}

// Whether what stands before "genre" is the number and time our writer puts first, and nothing else.
bool numeroEtTemps(const QByteArray& ligne, qsizetype genre)
{
    qsizetype i = 5;
    if (!ligne.startsWith("{\"n\":") || !chiffres(ligne, i) || i >= genre || ligne.at(i) != ',')
        return false;
    if (++i == genre)
        return true;
    if (ligne.mid(i, 5) != "\"t\":\"")
        return false;
    const qsizetype fin = ligne.indexOf('"', i + 5);
    return fin > 0 && fin + 2 == genre && ligne.at(fin + 1) == ',';
}

// The line without its number, time and durations, which change from run to run. A line written by
// another hand keeps them: it is then merely parsed when it differs.
QByteArray normaliser(const QByteArray& ligne)
{
    const qsizetype genre = ligne.indexOf("\"genre\":");
    QByteArray resultat = genre > 0 && numeroEtTemps(ligne, genre) ? '{' + ligne.mid(genre) : ligne;
    // A quote inside a JSON string is escaped, so this pattern can only be a key.
    for (qsizetype p = resultat.indexOf("\"duree_us\":"); p >= 0; p = resultat.indexOf("\"duree_us\":", p)) {
        qsizetype fin = p + 11;
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

// Its kind, without parsing the line when our writer wrote it; empty when the line is not an event.
QByteArray genreDe(const QByteArray& normalisee)
{
    if (!normalisee.startsWith('{') || !normalisee.endsWith('}'))
        return {};
    if (normalisee.startsWith("{\"genre\":\"")) {
        const qsizetype fin = normalisee.indexOf('"', 10);
        if (fin > 10)
            return normalisee.mid(10, fin - 10);
    }
    const QJsonValue genre = objet(normalisee).value(QStringLiteral("genre"));
    return genre.isString() ? genre.toString().toUtf8() : QByteArray();
}

// The steps up to one command, and that command's events.
struct Bloc
{
    QList<QByteArray> etapes;
    bool commande = false;
    QString bouton;
    QString acte;
    int ligneScenario = 0;
    QList<QByteArray> evenements;
    QJsonValue statutFin = QJsonValue::Undefined;
    QByteArray genreFin; // fin_scenario or fin_balayage
};

class LecteurJournal
{
public:
    LecteurJournal(QIODevice& source, const QString& nom)
        : m_source(source)
        , m_nom(nom)
    {}

    // The next block; a block without command is the journal's end.
    bool lire(Bloc& bloc, QString& erreur)
    {
        bloc = Bloc();
        if (!m_enAttente.isEmpty())
            ouvrir(bloc, std::exchange(m_enAttente, {}));
        while (!m_source.atEnd()) {
            const QByteArray brute = m_source.readLine().trimmed();
            ++m_numero;
            if (brute.isEmpty())
                continue;
            const QByteArray ligne = normaliser(brute);
            const QByteArray genre = genreDe(ligne);
            if (genre.isEmpty()) {
                erreur = QStringLiteral("%1:%2 : ligne de journal illisible").arg(m_nom).arg(m_numero);
                return false;
            }
            if (genre == "etape") {
                bloc.etapes.append(ligne);
                if (!bloc.commande)
                    m_derniereLigne = objet(ligne).value(QStringLiteral("ligne")).toInt();
            } else if (genre == "fin_scenario" || genre == "fin_balayage") {
                bloc.statutFin = objet(ligne).value(QStringLiteral("statut"));
                bloc.genreFin = genre;
            } else if (genre == "commande") {
                // A command that never ended: the next one starts the next block.
                if (bloc.commande) {
                    m_enAttente = ligne;
                    return true;
                }
                ouvrir(bloc, ligne);
            } else if (bloc.commande) {
                bloc.evenements.append(ligne);
                if (genre == "fin_commande")
                    return true;
            }
        }
        return true;
    }

private:
    void ouvrir(Bloc& bloc, const QByteArray& ligne)
    {
        const QJsonObject commande = objet(ligne);
        bloc.commande = true;
        bloc.bouton = commande.value(QStringLiteral("bouton")).toString();
        bloc.acte = commande.value(QStringLiteral("acte")).toString();
        bloc.ligneScenario = m_derniereLigne;
    }

    QIODevice& m_source;
    QString m_nom;
    int m_numero = 0;
    int m_derniereLigne = 0;
    QByteArray m_enAttente;
};

QString texteJson(const QJsonValue& valeur)
{
    if (valeur.isUndefined())
        return QStringLiteral("(absent)");
    const QByteArray tableau = QJsonDocument(QJsonArray{valeur}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(tableau.mid(1, tableau.size() - 2));
}

QString nomEvenement(const QJsonObject& e)
{
    const QString genre = e.value(QStringLiteral("genre")).toString();
    if (genre == QLatin1String("controle"))
        return e.value(QStringLiteral("membre")).toString();
    if (genre == QLatin1String("bibliotheque"))
        return e.value(QStringLiteral("point_entree")).toString(QStringLiteral("chargement"));
    return genre;
}

// A command's events by key ("LirePrix#2" for its second read of LirePrix), in the order they happened.
struct Evenements
{
    QStringList cles;
    QHash<QString, QJsonObject> parCle;
    QHash<QString, QString> noms;
};

Evenements indexer(const QList<QByteArray>& lignes, const QStringList& ignores)
{
    static const QStringList champsIgnores{QStringLiteral("n"), QStringLiteral("t"),
                                           QStringLiteral("duree_us"), QStringLiteral("acte")};
    Evenements evenements;
    QHash<QString, int> occurrences;
    for (const QByteArray& ligne : lignes) {
        QJsonObject e = objet(ligne);
        for (const QString& champ : champsIgnores)
            e.remove(champ);
        const QString nom = nomEvenement(e);
        if (ignores.contains(nom))
            continue;
        const QString cle = nom + QLatin1Char('#') + QString::number(++occurrences[nom]);
        evenements.cles.append(cle);
        evenements.parCle.insert(cle, e);
        evenements.noms.insert(cle, nom);
    }
    return evenements;
}

QString libelle(const QString& cle)
{
    return cle.endsWith(QLatin1String("#1")) ? cle.chopped(2) : cle;
}

QList<LigneDifference> comparerCommande(const QList<QByteArray>& a, const QList<QByteArray>& b,
                                        const QStringList& ignores)
{
    const Evenements ea = indexer(a, ignores);
    const Evenements eb = indexer(b, ignores);
    QStringList cles = ea.cles;
    for (const QString& cle : eb.cles)
        if (!ea.parCle.contains(cle))
            cles.append(cle);

    QList<LigneDifference> lignes;
    for (const QString& cle : cles) {
        const QJsonObject oa = ea.parCle.value(cle);
        const QJsonObject ob = eb.parCle.value(cle);
        if (oa == ob)
            continue;
        const QString nom = ea.noms.value(cle, eb.noms.value(cle));
        if (oa.isEmpty() || ob.isEmpty()) {
            const QString present = texteJson(oa.isEmpty() ? ob : oa);
            lignes.append({nom,
                           libelle(cle),
                           oa.isEmpty() ? texteJson(QJsonValue::Undefined) : present,
                           ob.isEmpty() ? texteJson(QJsonValue::Undefined) : present,
                           false,
                           {},
                           {}});
            continue;
        }
        QStringList champs = oa.keys();
        for (const QString& champ : ob.keys())
            if (!oa.contains(champ))
                champs.append(champ);
        for (const QString& champ : champs) {
            const QJsonValue va = oa.value(champ);
            const QJsonValue vb = ob.value(champ);
            if (va == vb)
                continue;
            const std::optional<FormatEnregistrement> format = formatEnregistrement(nom);
            const QString libelleChamp = libelle(cle) + QLatin1Char('.') + champ;
            if (champ == QLatin1String("retour") && format && va.isString() && vb.isString()) {
                for (const DifferenceEnregistrement& d :
                     differencesEnregistrements(va.toString(), vb.toString(), format->taille)) {
                    const auto texte = [](const QStringList& champsEnregistrement) {
                        return champsEnregistrement.isEmpty()
                                   ? texteJson(QJsonValue::Undefined)
                                   : texteJson(champsEnregistrement.join(QLatin1Char('|')));
                    };
                    lignes.append({nom, libelleChamp + QLatin1Char('[') + d.cle + QLatin1Char(']'),
                                   texte(d.champsA), texte(d.champsB), true, d.champsA, d.champsB});
                }
                continue;
            }
            lignes.append({nom, libelleChamp, texteJson(va), texteJson(vb), false, {}, {}});
        }
    }
    return lignes;
}

QString etapeLisible(const QList<QByteArray>& etapes, qsizetype i)
{
    return i < etapes.size() ? texteJson(objet(etapes.at(i)).value(QStringLiteral("etape")))
                             : QStringLiteral("fin");
}

QString commandeLisible(const Bloc& bloc)
{
    if (!bloc.commande)
        return QStringLiteral("fin");
    return bloc.acte.isEmpty() ? bloc.bouton : bloc.bouton + QStringLiteral(" — ") + bloc.acte;
}

} // namespace

ComparaisonFlux::ComparaisonFlux(OptionsComparaison options)
    : m_options(std::move(options))
{}

IssueComparaison ComparaisonFlux::comparer(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                                           const QString& nomB,
                                           const std::function<void(const QString&)>& ecrire, QString& erreur)
{
    QTemporaryFile texte;
    if (!texte.open()) {
        erreur = texte.errorString();
        return IssueComparaison::NonAppariables;
    }
    std::unique_ptr<RapportHtml> rapport;
    if (!m_options.rapportHtml.isEmpty()) {
        rapport = std::make_unique<RapportHtml>(m_options.rapportHtml);
        if (!rapport->commencer(erreur))
            return IssueComparaison::NonAppariables;
    }

    ResumeComparaison resume;
    resume.nomA = nomA;
    resume.nomB = nomB;
    resume.ignores = m_options.ignores;
    QHash<QString, qsizetype> indexMembres;
    QHash<QString, QString> dernierActeMembre;
    QString dernierActe;
    QString dernierActeDifferent;
    QJsonValue statutA = QJsonValue::Undefined;
    QJsonValue statutB = QJsonValue::Undefined;
    QByteArray genreFin;
    qsizetype etapesVues = 0;

    LecteurJournal lecteurA(journalA, nomA);
    LecteurJournal lecteurB(journalB, nomB);
    Bloc a;
    Bloc b;
    for (;;) {
        if (!lecteurA.lire(a, erreur) || !lecteurB.lire(b, erreur))
            return IssueComparaison::NonAppariables;
        if (a.etapes != b.etapes) {
            qsizetype i = 0;
            while (i < a.etapes.size() && i < b.etapes.size() && a.etapes.at(i) == b.etapes.at(i))
                ++i;
            erreur = QStringLiteral("les deux journaux ne jouent pas le même scénario (étape %1 : %2 / %3)")
                         .arg(etapesVues + i + 1)
                         .arg(etapeLisible(a.etapes, i), etapeLisible(b.etapes, i));
            return IssueComparaison::NonAppariables;
        }
        etapesVues += a.etapes.size();
        if (!a.statutFin.isUndefined())
            statutA = a.statutFin;
        if (!a.genreFin.isEmpty() || !b.genreFin.isEmpty())
            genreFin = a.genreFin.isEmpty() ? b.genreFin : a.genreFin;
        if (!b.statutFin.isUndefined())
            statutB = b.statutFin;
        if (!a.commande && !b.commande)
            break;
        if (a.commande != b.commande || a.bouton != b.bouton || a.acte != b.acte) {
            erreur =
                QStringLiteral("les deux journaux n'ont pas les mêmes commandes (%1 / %2) à la commande %3")
                    .arg(commandeLisible(a), commandeLisible(b))
                    .arg(resume.commandes + 1);
            return IssueComparaison::NonAppariables;
        }
        ++resume.commandes;
        if (!a.acte.isEmpty() && a.acte != dernierActe) {
            ++resume.actes;
            dernierActe = a.acte;
        }
        if (a.evenements == b.evenements)
            continue;
        const QList<LigneDifference> lignes = comparerCommande(a.evenements, b.evenements, m_options.ignores);
        if (lignes.isEmpty())
            continue;

        ++resume.commandesDifferentes;
        resume.differences += int(lignes.size());
        if (!a.acte.isEmpty() && a.acte != dernierActeDifferent) {
            ++resume.actesDifferents;
            dernierActeDifferent = a.acte;
        }
        QString titre = QStringLiteral("Commande %1 : %2").arg(resume.commandes).arg(a.bouton);
        if (!a.acte.isEmpty())
            titre += QStringLiteral(" — ") + a.acte;
        else if (a.ligneScenario > 0)
            titre += QStringLiteral(" (ligne %1)").arg(a.ligneScenario);
        QString bloc = titre + QLatin1Char('\n');
        QStringList membresVus;
        for (const LigneDifference& ligne : lignes) {
            bloc += QStringLiteral("  ") + ligne.libelle + QLatin1Char('\t') + ligne.texteA +
                    QLatin1Char('\t') + ligne.texteB + QLatin1Char('\n');
            if (membresVus.contains(ligne.membre))
                continue;
            membresVus.append(ligne.membre);
            auto trouve = indexMembres.constFind(ligne.membre);
            if (trouve == indexMembres.cend()) {
                trouve = indexMembres.insert(ligne.membre, resume.parMembre.size());
                resume.parMembre.append({ligne.membre, 0, 0});
            }
            DifferencesMembre& membre = resume.parMembre[*trouve];
            ++membre.commandes;
            QString& acteCompte = dernierActeMembre[ligne.membre];
            if (!a.acte.isEmpty() && acteCompte != a.acte) {
                ++membre.actes;
                acteCompte = a.acte;
            }
        }
        texte.write(bloc.toUtf8());
        if (rapport)
            rapport->ajouterCommande(a.acte.isEmpty() ? titre : a.acte, titre, lignes);
    }

    QString fin;
    if (statutA != statutB) {
        fin += (genreFin == "fin_balayage" ? QStringLiteral("Fin du balayage")
                                           : QStringLiteral("Fin du scénario")) +
               QStringLiteral("\n  statut\t%1\t%2\n").arg(texteJson(statutA), texteJson(statutB));
        ++resume.differences;
    }
    const QString actes = resume.actes > 0 ? QStringLiteral(", %1 acte(s)").arg(resume.actes) : QString();
    if (resume.differences == 0) {
        fin += QStringLiteral("Aucune différence sur %1 commande(s)%2.\n").arg(resume.commandes).arg(actes);
    } else {
        if (!resume.parMembre.isEmpty())
            fin += QStringLiteral("Différences par membre :\n");
        for (const DifferencesMembre& membre : resume.parMembre) {
            fin += QStringLiteral("  %1\t%2 commande(s)").arg(membre.membre).arg(membre.commandes);
            if (resume.actes > 0)
                fin += QStringLiteral("\t%1 acte(s)").arg(membre.actes);
            fin += QLatin1Char('\n');
        }
        fin += QStringLiteral("%1 différence(s) dans %2 commande(s) sur %3")
                   .arg(resume.differences)
                   .arg(resume.commandesDifferentes)
                   .arg(resume.commandes);
        if (resume.actes > 0)
            fin += QStringLiteral(", %1 acte(s) sur %2").arg(resume.actesDifferents).arg(resume.actes);
        fin += QStringLiteral(".\n");
    }
    texte.write(fin.toUtf8());
    if (rapport && !rapport->terminer(resume, erreur))
        return IssueComparaison::NonAppariables;

    // Whole lines at a time, so no character is cut between two pieces.
    texte.seek(0);
    while (!texte.atEnd()) {
        QByteArray morceau = texte.read(1 << 16);
        if (!morceau.endsWith('\n'))
            morceau += texte.readLine();
        ecrire(QString::fromUtf8(morceau));
    }
    return resume.differences == 0 ? IssueComparaison::Identiques : IssueComparaison::Differents;
}
