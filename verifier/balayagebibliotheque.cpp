#include "balayagebibliotheque.h"

#include "balayagetarvo.h"
#include "echec.h"
#include "journalappels.h"
#include "optionsverifier.h"
#include "progressionbalayage.h"
#include "rapportverification.h"
#include "sequencetarvo.h"
#include "sortieconsole.h"
#include "tarvo.h"
#include "verification.h"
#include "vocabulairejournal.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <optional>

namespace {

// Beyond these the report names only how many more there are: the journal names them all.
constexpr int horsContratMontres = 20;

class SuiviVerifier final : public SuiviBalayageTarvo
{
public:
    SuiviVerifier(const ParametresBalayageTarvo& parametres, const AppelsSequence& appels,
                  JournalAppels* journal, RapportVerification& rapport)
        : m_parametres(parametres)
        , m_appels(appels)
        , m_journal(journal)
        , m_rapport(rapport)
        , m_progression(parametres.codes.size())
    {}

    void connexion(qint32 resultat) override
    {
        // Only now is the library loaded, and its file known.
        m_rapport.balayage(m_appels.fichierCharge(), m_parametres.codes.size(), BalayageTarvo::pointsEntree(),
                           m_parametres.dateReference, m_parametres.grilleTarifaire);
        m_rapport.appel(QStringLiteral("Connection_Tarvo"), resultat);
        if (resultat <= 0) {
            const QString raison = raisonConnexionTarvo();
            if (!raison.isEmpty())
                m_rapport.raisonConnexion(raison);
        }
    }

    void debutActe(const QString& code) override
    {
        if (m_journal)
            m_journal->etiqueter({{Champ::acte, code}});
    }

    void finActe(qsizetype faits) override
    {
        if (m_journal)
            m_journal->etiqueter({});
        m_progression.avancer(faits);
    }

    void anomalie(const QString& code, const QString& description) override
    {
        if (m_horsContrat.size() < horsContratMontres)
            m_horsContrat.append({code, description});
        else
            ++m_autres;
    }

    // Once the sweep is over, so that no line cuts through the bar.
    void terminer()
    {
        if (m_journal)
            m_journal->etiqueter({});
        m_progression.terminer();
        for (const auto& [code, description] : std::as_const(m_horsContrat))
            m_rapport.horsContrat(code, description);
        if (m_autres > 0)
            m_rapport.autresHorsContrat(m_autres);
    }

private:
    const ParametresBalayageTarvo& m_parametres;
    const AppelsSequence& m_appels;
    JournalAppels* m_journal;
    RapportVerification& m_rapport;
    ProgressionBalayage m_progression;
    QList<std::pair<QString, QString>> m_horsContrat;
    int m_autres = 0;
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

int executerBalayage(const OptionsVerifier& options, const QStringList& codes, AppelsSequence& appels,
                     JournalAppels* journal, RapportVerification& rapport)
{
    if (!options.cheminBibliotheque.isEmpty())
        tarvo::definirCheminBibliotheque(options.cheminBibliotheque);
    const ParametresBalayageTarvo parametres{codes, options.dateReference, options.grilleTarifaire};
    if (journal)
        consignerDebut(*journal, parametres);

    SuiviVerifier suivi(parametres, appels, journal, rapport);
    BalayageTarvo balayage(parametres, appels, suivi);
    std::optional<Echec> echec;
    {
        const ArretBalayage arret;
        try {
            balayage.executer(arret.demande());
        } catch (const Echec& e) {
            echec = e;
        } catch (const std::exception& e) {
            echec = Echec(Echec::ErreurInterne, QString::fromUtf8(e.what()));
        }
    }
    suivi.terminer();

    int statut = StatutVerification::Reussie;
    if (echec)
        statut = StatutVerification::NonVerifiee;
    else if (balayage.connexion() <= 0 || balayage.anomalies() > 0 || balayage.interrompu())
        statut = StatutVerification::BalayageNonConforme;
    if (journal) {
        journal->consigner(Genre::finBalayage, {{Champ::statut, statut},
                                                {Champ::actes, balayage.actesFaits()},
                                                {Champ::echecs, echec ? 1 : 0},
                                                {Champ::interrompu, balayage.interrompu()},
                                                {Champ::anomalies, balayage.anomalies()}});
    }

    if (echec)
        rapport.impossible(echec->numero(), echec->description());
    rapport.finBalayage(balayage.actesFaits(), codes.size(), balayage.anomalies(), balayage.interrompu());
    if (!echec && balayage.connexion() <= 0)
        rapport.balayageEchoue(balayage.connexion());
    if (statut == StatutVerification::Reussie)
        rapport.reussie();
    if (journal && !journal->complet())
        SortieConsole::ecrireLigne(
            stderr, QStringLiteral("Le journal est incomplet : une ligne n'a pas pu être écrite."));
    return statut;
}
