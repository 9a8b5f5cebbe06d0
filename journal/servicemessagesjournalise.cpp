#include "servicemessagesjournalise.h"

#include "journalappels.h"

#include <QJsonObject>

ServiceMessagesJournalise::ServiceMessagesJournalise(ServiceMessages& messages, JournalAppels& journal)
    : m_messages(messages)
    , m_journal(journal)
{}

void ServiceMessagesJournalise::afficherMessage(const QString& texte, const QString& titre,
                                                IconeMessage icone)
{
    m_messages.afficherMessage(texte, titre, icone);
    m_journal.consigner(QStringLiteral("message"), {{QStringLiteral("texte"), texte},
                                                    {QStringLiteral("titre"), titre},
                                                    {QStringLiteral("icone"), nomIconeMessage(icone)},
                                                    {QStringLiteral("boutons"), QStringLiteral("OK")},
                                                    {QStringLiteral("reponse"), QStringLiteral("OK")}});
}

QString ServiceMessagesJournalise::saisirTexte(const QString& invite, const QString& titre,
                                               const QString& defaut)
{
    const QString reponse = m_messages.saisirTexte(invite, titre, defaut);
    // The service gives the empty text for Cancel, so an empty answer is all the journal can tell.
    m_journal.consigner(QStringLiteral("saisie"), {{QStringLiteral("texte"), invite},
                                                   {QStringLiteral("titre"), titre},
                                                   {QStringLiteral("defaut"), defaut},
                                                   {QStringLiteral("boutons"), QStringLiteral("OK|Annuler")},
                                                   {QStringLiteral("reponse"), reponse}});
    return reponse;
}
