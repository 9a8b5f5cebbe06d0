#pragma once

#include "contexteproprietes.h"
#include "controledispatch.h"

#include <memory>

class MagasinCcam;
class QWidget;

// Our act-selection component. Written properties are kept until the next write; the result
// properties and the query methods answer for the act of CodeActe in the context those properties
// describe at the moment of the read (see README.md for each member).
class CtlTarvo final : public ControleDispatch
{
public:
    // cheminBase empty: the store named by MagasinCcam::cheminParDefaut(), opened on first need.
    explicit CtlTarvo(QWidget* fenetre, QString cheminBase = {});
    ~CtlTarvo() override;

    void ecrire(qint32 dispId, const QVariant& valeur) override;
    void ecrireParReference(qint32 dispId, QVariant& valeur) override;
    QVariant lire(qint32 dispId) override;
    QVariant appeler(qint32 dispId) override;
    // SelectionTerminee once the dialog closes (tablemembres.h).
    void observerEvenements(ObservateurEvenements observateur) override;

private:
    const MagasinCcam& magasin();
    QString repondre(qint32 dispId);
    void selectionActe();

    QWidget* m_fenetre;
    QString m_cheminBase;
    std::unique_ptr<MagasinCcam> m_magasin;
    ProprietesEcrites m_proprietes;
    ObservateurEvenements m_observateur;
};
