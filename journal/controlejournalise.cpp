#include "controlejournalise.h"

#include "evenementsjournal.h"
#include "journalappels.h"
#include "tablemembres.h"
#include "vocabulairejournal.h"

#include <QJsonArray>
#include <QString>
#include <utility>

namespace {

QString hexa(qint32 dispId)
{
    return QStringLiteral("0x") + QString::number(quint32(dispId), 16).toUpper();
}

QJsonObject champsAcces(qint32 dispId, QLatin1String acces)
{
    return {{Champ::membre, nomMembre(dispId)}, {Champ::dispid, hexa(dispId)}, {Champ::acces, acces}};
}

// Announces the call, runs it, then writes its event with its duration and either its answer or its failure;
// the failure goes on to the caller. The announcement names a call that never returns.
template<typename Appel>
auto journaliser(JournalAppels& journal, QString& membreEnVol, QJsonObject champs, Appel&& appel,
                 QLatin1String champRetour = {})
{
    journal.consigner(Genre::appel, {{Champ::membre, champs.value(Champ::membre)},
                                     {Champ::acces, champs.value(Champ::acces)}});
    struct EnVol
    {
        QString& membre;
        QString avant;
        ~EnVol() { membre = avant; }
    } enVol{membreEnVol, std::exchange(membreEnVol, champs.value(Champ::membre).toString())};
    const Chronometre chrono;
    try {
        auto resultat = appel();
        champs.insert(Champ::dureeUs, chrono.microsecondes());
        if (!champRetour.isEmpty())
            champs.insert(champRetour, valeurJson(resultat));
        journal.consigner(Genre::controle, champs);
        return resultat;
    } catch (...) {
        champs.insert(Champ::dureeUs, chrono.microsecondes());
        champs.insert(Champ::echec, echecJson(std::current_exception()));
        journal.consigner(Genre::controle, champs);
        throw;
    }
}

} // namespace

ControleJournalise::ControleJournalise(std::unique_ptr<ControleDispatch> controle, JournalAppels& journal)
    : m_controle(std::move(controle))
    , m_journal(journal)
{
    for (const EtapeActivation& etape : m_controle->etapesToleres())
        m_journal.consigner(Genre::activation, {{Champ::etape, etape.etape},
                                                {Champ::resultat, hexa(etape.resultat)},
                                                {Champ::description, etape.description}});
    m_controle->observerEvenements([this](const EvenementControle& evenement) {
        consignerEvenement(evenement);
        if (m_observateur)
            m_observateur(evenement);
    });
    m_controle->observerBoitesNatives([this](const BoiteNative& boite) {
        consignerBoite(boite);
        if (m_observateurBoites)
            m_observateurBoites(boite);
    });
}

// The control goes with this object: nothing it fires while it closes reaches a journal that may be gone.
ControleJournalise::~ControleJournalise()
{
    m_controle->observerEvenements({});
    m_controle->observerBoitesNatives({});
}

// Written out at once, before the box is answered: a worker that holds its lines until the next
// announcement may not live to make it.
void ControleJournalise::consignerBoite(const BoiteNative& boite)
{
    QJsonObject champs{{Champ::titre, boite.titre},
                       {Champ::texte, boite.texte},
                       {Champ::boutons, QJsonArray::fromStringList(boite.boutons)},
                       {Champ::reponse, boite.reponse}};
    if (!m_membreEnVol.isEmpty())
        champs.insert(Champ::membre, m_membreEnVol);
    if (!m_journal.commandeEnCours().isEmpty())
        champs.insert(Champ::bouton, m_journal.commandeEnCours());
    m_journal.consigner(Genre::boiteNative, champs);
    m_journal.vider();
}

void ControleJournalise::repondreBoitesNatives(ChoixBoiteNative choix)
{
    m_controle->repondreBoitesNatives(std::move(choix));
}

void ControleJournalise::observerBoitesNatives(ObservateurBoites observateur)
{
    m_observateurBoites = std::move(observateur);
}

void ControleJournalise::consignerEvenement(const EvenementControle& evenement)
{
    QJsonObject champs{{Champ::evenement, evenement.nom}, {Champ::dispid, hexa(evenement.dispId)}};
    if (!evenement.membre.isEmpty())
        champs.insert(Champ::membre, evenement.membre);
    QJsonArray arguments;
    for (const auto& [nom, valeur] : evenement.arguments)
        arguments.append(QJsonObject{{Champ::nom, nom}, {Champ::valeur, valeurJson(valeur)}});
    if (!arguments.isEmpty())
        champs.insert(Champ::arguments, arguments);
    if (!m_journal.commandeEnCours().isEmpty())
        champs.insert(Champ::bouton, m_journal.commandeEnCours());
    m_journal.consigner(Genre::evenement, champs);
}

void ControleJournalise::observerEvenements(ObservateurEvenements observateur)
{
    m_observateur = std::move(observateur);
}

QList<EtapeActivation> ControleJournalise::etapesToleres() const
{
    return m_controle->etapesToleres();
}

void ControleJournalise::ecrire(qint32 dispId, const QVariant& valeur)
{
    QJsonObject champs = champsAcces(dispId, Valeur::ecriture);
    champs.insert(Champ::parReference, false);
    champs.insert(Champ::valeur, valeurJson(valeur));
    journaliser(m_journal, m_membreEnVol, champs, [&] {
        m_controle->ecrire(dispId, valeur);
        return QVariant();
    });
}

void ControleJournalise::ecrireParReference(qint32 dispId, QVariant& valeur)
{
    QJsonObject champs = champsAcces(dispId, Valeur::ecriture);
    champs.insert(Champ::parReference, true);
    champs.insert(Champ::valeur, valeurJson(valeur));
    // What the control left in the caller's variable, which may differ from what it was handed.
    journaliser(
        m_journal, m_membreEnVol, champs,
        [&] {
            m_controle->ecrireParReference(dispId, valeur);
            return valeur;
        },
        Champ::retour);
}

QVariant ControleJournalise::lire(qint32 dispId)
{
    return journaliser(
        m_journal, m_membreEnVol, champsAcces(dispId, Valeur::lecture),
        [&] { return m_controle->lire(dispId); }, Champ::retour);
}

QVariant ControleJournalise::appeler(qint32 dispId)
{
    return journaliser(
        m_journal, m_membreEnVol, champsAcces(dispId, Valeur::appel),
        [&] { return m_controle->appeler(dispId); }, Champ::retour);
}

FabriqueControle fabriqueJournalisee(FabriqueControle fabrique, JournalAppels& journal)
{
    return [fabrique = std::move(fabrique), &journal](QWidget* fenetre) -> std::unique_ptr<ControleDispatch> {
        std::unique_ptr<ControleDispatch> controle = fabrique ? fabrique(fenetre) : nullptr;
        if (!controle)
            return nullptr;
        return std::make_unique<ControleJournalise>(std::move(controle), journal);
    };
}

std::optional<qint32> ControleJournalise::identifiantParNom(const QString& nom)
{
    return m_controle->identifiantParNom(nom);
}
