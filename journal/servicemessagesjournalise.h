#pragma once

#include "servicemessages.h"

class JournalAppels;

// Wraps the message service and records every box once it is closed: its text, title, icon, buttons
// and the answer.
class ServiceMessagesJournalise final : public ServiceMessages
{
public:
    ServiceMessagesJournalise(ServiceMessages& messages, JournalAppels& journal);

    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override;
    QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) override;

private:
    ServiceMessages& m_messages;
    JournalAppels& m_journal;
};
