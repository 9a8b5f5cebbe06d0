#include "ctltarvoheberge.h"

#include "applicationgraphique.h"
#include "magasinccam.h"
#include "repertoirebibliotheque.h"
#include "tablemembres.h"

CtlTarvoHeberge::CtlTarvoHeberge()
    : m_ctl(nullptr, MagasinCcam::cheminParDefaut(repertoireBibliotheque()))
{}

void CtlTarvoHeberge::ecrire(qint32 dispId, const QVariant& valeur)
{
    m_ctl.ecrire(dispId, valeur);
}

void CtlTarvoHeberge::ecrireParReference(qint32 dispId, QVariant& valeur)
{
    m_ctl.ecrireParReference(dispId, valeur);
}

QVariant CtlTarvoHeberge::lire(qint32 dispId)
{
    return m_ctl.lire(dispId);
}

QVariant CtlTarvoHeberge::appeler(qint32 dispId)
{
    if (dispId == DispId::SelectionActe)
        assurerApplicationGraphique();
    return m_ctl.appeler(dispId);
}

void CtlTarvoHeberge::observerEvenements(ObservateurEvenements observateur)
{
    m_ctl.observerEvenements(std::move(observateur));
}
