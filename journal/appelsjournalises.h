#pragma once

#include "sequencetarvo.h"

#include <functional>

class JournalAppels;

// Wraps the library calls of the test sequence and records each one: entry point, arguments, the
// returned count, the records the array holds after the call (or the failure), and its duration.
class AppelsJournalises final : public AppelsSequence
{
public:
    AppelsJournalises(AppelsSequence& appels, JournalAppels& journal);

    qint32 Connection_Tarvo(qint32 reserve1, qint32 reserve2, qint32 reserve3,
                            const QString& repertoire) override;
    qint32 ListeModificateurs_Tarvo(TableauAuto*& liste) override;
    qint32 GetPrixUnitaireActeSupplement_Tarvo(const QString& code, qint32 activite, qint32 phase,
                                               const QString& date, const QString& grille,
                                               TableauAuto*& prix) override;
    qint32 GetPriseEnCharge_Tarvo(const QString& code, const QString& date,
                                  TableauAuto*& priseEnCharge) override;
    qint32 ListeCodeIncompatibilitesActe_Tarvo(const QString& code, TableauAuto*& liste) override;
    qint32 ListeCodeAssociationActe_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste) override;
    qint32 DeConnection_Tarvo() override;

    QString fichierCharge() const override { return m_appels.fichierCharge(); }

private:
    AppelsSequence& m_appels;
    JournalAppels& m_journal;
    bool m_chargementSignale = false;
    std::function<void()> m_signalerChargement;
};
