#include "servicemessagesscripte.h"

#include "journaltest.h"

ServiceMessagesScripte::ServiceMessagesScripte(JournalTest* journal)
    : m_journal(journal)
{}

void ServiceMessagesScripte::afficherMessage(const QString& texte, const QString& titre, IconeMessage icone)
{
    const Message message{texte, titre, icone};
    messages.append(message);
    if (m_journal)
        m_journal->ajouter(QStringLiteral("message[%1|%2] %3").arg(titre, nomIcone(icone), texte));
    if (pendantMessage)
        pendantMessage(message);
}

QString ServiceMessagesScripte::saisirTexte(const QString& invite, const QString& titre, const QString&)
{
    saisies.append({invite, titre, IconeMessage::Aucune});
    const std::optional<QString> reponse = m_saisies.isEmpty() ? std::nullopt : m_saisies.dequeue();
    if (m_journal)
        m_journal->ajouter(QStringLiteral("saisie[%1] %2 => %3")
                               .arg(titre, invite, reponse ? *reponse : QStringLiteral("<annuler>")));
    return reponse.value_or(QString());
}

QString nomIcone(IconeMessage icone)
{
    switch (icone) {
    case IconeMessage::Aucune:
        return QStringLiteral("Aucune");
    case IconeMessage::Information:
        return QStringLiteral("Information");
    case IconeMessage::Avertissement:
        return QStringLiteral("Avertissement");
    case IconeMessage::Critique:
        return QStringLiteral("Critique");
    case IconeMessage::Question:
        return QStringLiteral("Question");
    }
    return {};
}
