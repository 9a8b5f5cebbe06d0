#pragma once

#include "journalisation.h"
#include "verificationidentifiants.h"

#include <memory>
#include <optional>

class FrmInit;
class JournalAppels;
class ServiceMessages;
class SuiviCommandes;
struct Implementations;

// The window as every run of the tool opens it: the control's factory wrapped with the identifier check,
// the journal slipped between the window and the components when there is one (its "debut" written), the
// window started, its commands followed into the journal, and the identifiers' warning given.
class FenetreBanc
{
public:
    enum class Avertissement
    {
        Boite,   // a box once the window has opened, for the operator in front of it
        Console, // a line on the standard error, for a tester who reads that and the journal
    };

    // `journal` may be null; `messages` answers the window's boxes and must outlive this object.
    FenetreBanc(const Implementations& implementations, const FabriqueControle& fabrique,
                const QString& progIdControle, JournalAppels* journal, ServiceMessages& messages);
    ~FenetreBanc();
    FenetreBanc(const FenetreBanc&) = delete;
    FenetreBanc& operator=(const FenetreBanc&) = delete;

    // The window, started and shown; nullptr when it could not open (the failure has been reported).
    FrmInit* ouvrir(Avertissement avertissement);

    // Where the commands' starts and ends are journalled; null without a journal.
    SuiviCommandes* suiviJournal();

    // Says on the standard error that the journal lacks a line, when it does.
    void signalerJournalIncomplet() const;

private:
    const Implementations& m_implementations;
    QString m_progIdControle;
    JournalAppels* m_journal;
    ServiceMessages& m_messages;
    VerificationIdentifiants m_verification;
    FabriqueControle m_fabrique;
    std::optional<Journalisation> m_journalisation;
    // Last, so that it goes first: it calls through the journal's decorators and the wrapped factory.
    std::unique_ptr<FrmInit> m_fenetre;
};
