#include "fenetrebanc.h"

#include "frminit.h"
#include "implementations.h"
#include "journalappels.h"
#include "sortieconsole.h"

FenetreBanc::FenetreBanc(const Implementations& implementations, const FabriqueControle& fabrique,
                         const QString& progIdControle, JournalAppels* journal, ServiceMessages& messages)
    : m_implementations(implementations)
    , m_progIdControle(progIdControle)
    , m_journal(journal)
    , m_messages(messages)
    , m_verification(journal)
    , m_fabrique(m_verification.envelopper(fabrique))
{
    if (journal)
        m_journalisation.emplace(*journal, messages, implementations.bibliotheque, m_fabrique,
                                 progIdControle);
}

FenetreBanc::~FenetreBanc() = default;

FrmInit* FenetreBanc::ouvrir(Avertissement avertissement)
{
    m_fenetre = demarrerFrmInitJournalise(m_journalisation, m_messages, m_fabrique, m_implementations.sonde,
                                          m_implementations.bibliotheque);
    if (!m_fenetre)
        return nullptr;
    m_fenetre->suivreCommandes(suiviJournal());
    if (avertissement == Avertissement::Boite) {
        m_verification.avertirApresOuverture(
            *m_fenetre, m_journalisation ? m_journalisation->messagesJournalises : m_messages,
            m_progIdControle);
    } else if (const QString texte = m_verification.avertissement(m_progIdControle); !texte.isEmpty()) {
        SortieConsole::ecrireLigne(stderr, texte);
    }
    return m_fenetre.get();
}

SuiviCommandes* FenetreBanc::suiviJournal()
{
    return m_journalisation ? &m_journalisation->suivi : nullptr;
}

void FenetreBanc::signalerJournalIncomplet() const
{
    if (m_journal && !m_journal->complet())
        SortieConsole::ecrireLigne(
            stderr, QStringLiteral("Le journal est incomplet : une ligne n'a pas pu être écrite."));
}
