#pragma once

#include "controledispatch.h"
#include "ecartsidentifiants.h"

#include <QList>
#include <QString>
#include <memory>

class JournalAppels;
class ServiceMessages;
class QWidget;

// The control's 22 identifiers checked once, when the window creates it: a control rebuilt without binary
// compatibility answers other members, or 438, under the original program's identifiers. The calls still go
// by those identifiers; the check only says why they would fail.
class VerificationIdentifiants
{
public:
    // Each difference goes to `journal` (may be null) as it is found.
    explicit VerificationIdentifiants(JournalAppels* journal);

    // A factory that checks every control `fabrique` makes, then hands it over unchanged.
    FabriqueControle envelopper(FabriqueControle fabrique);

    const QList<EcartIdentifiant>& ecarts() const { return *m_ecarts; }
    // The warning box's text, naming the members; empty when nothing differs.
    QString avertissement(const QString& progId) const;
    // That box, once the event loop runs: after the window has opened. Nothing when nothing differs.
    void avertirApresOuverture(QWidget& fenetre, ServiceMessages& messages, const QString& progId) const;

private:
    JournalAppels* m_journal;
    std::shared_ptr<QList<EcartIdentifiant>> m_ecarts = std::make_shared<QList<EcartIdentifiant>>();
};
