#pragma once

#include "controletarvo.h"

#include <QHash>

class QWidget;

// Our act-selection component. Written properties are kept until the next write.
class CtlTarvo final : public ControleDispatch
{
public:
    explicit CtlTarvo(QWidget* fenetre);

    void ecrire(qint32 dispId, const QVariant& valeur) override;
    void ecrireParReference(qint32 dispId, QVariant& valeur) override;
    QVariant lire(qint32 dispId) override;
    QVariant appeler(qint32 dispId) override;

private:
    QWidget* m_fenetre;
    QHash<qint32, QVariant> m_proprietes;
};
