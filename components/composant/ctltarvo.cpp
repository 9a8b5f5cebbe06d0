#include "ctltarvo.h"

#include "echec.h"
#include "fabriquectltarvo.h"

CtlTarvo::CtlTarvo(QWidget* fenetre)
    : m_fenetre(fenetre)
{}

void CtlTarvo::ecrire(qint32 dispId, const QVariant& valeur)
{
    m_proprietes.insert(dispId, valeur);
}

void CtlTarvo::ecrireParReference(qint32 dispId, QVariant& valeur)
{
    m_proprietes.insert(dispId, valeur);
}

QVariant CtlTarvo::lire(qint32 dispId)
{
    return m_proprietes.value(dispId, QString());
}

QVariant CtlTarvo::appeler(qint32 dispId)
{
    throw Echec(
        Echec::EchecComposant,
        QStringLiteral("Membre 0x%1 pas encore disponible").arg(quint32(dispId), 8, 16, QLatin1Char('0')));
}

std::unique_ptr<ControleDispatch> creerCtlTarvo(QWidget* fenetre)
{
    return std::make_unique<CtlTarvo>(fenetre);
}
