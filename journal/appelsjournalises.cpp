#include "appelsjournalises.h"

#include "enregistrements.h"
#include "evenementsjournal.h"
#include "journalappels.h"
#include "tableautenu.h"
#include "vocabulairejournal.h"

#include <QDir>
#include <QJsonArray>

namespace {

// The records the array really holds, each a list of its texts. Read the way the sequence reads them:
// from the array's own bounds, never from the count the library returned.
QJsonArray enregistrements(const TableauAuto* tableau)
{
    QJsonArray lignes;
    if (tableau == nullptr || tableau->nombreDimensions != 1 || tableau->donnees == nullptr ||
        tableau->tailleElement == 0 || tableau->tailleElement % sizeof(TexteAuto) != 0)
        return lignes;
    const std::size_t champs = tableau->tailleElement / sizeof(TexteAuto);
    const auto* textes = static_cast<const TexteAuto*>(tableau->donnees);
    for (uint32_t i = 0; i < tableau->bornes[0].nombre; ++i) {
        QJsonArray ligne;
        for (std::size_t c = 0; c < champs; ++c) {
            const TexteAuto texte = textes[i * champs + c];
            ligne.append(texte == nullptr ? QString() : QString::fromUtf16(texte, texteAutoLongueur(texte)));
        }
        lignes.append(ligne);
    }
    return lignes;
}

// How an array argument shows among the arguments: the number of records it holds on entry.
QJsonObject tableauEntree(const TableauAuto* tableau)
{
    return {{Champ::tableau, tableau == nullptr ? 0 : qint64{tableau->bornes[0].nombre}}};
}

// The array argument of a call, with the size of the records the entry point delivers.
struct TableauAppel
{
    TableauAuto* const* variable = nullptr;
    uint32_t tailleEnregistrement = 0;
};

template<typename Appel>
qint32 journaliser(JournalAppels& journal, const std::function<void()>& apresChargement,
                   const char* pointEntree, const QJsonArray& arguments, TableauAppel tableau, Appel&& appel)
{
    // Announced first, so that a call that never returns is still named.
    journal.consigner(Genre::appel, {{Champ::pointEntree, QLatin1String(pointEntree)}});
    QJsonObject champs{{Champ::pointEntree, QLatin1String(pointEntree)}, {Champ::arguments, arguments}};
    const Chronometre chrono;
    try {
        const qint32 resultat = appel();
        apresChargement();
        champs.insert(Champ::dureeUs, chrono.microsecondes());
        champs.insert(Champ::resultat, resultat);
        if (tableau.variable != nullptr) {
            champs.insert(Champ::enregistrements, enregistrements(*tableau.variable));
            // Recorded as such, so that a release that starts breaking the contract shows in a comparison.
            const QString rupture = contratRompu(QLatin1String(pointEntree), resultat, *tableau.variable,
                                                 tableau.tailleEnregistrement);
            if (!rupture.isEmpty())
                champs.insert(Champ::anomalie, rupture);
        }
        journal.consigner(Genre::bibliotheque, champs);
        return resultat;
    } catch (...) {
        apresChargement();
        champs.insert(Champ::dureeUs, chrono.microsecondes());
        champs.insert(Champ::echec, echecJson(std::current_exception()));
        journal.consigner(Genre::bibliotheque, champs);
        throw;
    }
}

} // namespace

AppelsJournalises::AppelsJournalises(AppelsSequence& appels, JournalAppels& journal)
    : m_appels(appels)
    , m_journal(journal)
    , m_signalerChargement([this] {
        // Once, when the first call has loaded the file: which copy answered, in full.
        if (m_chargementSignale || m_appels.fichierCharge().isEmpty())
            return;
        m_chargementSignale = true;
        m_journal.consigner(Genre::bibliotheque,
                            {{Champ::chargement, QDir::toNativeSeparators(m_appels.fichierCharge())}});
    })
{}

qint32 AppelsJournalises::Connection_Tarvo(qint32 reserve1, qint32 reserve2, qint32 reserve3,
                                           const QString& repertoire)
{
    return journaliser(m_journal, m_signalerChargement, "Connection_Tarvo",
                       {reserve1, reserve2, reserve3, repertoire}, {},
                       [&] { return m_appels.Connection_Tarvo(reserve1, reserve2, reserve3, repertoire); });
}

qint32 AppelsJournalises::ListeModificateurs_Tarvo(TableauAuto*& liste)
{
    return journaliser(m_journal, m_signalerChargement, "ListeModificateurs_Tarvo", {tableauEntree(liste)},
                       {&liste, sizeof(EnregistrementListe)},
                       [&] { return m_appels.ListeModificateurs_Tarvo(liste); });
}

qint32 AppelsJournalises::GetPrixUnitaireActeSupplement_Tarvo(const QString& code, qint32 activite,
                                                              qint32 phase, const QString& date,
                                                              const QString& grille, TableauAuto*& prix)
{
    return journaliser(
        m_journal, m_signalerChargement, "GetPrixUnitaireActeSupplement_Tarvo",
        {code, activite, phase, date, grille, tableauEntree(prix)}, {&prix, sizeof(EnregistrementPrix)}, [&] {
            return m_appels.GetPrixUnitaireActeSupplement_Tarvo(code, activite, phase, date, grille, prix);
        });
}

qint32 AppelsJournalises::GetPriseEnCharge_Tarvo(const QString& code, const QString& date,
                                                 TableauAuto*& priseEnCharge)
{
    return journaliser(m_journal, m_signalerChargement, "GetPriseEnCharge_Tarvo",
                       {code, date, tableauEntree(priseEnCharge)},
                       {&priseEnCharge, sizeof(EnregistrementPriseEnCharge)},
                       [&] { return m_appels.GetPriseEnCharge_Tarvo(code, date, priseEnCharge); });
}

qint32 AppelsJournalises::ListeCodeIncompatibilitesActe_Tarvo(const QString& code, TableauAuto*& liste)
{
    return journaliser(m_journal, m_signalerChargement, "ListeCodeIncompatibilitesActe_Tarvo",
                       {code, tableauEntree(liste)}, {&liste, sizeof(EnregistrementListe)},
                       [&] { return m_appels.ListeCodeIncompatibilitesActe_Tarvo(code, liste); });
}

qint32 AppelsJournalises::ListeCodeAssociationActe_Tarvo(const QString& code, qint32 activite,
                                                         TableauAuto*& liste)
{
    return journaliser(m_journal, m_signalerChargement, "ListeCodeAssociationActe_Tarvo",
                       {code, activite, tableauEntree(liste)}, {&liste, sizeof(EnregistrementListe)},
                       [&] { return m_appels.ListeCodeAssociationActe_Tarvo(code, activite, liste); });
}

qint32 AppelsJournalises::DeConnection_Tarvo()
{
    return journaliser(m_journal, m_signalerChargement, "DeConnection_Tarvo", {}, {},
                       [&] { return m_appels.DeConnection_Tarvo(); });
}
