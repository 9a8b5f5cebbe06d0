#include "servicemessagesjournalise.h"

#include "journalappels.h"
#include "vocabulairejournal.h"

#include <QJsonObject>

ServiceMessagesJournalise::ServiceMessagesJournalise(ServiceMessages& messages, JournalAppels& journal)
    : m_messages(messages)
    , m_journal(journal)
{}

void ServiceMessagesJournalise::afficherMessage(const QString& texte, const QString& titre,
                                                IconeMessage icone)
{
    m_messages.afficherMessage(texte, titre, icone);
    m_journal.consigner(Genre::message, {{Champ::texte, texte},
                                         {Champ::titre, titre},
                                         {Champ::icone, nomIconeMessage(icone)},
                                         {Champ::boutons, QStringLiteral("OK")},
                                         {Champ::reponse, QStringLiteral("OK")}});
}

QString ServiceMessagesJournalise::saisirTexte(const QString& invite, const QString& titre,
                                               const QString& defaut)
{
    const QString reponse = m_messages.saisirTexte(invite, titre, defaut);
    // The service gives the empty text for Cancel, so an empty answer is all the journal can tell.
    m_journal.consigner(Genre::saisie, {{Champ::texte, invite},
                                        {Champ::titre, titre},
                                        {Champ::defaut, defaut},
                                        {Champ::boutons, QStringLiteral("OK|Annuler")},
                                        {Champ::reponse, reponse}});
    return reponse;
}
