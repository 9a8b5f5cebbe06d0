#pragma once

#include "superviseurbalayage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class JournalAppels;

// What every sweep's supervisor does with its worker's journal lines and deaths: the lines relayed into its
// own journal, the call in flight kept (the last announced whose answer has not come, and the command around
// it), each crash or hang journalled with them, its act's code, and how it ended, and listed for the end.
class SuiviSuperviseurJournal : public SuiviSuperviseur
{
public:
    // `journal` may be null; `codes` is the sweep's list, which a crash's act index points into.
    SuiviSuperviseurJournal(JournalAppels* journal, const QStringList& codes, int delaiAppelS);

    void ligneJournal(QByteArrayView ligne) override;
    void lignesLues() override;
    void panne(const PanneTravailleur& panne) override;

    // One line a crash or hang, "Plantage, ACQK001 : GetPriseEnCharge_Tarvo (SIGSEGV)", in their order.
    const QStringList& pannes() const { return m_pannes; }
    // The act of the last crash or hang; empty outside any act.
    const QString& dernierActe() const { return m_dernierActe; }
    // The standard error's line when `pannesDeSuite` crashes or hangs in a row ended the sweep; `horsActe`
    // names where the last was when outside any act ("la connexion").
    QString texteAbandon(int pannesDeSuite, const QString& horsActe) const;

protected:
    // Whether a line of the worker's goes to the journal; every line does unless told otherwise.
    virtual bool retenir(QByteArrayView) { return true; }
    JournalAppels* journal() const { return m_journal; }

private:
    JournalAppels* m_journal;
    const QStringList& m_codes;
    int m_delaiAppelS;
    QByteArray m_annonce;  // the call in flight, as announced
    QByteArray m_commande; // the "commande" line of the command running, if any
    QStringList m_pannes;
    QString m_dernierActe;
};

// The standard error's last line of a sweep ends with these counts: "1 plantage(s), 0 blocage(s)".
QString comptesPannes(int plantages, int blocages);
