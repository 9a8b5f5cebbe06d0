#pragma once

#include "servicemessages.h"

#include <QList>
#include <QQueue>
#include <functional>
#include <optional>

struct JournalTest;

// Message boxes answered by the test: every box is recorded, input boxes take the next
// scripted answer (std::nullopt is Cancel; with no answer left, Cancel).
class ServiceMessagesScripte : public ServiceMessages
{
public:
    struct Message
    {
        QString texte;
        QString titre;
        IconeMessage icone;
    };

    explicit ServiceMessagesScripte(JournalTest* journal = nullptr);

    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override;
    QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) override;

    void setProchaineSaisie(std::optional<QString> reponse) { m_saisies.enqueue(std::move(reponse)); }

    QList<Message> messages;
    QList<Message> saisies; // invite, titre of every input box shown
    // Run while a box is "open", e.g. to check what the window shows at that moment.
    std::function<void(const Message&)> pendantMessage;

private:
    JournalTest* m_journal;
    QQueue<std::optional<QString>> m_saisies;
};

// "Aucune", "Information", "Critique", ... for traces.
QString nomIcone(IconeMessage icone);
