#include "comparaisonflux.h"

#include "differencesenregistrements.h"
#include "lecteurjournal.h"
#include "lignesenregistrements.h"
#include "rapporthtml.h"
#include "vocabulairejournal.h"

#include <QHash>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <array>
#include <utility>

namespace {

QJsonObject objet(const QByteArray& ligne)
{
    return QJsonDocument::fromJson(ligne).object();
}

QString texteJson(const QJsonValue& valeur)
{
    if (valeur.isUndefined())
        return TexteAbsent;
    const QByteArray tableau = QJsonDocument(QJsonArray{valeur}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(tableau.mid(1, tableau.size() - 2));
}

// ---- Comparing one command's events

// What --ignorer names and the report shows: the member for the control, the event's name for what it
// fires ("OnChanged(CodeActe)" for a property change it notified), the entry point for the library (its
// loading apart), the kind for the rest.
QString nomEvenement(const QJsonObject& e)
{
    const QString genre = e.value(Champ::genre).toString();
    if (genre == Genre::controle.nom)
        return e.value(Champ::membre).toString();
    if (genre == Genre::evenement.nom) {
        const QString nom = e.value(Champ::evenement).toString();
        const QString membre = e.value(Champ::membre).toString();
        return membre.isEmpty() ? nom : nom + QLatin1Char('(') + membre + QLatin1Char(')');
    }
    if (genre == Genre::bibliotheque.nom)
        return e.value(Champ::pointEntree).toString(Champ::chargement);
    // A crash or a hang stands where the call's answer would: the same key, so that the two are compared.
    if (genre == Genre::plantage.nom || genre == Genre::blocage.nom)
        return e.value(Champ::membre).toString(e.value(Champ::pointEntree).toString(genre));
    // A native box is compared as one more answer of the member it came in: "boite_native(LirePrix)".
    if (genre == Genre::boiteNative.nom)
        return genre + QLatin1Char('(') + e.value(Champ::membre).toString() + QLatin1Char(')');
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
    static const std::array champsIgnores{Champ::numeroLigne, Champ::temps, Champ::dureeUs, Champ::acte};
    Evenements evenements;
    QHash<QString, int> occurrences;
    for (const QByteArray& ligne : lignes) {
        QJsonObject e = objet(ligne);
        for (const QLatin1String champ : champsIgnores)
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

QString texteEnregistrement(const QStringList& champs)
{
    return champs.isEmpty() ? QString(TexteAbsent) : texteJson(champs.join(QLatin1Char('|')));
}

// The records of a library call, as its event lists them (a list of texts each).
QList<QStringList> enregistrementsBibliotheque(const QJsonArray& tableau)
{
    QList<QStringList> enregistrements;
    enregistrements.reserve(tableau.size());
    for (const QJsonValue& enregistrement : tableau) {
        QStringList champs;
        for (const QJsonValue& champ : enregistrement.toArray())
            champs.append(champ.isString() ? champ.toString() : texteJson(champ));
        enregistrements.append(std::move(champs));
    }
    return enregistrements;
}

void ajouterEnregistrements(const QString& nom, const QString& libelleChamp,
                            const QList<DifferenceEnregistrement>& differences,
                            QList<LigneDifference>& lignes)
{
    for (const DifferenceEnregistrement& d : differences)
        lignes.append({nom, libelleChamp + QLatin1Char('[') + d.cle + QLatin1Char(']'),
                       texteEnregistrement(d.champsA), texteEnregistrement(d.champsB), true, d.champsA,
                       d.champsB});
}

// The fields of one event that differ; a pipe list the member answers, record by record, cut by the
// member's record format as the commands cut it, and the records a library call delivered, by their key.
void comparerChamps(const QString& nom, const QString& cle, const QJsonObject& oa, const QJsonObject& ob,
                    QList<LigneDifference>& lignes)
{
    QStringList champs = oa.keys();
    for (const QString& champ : ob.keys())
        if (!oa.contains(champ))
            champs.append(champ);
    const std::optional<FormatEnregistrement> format = formatEnregistrement(nom);
    const std::optional<CleEnregistrements> cleBibliotheque = cleEnregistrementsBibliotheque(nom);
    for (const QString& champ : champs) {
        const QJsonValue va = oa.value(champ);
        const QJsonValue vb = ob.value(champ);
        if (va == vb)
            continue;
        const QString libelleChamp = libelle(cle) + QLatin1Char('.') + champ;
        if (champ == Champ::retour && format && va.isString() && vb.isString()) {
            ajouterEnregistrements(nom, libelleChamp,
                                   differencesEnregistrements(va.toString(), vb.toString(), format->taille),
                                   lignes);
            continue;
        }
        if (champ == Champ::enregistrements && cleBibliotheque && va.isArray() && vb.isArray()) {
            ajouterEnregistrements(nom, libelleChamp,
                                   differencesEnregistrements(enregistrementsBibliotheque(va.toArray()),
                                                              enregistrementsBibliotheque(vb.toArray()),
                                                              cleBibliotheque->champ),
                                   lignes);
            continue;
        }
        lignes.append({nom, libelleChamp, texteJson(va), texteJson(vb), false, {}, {}});
    }
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
        // An answer against a crash or a hang: one line, both shown whole.
        if (oa.isEmpty() || ob.isEmpty() || oa.value(Champ::genre) != ob.value(Champ::genre)) {
            // An event only one journal has, or of another kind in each, shown whole.
            lignes.append({nom,
                           libelle(cle),
                           oa.isEmpty() ? QString(TexteAbsent) : texteJson(oa),
                           ob.isEmpty() ? QString(TexteAbsent) : texteJson(ob),
                           false,
                           {},
                           {}});
            continue;
        }
        comparerChamps(nom, cle, oa, ob, lignes);
    }
    return lignes;
}

// ---- Pairing

QString etapeLisible(const QList<QByteArray>& etapes, qsizetype i)
{
    return i < etapes.size() ? texteJson(objet(etapes.at(i)).value(Champ::etape)) : QStringLiteral("fin");
}

QString commandeLisible(const BlocCommande& bloc)
{
    if (!bloc.commande)
        return QStringLiteral("fin");
    const QString nom = bloc.appel ? QStringLiteral("appel ") + bloc.bouton : bloc.bouton;
    return bloc.acte.isEmpty() ? nom : nom + QStringLiteral(" — ") + bloc.acte;
}

// Reads the two journals side by side, one command of each at a time, and holds them to the same scenario
// steps before each command and the same commands, of the same acts.
class Appariement
{
public:
    enum class Issue
    {
        Commandes, // a() and b() hold the next command of each
        Fin,
        NonAppariables,
    };

    Appariement(const QList<SourceJournal>& journauxA, const QList<SourceJournal>& journauxB)
        : m_lecteurA(journauxA)
        , m_lecteurB(journauxB)
    {}

    Issue suivante(QString& erreur)
    {
        m_seul = nullptr;
        if ((!std::exchange(m_garderA, false) && !m_lecteurA.lire(m_a, erreur)) ||
            (!std::exchange(m_garderB, false) && !m_lecteurB.lire(m_b, erreur)))
            return Issue::NonAppariables;
        if (m_a.etapes != m_b.etapes) {
            qsizetype i = 0;
            while (i < m_a.etapes.size() && i < m_b.etapes.size() && m_a.etapes.at(i) == m_b.etapes.at(i))
                ++i;
            erreur = QStringLiteral("les deux journaux ne jouent pas le même scénario (étape %1 : %2 / %3)")
                         .arg(m_etapesVues + i + 1)
                         .arg(etapeLisible(m_a.etapes, i), etapeLisible(m_b.etapes, i));
            return Issue::NonAppariables;
        }
        m_etapesVues += m_a.etapes.size();
        if (!m_a.statutFin.isUndefined())
            m_statutA = m_a.statutFin;
        if (!m_b.statutFin.isUndefined())
            m_statutB = m_b.statutFin;
        if (m_a.genreFin != nullptr || m_b.genreFin != nullptr)
            m_genreFin = m_a.genreFin != nullptr ? m_a.genreFin : m_b.genreFin;
        if (!m_a.commande && !m_b.commande)
            return Issue::Fin;
        // A crash or a hang between two calls stands against the other side's next call of that act.
        const bool panneEntreAppels = m_a.commande && m_b.commande && m_a.appel && m_b.appel &&
                                      m_a.acte == m_b.acte && (m_a.panne || m_b.panne);
        const bool apparies = panneEntreAppels || (m_a.commande == m_b.commande && m_a.appel == m_b.appel &&
                                                   m_a.bouton == m_b.bouton && m_a.acte == m_b.acte);
        // The calls (or commands) of an act after the one that crashed or hung were never made on that side:
        // each of the other side's is one the first one lacks.
        if (!apparies && m_a.commande && !m_panneB.isEmpty() && m_a.acte == m_panneB) {
            m_seul = &m_a;
            m_garderB = true;
            ++m_commandes;
            return Issue::Commandes;
        }
        if (!apparies && m_b.commande && !m_panneA.isEmpty() && m_b.acte == m_panneA) {
            m_seul = &m_b;
            m_garderA = true;
            ++m_commandes;
            return Issue::Commandes;
        }
        if (!apparies) {
            const bool appels = m_a.commande ? m_a.appel : m_b.appel;
            erreur =
                (appels
                     ? QStringLiteral("les deux journaux n'ont pas les mêmes appels (%1 / %2) à l'appel %3")
                     : QStringLiteral(
                           "les deux journaux n'ont pas les mêmes commandes (%1 / %2) à la commande %3"))
                    .arg(commandeLisible(m_a), commandeLisible(m_b))
                    .arg(m_commandes + 1);
            return Issue::NonAppariables;
        }
        ++m_commandes;
        suivrePanne(m_a, m_panneA);
        suivrePanne(m_b, m_panneB);
        return Issue::Commandes;
    }

    // The other side's block is empty when only one side has the call.
    const BlocCommande& a() const { return m_seul == &m_b ? m_vide : m_a; }
    const BlocCommande& b() const { return m_seul == &m_a ? m_vide : m_b; }
    // The block that names the call: a's, or b's when only b has it.
    const BlocCommande& present() const { return m_seul == &m_b ? m_b : m_a; }
    const QJsonValue& statutA() const { return m_statutA; }
    const QJsonValue& statutB() const { return m_statutB; }
    // fin_scenario or fin_balayage, whichever either journal ended with; nullptr when neither did.
    const GenreEvenement* genreFin() const { return m_genreFin; }

private:
    // The act whose later calls a side lacks, as long as the other side is still in it.
    static void suivrePanne(const BlocCommande& bloc, QString& panne)
    {
        if (bloc.panne)
            panne = bloc.acte;
        else if (bloc.acte != panne)
            panne.clear();
    }

    LecteurTranches m_lecteurA;
    LecteurTranches m_lecteurB;
    BlocCommande m_a;
    BlocCommande m_b;
    const BlocCommande m_vide;
    const BlocCommande* m_seul = nullptr;
    bool m_garderA = false;
    bool m_garderB = false;
    QString m_panneA;
    QString m_panneB;
    qsizetype m_etapesVues = 0;
    int m_commandes = 0;
    QJsonValue m_statutA = QJsonValue::Undefined;
    QJsonValue m_statutB = QJsonValue::Undefined;
    const GenreEvenement* m_genreFin = nullptr;
};

// ---- Counting

// The commands and acts seen and those that differ, in all and member by member.
class Decompte
{
public:
    Decompte(const QString& nomA, const QString& nomB, const QStringList& ignores)
    {
        m_resume.nomA = nomA;
        m_resume.nomB = nomB;
        m_resume.ignores = ignores;
    }

    void commande(const BlocCommande& bloc)
    {
        const QString& acte = bloc.acte;
        if (m_resume.commandes == 0)
            m_resume.appels = bloc.appel;
        ++m_resume.commandes;
        if (!acte.isEmpty() && acte != m_dernierActe) {
            ++m_resume.actes;
            m_dernierActe = acte;
        }
    }

    void differences(const QString& acte, const QList<LigneDifference>& lignes)
    {
        ++m_resume.commandesDifferentes;
        m_resume.differences += int(lignes.size());
        if (!acte.isEmpty() && acte != m_dernierActeDifferent) {
            ++m_resume.actesDifferents;
            m_dernierActeDifferent = acte;
        }
        QStringList membresVus;
        for (const LigneDifference& ligne : lignes) {
            if (membresVus.contains(ligne.membre))
                continue;
            membresVus.append(ligne.membre);
            auto trouve = m_indexMembres.constFind(ligne.membre);
            if (trouve == m_indexMembres.cend()) {
                trouve = m_indexMembres.insert(ligne.membre, m_resume.parMembre.size());
                m_resume.parMembre.append({ligne.membre, 0, 0});
            }
            DifferencesMembre& membre = m_resume.parMembre[*trouve];
            ++membre.commandes;
            QString& acteCompte = m_dernierActeMembre[ligne.membre];
            if (!acte.isEmpty() && acteCompte != acte) {
                ++membre.actes;
                acteCompte = acte;
            }
        }
    }

    // The two runs did not end with the same status.
    void finDifferente() { ++m_resume.differences; }

    const ResumeComparaison& resume() const { return m_resume; }

private:
    ResumeComparaison m_resume;
    QHash<QString, qsizetype> m_indexMembres;
    QHash<QString, QString> m_dernierActeMembre;
    QString m_dernierActe;
    QString m_dernierActeDifferent;
};

// ---- The summary

QString texteStatutsFin(const Appariement& appariement)
{
    return (appariement.genreFin() == &Genre::finBalayage ? QStringLiteral("Fin du balayage")
                                                          : QStringLiteral("Fin du scénario")) +
           QStringLiteral("\n  statut\t%1\t%2\n")
               .arg(texteJson(appariement.statutA()), texteJson(appariement.statutB()));
}

QString texteResume(const ResumeComparaison& resume)
{
    if (resume.differences == 0) {
        const QString actes = resume.actes > 0 ? QStringLiteral(", %1 acte(s)").arg(resume.actes) : QString();
        return QStringLiteral("Aucune différence sur %1 %2%3.\n")
            .arg(resume.commandes)
            .arg(uniteBlocs(resume), actes);
    }
    QString texte;
    if (!resume.parMembre.isEmpty())
        texte += QStringLiteral("Différences par membre :\n");
    for (const DifferencesMembre& membre : resume.parMembre) {
        texte +=
            QStringLiteral("  %1\t%2 %3").arg(membre.membre).arg(membre.commandes).arg(uniteBlocs(resume));
        if (resume.actes > 0)
            texte += QStringLiteral("\t%1 acte(s)").arg(membre.actes);
        texte += QLatin1Char('\n');
    }
    return texte + bilanComparaison(resume) + QStringLiteral(".\n");
}

// ---- The output

QString titreCommande(int numero, const BlocCommande& bloc)
{
    QString titre = (bloc.appel ? QStringLiteral("Appel %1 : %2") : QStringLiteral("Commande %1 : %2"))
                        .arg(numero)
                        .arg(bloc.bouton);
    if (!bloc.acte.isEmpty())
        titre += QStringLiteral(" — ") + bloc.acte;
    else if (bloc.ligneScenario > 0)
        titre += QStringLiteral(" (ligne %1)").arg(bloc.ligneScenario);
    return titre;
}

// The text report, kept in a temporary file until both journals are known to pair, and the HTML page.
class SortieComparaison
{
public:
    // `cheminHtml` empty: no page.
    bool ouvrir(const QString& cheminHtml, QString& erreur)
    {
        if (!m_texte.open()) {
            erreur = m_texte.errorString();
            return false;
        }
        if (cheminHtml.isEmpty())
            return true;
        m_rapport = std::make_unique<RapportHtml>(cheminHtml);
        return m_rapport->commencer(erreur);
    }

    void ecrireCommande(const QString& titre, const QString& acte, const QList<LigneDifference>& lignes)
    {
        QString bloc = titre + QLatin1Char('\n');
        for (const LigneDifference& ligne : lignes)
            bloc += QStringLiteral("  ") + ligne.libelle + QLatin1Char('\t') + ligne.texteA +
                    QLatin1Char('\t') + ligne.texteB + QLatin1Char('\n');
        ecrireTexte(bloc);
        if (m_rapport)
            m_rapport->ajouterCommande(acte.isEmpty() ? titre : acte, titre, lignes);
    }

    void ecrireTexte(const QString& texte) { m_texte.write(texte.toUtf8()); }

    bool terminer(const ResumeComparaison& resume, QString& erreur)
    {
        return !m_rapport || m_rapport->terminer(resume, erreur);
    }

    // Whole lines at a time, so no character is cut between two pieces.
    void transmettre(const std::function<void(const QString&)>& ecrire)
    {
        m_texte.seek(0);
        while (!m_texte.atEnd()) {
            QByteArray morceau = m_texte.read(1 << 16);
            if (!morceau.endsWith('\n'))
                morceau += m_texte.readLine();
            ecrire(QString::fromUtf8(morceau));
        }
    }

private:
    QTemporaryFile m_texte;
    std::unique_ptr<RapportHtml> m_rapport;
};

} // namespace

ComparaisonFlux::ComparaisonFlux(OptionsComparaison options)
    : m_options(std::move(options))
{}

IssueComparaison ComparaisonFlux::comparer(QIODevice& journalA, const QString& nomA, QIODevice& journalB,
                                           const QString& nomB,
                                           const std::function<void(const QString&)>& ecrire, QString& erreur)
{
    return comparer({{&journalA, nomA}}, nomA, {{&journalB, nomB}}, nomB, ecrire, erreur);
}

IssueComparaison ComparaisonFlux::comparer(const QList<SourceJournal>& journauxA, const QString& nomA,
                                           const QList<SourceJournal>& journauxB, const QString& nomB,
                                           const std::function<void(const QString&)>& ecrire, QString& erreur)
{
    SortieComparaison sortie;
    if (!sortie.ouvrir(m_options.rapportHtml, erreur))
        return IssueComparaison::NonAppariables;
    Appariement appariement(journauxA, journauxB);
    Decompte decompte(nomA, nomB, m_options.ignores);
    for (;;) {
        const Appariement::Issue issue = appariement.suivante(erreur);
        if (issue == Appariement::Issue::NonAppariables)
            return IssueComparaison::NonAppariables;
        if (issue == Appariement::Issue::Fin)
            break;
        const BlocCommande& a = appariement.a();
        const BlocCommande& b = appariement.b();
        const BlocCommande& present = appariement.present();
        decompte.commande(present);
        // Most commands of two runs are the same bytes once their times are set aside: no parsing then.
        if (a.evenements == b.evenements)
            continue;
        const QList<LigneDifference> lignes = comparerCommande(a.evenements, b.evenements, m_options.ignores);
        if (lignes.isEmpty())
            continue;
        decompte.differences(present.acte, lignes);
        sortie.ecrireCommande(titreCommande(decompte.resume().commandes, present), present.acte, lignes);
    }

    if (appariement.statutA() != appariement.statutB()) {
        decompte.finDifferente();
        sortie.ecrireTexte(texteStatutsFin(appariement));
    }
    sortie.ecrireTexte(texteResume(decompte.resume()));
    if (!sortie.terminer(decompte.resume(), erreur))
        return IssueComparaison::NonAppariables;
    sortie.transmettre(ecrire);
    return decompte.resume().differences == 0 ? IssueComparaison::Identiques : IssueComparaison::Differents;
}
