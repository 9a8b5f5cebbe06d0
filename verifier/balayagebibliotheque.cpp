#include "balayagebibliotheque.h"

#include "appelsjournalises.h"
#include "balayagetarvo.h"
#include "echec.h"
#include "journalappels.h"
#include "optionsverifier.h"
#include "progressionbalayage.h"
#include "rapportverification.h"
#include "sequencetarvo.h"
#include "sortieconsole.h"
#include "suivisuperviseurjournal.h"
#include "superviseurbalayage.h"
#include "tarvo.h"
#include "travailleur.h"
#include "verification.h"
#include "vocabulairejournal.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <optional>

namespace {

// Beyond these the report names only how many more there are: the journal names them all.
constexpr int horsContratMontres = 20;
// Crashes or hangs in a row, no act answered between them, after which the component is given up.
constexpr int pannesDeSuite = 5;

// The worker's messages: one line each, its fields separated by tabs, none of which a field holds.
QByteArray champMessage(const QString& texte)
{
    QString propre = texte;
    propre.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return propre.toUtf8();
}

QStringList champsMessage(QByteArrayView reste)
{
    return QString::fromUtf8(reste).split(QLatin1Char('\t'));
}

// ---- The worker: the library loaded in its own process, its journal and messages on the standard output

class SuiviTravailleur final : public SuiviBalayageTarvo
{
public:
    SuiviTravailleur(const AppelsSequence& appels, JournalAppels& journal)
        : m_appels(appels)
        , m_journal(journal)
    {}

    void connexion(qint32 resultat) override
    {
        const QString raison = resultat <= 0 ? raisonConnexionTarvo() : QString();
        ecrire("#connexion " + QByteArray::number(resultat) + '\t' + champMessage(m_appels.fichierCharge()) +
               '\t' + champMessage(raison));
    }

    void debutActe(const QString& code) override { m_journal.etiqueter({{Champ::acte, code}}); }

    void finActe(qsizetype) override
    {
        m_journal.etiqueter({});
        ecrire("#fin");
    }

    void anomalie(const QString& code, const QString& description) override
    {
        ecrire("#anomalie " + champMessage(code) + '\t' + champMessage(description));
    }

    // Among the journal's lines, so that the supervisor reads both in the order they were written.
    void ecrire(const QByteArray& message) { m_journal.ajouter(message + '\n'); }

private:
    const AppelsSequence& m_appels;
    JournalAppels& m_journal;
};

// ---- The supervisor: the journal, the progress and the report, whatever becomes of the worker

class SuiviSuperviseurVerifier final : public SuiviSuperviseurJournal
{
public:
    SuiviSuperviseurVerifier(const ParametresBalayageTarvo& parametres, JournalAppels* journal,
                             RapportVerification& rapport, int delaiAppelS)
        : SuiviSuperviseurJournal(journal, parametres.codes, delaiAppelS)
        , m_parametres(parametres)
        , m_rapport(rapport)
        , m_progression(parametres.codes.size())
    {}

    bool message(QByteArrayView mot, QByteArrayView reste) override
    {
        const QStringList champs = champsMessage(reste);
        if (mot == "connexion" && !m_connexion) {
            // Only the first worker's is reported: a fresh one connects the same way.
            m_connexion = champs.value(0).toInt();
            m_rapport.balayage(champs.value(1), m_parametres.codes.size(), BalayageTarvo::pointsEntree(),
                               m_parametres.dateReference, m_parametres.grilleTarifaire);
            m_rapport.appel(QStringLiteral("Connection_Tarvo"), *m_connexion);
            if (*m_connexion <= 0 && !champs.value(2).isEmpty())
                m_rapport.raisonConnexion(champs.value(2));
        } else if (mot == "anomalie") {
            ++m_anomalies;
            if (m_horsContrat.size() < horsContratMontres)
                m_horsContrat.append({champs.value(0), champs.value(1)});
            else
                ++m_autres;
        } else if (mot == "echec") {
            m_echec = Echec(champs.value(0).toInt(), champs.value(1));
            return false;
        }
        return true;
    }

    void finActe(qsizetype, qsizetype faits) override { m_progression.avancer(faits); }

    // Once the sweep is over, so that no line cuts through the bar.
    void terminer()
    {
        m_progression.terminer();
        for (const auto& [code, description] : std::as_const(m_horsContrat))
            m_rapport.horsContrat(code, description);
        if (m_autres > 0)
            m_rapport.autresHorsContrat(m_autres);
        for (const QString& panne : pannes())
            SortieConsole::ecrireLigne(stdout, panne);
    }

    std::optional<qint32> connexion() const { return m_connexion; }
    int anomalies() const { return m_anomalies; }
    const std::optional<Echec>& echec() const { return m_echec; }
    void echouer(const Echec& echec) { m_echec = echec; }

private:
    const ParametresBalayageTarvo& m_parametres;
    RapportVerification& m_rapport;
    ProgressionBalayage m_progression;
    std::optional<qint32> m_connexion;
    int m_anomalies = 0;
    QList<std::pair<QString, QString>> m_horsContrat;
    int m_autres = 0;
    std::optional<Echec> m_echec;
};

void consignerDebut(JournalAppels& journal, const ParametresBalayageTarvo& parametres)
{
    journal.consigner(Genre::debut,
                      {{Champ::programme, QCoreApplication::applicationName()},
                       {Champ::arguments, QJsonArray::fromStringList(QCoreApplication::arguments())},
                       {Champ::base, qEnvironmentVariable("BANC_CCAM_BASE")}});
    journal.consigner(Genre::balayage,
                      {{Champ::pointsEntree, QJsonArray::fromStringList(BalayageTarvo::pointsEntree())},
                       {Champ::date, parametres.dateReference},
                       {Champ::grille, parametres.grilleTarifaire},
                       {Champ::actes, parametres.codes.size()}});
}

} // namespace

int executerTravailleurBalayage(const OptionsVerifier& options)
{
    preparerTravailleur();
    if (!options.cheminBibliotheque.isEmpty())
        tarvo::definirCheminBibliotheque(options.cheminBibliotheque);
    QString erreur;
    std::unique_ptr<JournalAppels> journal = JournalAppels::ouvrir(QStringLiteral("-"), erreur);
    if (!journal) {
        SortieConsole::ecrireLigne(stderr, erreur);
        return StatutVerification::NonVerifiee;
    }
    journal->retenirJusquAuxAnnonces();
    AppelsJournalises appels(appelsTarvo(), *journal);
    SuiviTravailleur suivi(appels, *journal);
    BalayageTarvo balayage({{}, options.dateReference, options.grilleTarifaire}, appels, suivi);
    try {
        balayage.connecter();
        char ligne[256];
        while (std::fgets(ligne, sizeof ligne, stdin) != nullptr) {
            const QString code = QString::fromUtf8(ligne).trimmed();
            if (!code.isEmpty())
                balayage.balayerActe(code);
        }
        balayage.deconnecter();
    } catch (const Echec& e) {
        suivi.ecrire("#echec " + QByteArray::number(e.numero()) + '\t' + champMessage(e.description()));
        journal->vider();
        return StatutVerification::NonVerifiee;
    } catch (const std::exception& e) {
        suivi.ecrire("#echec " + QByteArray::number(Echec::ErreurInterne) + '\t' +
                     champMessage(QString::fromUtf8(e.what())));
        journal->vider();
        return StatutVerification::NonVerifiee;
    }
    journal->vider();
    return StatutVerification::Reussie;
}

int executerBalayage(const OptionsVerifier& options, const QStringList& codes, JournalAppels* journal,
                     RapportVerification& rapport)
{
    const ParametresBalayageTarvo parametres{codes, options.dateReference, options.grilleTarifaire};
    if (journal)
        consignerDebut(*journal, parametres);

    QStringList arguments{QStringLiteral("--travailleur"), QStringLiteral("--date"), options.dateReference,
                          QStringLiteral("--grille"), options.grilleTarifaire};
    if (!options.cheminBibliotheque.isEmpty())
        arguments << QStringLiteral("--bibliotheque") << options.cheminBibliotheque;
    SuiviSuperviseurVerifier suivi(parametres, journal, rapport, options.delaiAppelS);
    SuperviseurBalayage superviseur(
        {QCoreApplication::applicationFilePath(), arguments, codes, options.delaiAppelS, pannesDeSuite},
        suivi);
    {
        const ArretBalayage arret;
        superviseur.executer(arret.demande());
    }
    if (!superviseur.erreurDemarrage().isEmpty())
        suivi.echouer(Echec(Echec::ErreurInterne, QStringLiteral("le processus de balayage n'a pas pu "
                                                                 "démarrer : %1")
                                                      .arg(superviseur.erreurDemarrage())));
    suivi.terminer();

    const std::optional<Echec>& echec = suivi.echec();
    const bool connecte = suivi.connexion().value_or(0) > 0;
    const int pannes = superviseur.plantages() + superviseur.blocages();
    int statut = StatutVerification::Reussie;
    if (echec)
        statut = StatutVerification::NonVerifiee;
    else if (!connecte || suivi.anomalies() > 0 || pannes > 0 || superviseur.interrompu())
        statut = StatutVerification::BalayageNonConforme;
    if (journal) {
        journal->consigner(Genre::finBalayage, {{Champ::statut, statut},
                                                {Champ::actes, superviseur.actesFaits()},
                                                {Champ::echecs, echec ? 1 : 0},
                                                {Champ::interrompu, superviseur.interrompu()},
                                                {Champ::anomalies, suivi.anomalies()},
                                                {Champ::plantages, superviseur.plantages()},
                                                {Champ::blocages, superviseur.blocages()}});
    }

    if (echec)
        rapport.impossible(echec->numero(), echec->description());
    if (superviseur.abandonne())
        SortieConsole::ecrireLigne(stderr, suivi.texteAbandon(pannesDeSuite, QStringLiteral("la connexion")));
    if (!echec && suivi.connexion() && !connecte)
        rapport.balayageEchoue(*suivi.connexion());
    if (statut == StatutVerification::Reussie)
        rapport.reussie();
    if (journal && !journal->complet())
        SortieConsole::ecrireLigne(
            stderr, QStringLiteral("Le journal est incomplet : une ligne n'a pas pu être écrite."));
    rapport.finBalayage({superviseur.actesFaits(), codes.size(), suivi.anomalies(), echec ? 1 : 0,
                         superviseur.plantages(), superviseur.blocages(), superviseur.interrompu()});
    return statut;
}
