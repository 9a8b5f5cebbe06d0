#include "controlejournalise.h"

#include "evenementsjournal.h"
#include "journalappels.h"
#include "tablemembres.h"

#include <QString>

namespace {

QJsonObject champsAcces(qint32 dispId, const char* acces)
{
    return {{QStringLiteral("membre"), nomMembre(dispId)},
            {QStringLiteral("dispid"), QStringLiteral("0x") + QString::number(quint32(dispId), 16).toUpper()},
            {QStringLiteral("acces"), QLatin1String(acces)}};
}

// Runs the call, then writes its event with its duration and either its answer or its failure; the
// failure goes on to the caller.
template<typename Appel>
auto journaliser(JournalAppels& journal, QJsonObject champs, Appel&& appel, const QString& champRetour = {})
{
    const Chronometre chrono;
    try {
        auto resultat = appel();
        champs.insert(QStringLiteral("duree_us"), chrono.microsecondes());
        if (!champRetour.isEmpty())
            champs.insert(champRetour, valeurJson(resultat));
        journal.consigner(QStringLiteral("controle"), champs);
        return resultat;
    } catch (...) {
        champs.insert(QStringLiteral("duree_us"), chrono.microsecondes());
        champs.insert(QStringLiteral("echec"), echecJson(std::current_exception()));
        journal.consigner(QStringLiteral("controle"), champs);
        throw;
    }
}

} // namespace

ControleJournalise::ControleJournalise(std::unique_ptr<ControleDispatch> controle, JournalAppels& journal)
    : m_controle(std::move(controle))
    , m_journal(journal)
{}

ControleJournalise::~ControleJournalise() = default;

void ControleJournalise::ecrire(qint32 dispId, const QVariant& valeur)
{
    QJsonObject champs = champsAcces(dispId, "ecriture");
    champs.insert(QStringLiteral("par_reference"), false);
    champs.insert(QStringLiteral("valeur"), valeurJson(valeur));
    journaliser(m_journal, champs, [&] {
        m_controle->ecrire(dispId, valeur);
        return QVariant();
    });
}

void ControleJournalise::ecrireParReference(qint32 dispId, QVariant& valeur)
{
    QJsonObject champs = champsAcces(dispId, "ecriture");
    champs.insert(QStringLiteral("par_reference"), true);
    champs.insert(QStringLiteral("valeur"), valeurJson(valeur));
    // What the control left in the caller's variable, which may differ from what it was handed.
    journaliser(
        m_journal, champs,
        [&] {
            m_controle->ecrireParReference(dispId, valeur);
            return valeur;
        },
        QStringLiteral("retour"));
}

QVariant ControleJournalise::lire(qint32 dispId)
{
    return journaliser(
        m_journal, champsAcces(dispId, "lecture"), [&] { return m_controle->lire(dispId); },
        QStringLiteral("retour"));
}

QVariant ControleJournalise::appeler(qint32 dispId)
{
    return journaliser(
        m_journal, champsAcces(dispId, "appel"), [&] { return m_controle->appeler(dispId); },
        QStringLiteral("retour"));
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
