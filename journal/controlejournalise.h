#pragma once

#include "controledispatch.h"

#include <memory>

class JournalAppels;

// Wraps any act-selection control and records each write, read and method call in the journal:
// member, dispatch identifier, kind, the value sent (by value or by reference), the value returned or
// the failure, and its duration. Calls and failures pass through unchanged. Also records the steps of its
// creation the host went on from ("activation"), once, every event the control fires ("evenement"), and
// every native box the host answered ("boite_native", with the member in flight).
class ControleJournalise final : public ControleDispatch
{
public:
    ControleJournalise(std::unique_ptr<ControleDispatch> controle, JournalAppels& journal);
    ~ControleJournalise() override;

    void ecrire(qint32 dispId, const QVariant& valeur) override;
    void ecrireParReference(qint32 dispId, QVariant& valeur) override;
    QVariant lire(qint32 dispId) override;
    QVariant appeler(qint32 dispId) override;
    std::optional<qint32> identifiantParNom(const QString& nom) override;
    void observerEvenements(ObservateurEvenements observateur) override;
    void repondreBoitesNatives(ChoixBoiteNative choix) override;
    void observerBoitesNatives(ObservateurBoites observateur) override;
    QList<EtapeActivation> etapesToleres() const override;

private:
    void consignerEvenement(const EvenementControle& evenement);
    void consignerBoite(const BoiteNative& boite);

    std::unique_ptr<ControleDispatch> m_controle;
    JournalAppels& m_journal;
    ObservateurEvenements m_observateur; // a caller's own, after the journal
    ObservateurBoites m_observateurBoites;
    QString m_membreEnVol; // announced and not yet answered
};

// A factory that wraps every control `fabrique` makes.
FabriqueControle fabriqueJournalisee(FabriqueControle fabrique, JournalAppels& journal);
