#include "balayagetarvo.h"

#include "enregistrements.h"
#include "sequencetarvo.h"
#include "tableautenu.h"

namespace {

constexpr const char* prix = "GetPrixUnitaireActeSupplement_Tarvo";
constexpr const char* priseEnCharge = "GetPriseEnCharge_Tarvo";
constexpr const char* incompatibilites = "ListeCodeIncompatibilitesActe_Tarvo";
constexpr const char* associations = "ListeCodeAssociationActe_Tarvo";

} // namespace

BalayageTarvo::BalayageTarvo(ParametresBalayageTarvo parametres, AppelsSequence& appels,
                             SuiviBalayageTarvo& suivi)
    : m_parametres(std::move(parametres))
    , m_appels(appels)
    , m_suivi(suivi)
{}

BalayageTarvo::~BalayageTarvo() = default;

QStringList BalayageTarvo::pointsEntree()
{
    return {QLatin1String(prix), QLatin1String(priseEnCharge), QLatin1String(incompatibilites),
            QLatin1String(associations)};
}

void BalayageTarvo::controlerContrat(const QString& code, const char* pointEntree, qint32 resultat,
                                     const TableauTenu& tableau)
{
    const QString rupture =
        contratRompu(QLatin1String(pointEntree), resultat, tableau.tableau(), tableau.tailleEnregistrement());
    if (rupture.isEmpty())
        return;
    ++m_anomalies;
    m_suivi.anomalie(code, rupture);
}

struct BalayageTarvo::Tableaux
{
    TableauTenu prix{sizeof(EnregistrementPrix)};
    TableauTenu priseEnCharge{sizeof(EnregistrementPriseEnCharge)};
    TableauTenu liste{sizeof(EnregistrementListe)};
};

void BalayageTarvo::connecter()
{
    m_tableaux = std::make_unique<Tableaux>();
    m_connexion = m_appels.Connection_Tarvo(0, 1, 0, valeursFixesSequence().repertoireConnexion);
    m_suivi.connexion(m_connexion);
}

void BalayageTarvo::balayerActe(const QString& code)
{
    const QString& date = m_parametres.dateReference;
    TableauTenu& tableauPrix = m_tableaux->prix;
    TableauTenu& tableauPriseEnCharge = m_tableaux->priseEnCharge;
    TableauTenu& liste = m_tableaux->liste;
    m_suivi.debutActe(code);
    tableauPrix.reinitialiser();
    controlerContrat(code, prix,
                     m_appels.GetPrixUnitaireActeSupplement_Tarvo(
                         code, 1, 0, date, m_parametres.grilleTarifaire, tableauPrix.variable()),
                     tableauPrix);
    tableauPriseEnCharge.reinitialiser();
    controlerContrat(code, priseEnCharge,
                     m_appels.GetPriseEnCharge_Tarvo(code, date, tableauPriseEnCharge.variable()),
                     tableauPriseEnCharge);
    liste.reinitialiser();
    controlerContrat(code, incompatibilites,
                     m_appels.ListeCodeIncompatibilitesActe_Tarvo(code, liste.variable()), liste);
    controlerContrat(code, associations, m_appels.ListeCodeAssociationActe_Tarvo(code, 1, liste.variable()),
                     liste);
    ++m_actesFaits;
    m_suivi.finActe(m_actesFaits);
}

void BalayageTarvo::deconnecter()
{
    m_appels.DeConnection_Tarvo();
    m_tableaux.reset();
}

void BalayageTarvo::executer(const volatile std::sig_atomic_t* arret)
{
    connecter();
    for (const QString& code : std::as_const(m_parametres.codes)) {
        if (arret && *arret) {
            m_interrompu = true;
            break;
        }
        balayerActe(code);
    }
    deconnecter();
}
