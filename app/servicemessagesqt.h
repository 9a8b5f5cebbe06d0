#pragma once

#include "servicemessages.h"

// Modal Qt boxes over the active window.
class ServiceMessagesQt final : public ServiceMessages
{
public:
    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override;
    QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) override;
};
