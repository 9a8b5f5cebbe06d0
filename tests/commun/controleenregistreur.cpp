#include "controleenregistreur.h"

#include "echec.h"
#include "journaltest.h"
#include "tablemembres.h"

ControleEnregistreur::ControleEnregistreur(JournalTest* journal)
    : m_journal(journal)
{}

void ControleEnregistreur::ecrire(qint32 dispId, const QVariant& valeur)
{
    m_journal->ajouter(nomMembre(dispId) + QStringLiteral(" <- ") + formaterValeur(valeur));
    echouerSiDemande(dispId);
}

void ControleEnregistreur::ecrireParReference(qint32 dispId, QVariant& valeur)
{
    m_journal->ajouter(nomMembre(dispId) + QStringLiteral(" <-& ") + formaterValeur(valeur));
    echouerSiDemande(dispId);
}

QVariant ControleEnregistreur::lire(qint32 dispId)
{
    m_journal->ajouter(nomMembre(dispId) + QStringLiteral(" ->"));
    echouerSiDemande(dispId);
    return reponses.value(dispId, QString());
}

QVariant ControleEnregistreur::appeler(qint32 dispId)
{
    m_journal->ajouter(nomMembre(dispId) + QStringLiteral("()"));
    echouerSiDemande(dispId);
    return reponses.value(dispId);
}

void ControleEnregistreur::echouerSiDemande(qint32 dispId)
{
    if (echecs.contains(dispId))
        throw Echec(Echec::EchecComposant, QStringLiteral("Échec simulé de ") + nomMembre(dispId));
}

QString formaterValeur(const QVariant& valeur)
{
    if (valeur.typeId() == QMetaType::QString)
        return QLatin1Char('"') + valeur.toString() + QLatin1Char('"');
    return valeur.toString();
}
