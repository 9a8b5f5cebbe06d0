#pragma once

#include "controledispatch.h"
#include "ctltarvo.h"

// Our component as the COM server hosts it, for any client: its store found beside the server's own file
// (a script host runs from the system's folder), and Qt's widgets brought up before the dialog needs them.
class CtlTarvoHeberge final : public ControleDispatch
{
public:
    CtlTarvoHeberge();

    void ecrire(qint32 dispId, const QVariant& valeur) override;
    void ecrireParReference(qint32 dispId, QVariant& valeur) override;
    QVariant lire(qint32 dispId) override;
    QVariant appeler(qint32 dispId) override;
    void observerEvenements(ObservateurEvenements observateur) override;

private:
    CtlTarvo m_ctl;
};
