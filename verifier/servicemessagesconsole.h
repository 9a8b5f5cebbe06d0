#pragma once

#include "servicemessages.h"

#include <cstdio>

// Message boxes written as lines, for the companion run from a script: nobody is there to answer, so an
// input box is cancelled.
class ServiceMessagesConsole : public ServiceMessages
{
public:
    explicit ServiceMessagesConsole(std::FILE* sortie = stdout);

    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override;
    QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) override;

private:
    std::FILE* m_sortie;
};

// "[titre] (information) texte": the line one box gives.
QString ligneMessage(const QString& texte, const QString& titre, IconeMessage icone);
