#pragma once

#include "controledispatch.h"

#include <memory>

class JournalAppels;

// Wraps any act-selection control and records each write, read and method call in the journal:
// member, dispatch identifier, kind, the value sent (by value or by reference), the value returned or
// the failure, and its duration. Calls and failures pass through unchanged.
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

private:
    std::unique_ptr<ControleDispatch> m_controle;
    JournalAppels& m_journal;
};

// A factory that wraps every control `fabrique` makes.
FabriqueControle fabriqueJournalisee(FabriqueControle fabrique, JournalAppels& journal);
