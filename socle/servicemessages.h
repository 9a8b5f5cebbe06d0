#pragma once

#include <QString>

enum class IconeMessage
{
    Aucune,
    Information,
    Avertissement,
    Critique,
    Question
};

// Every modal message box and input box of the tool goes through this service: the window uses
// the Qt one, tests script the answers.
class ServiceMessages
{
public:
    virtual ~ServiceMessages() = default;

    // A modal box with an OK button only; returns once the operator has closed it.
    virtual void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) = 0;

    // A modal input box; cancelling gives the empty text.
    virtual QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) = 0;
};

// The icon's name as our programs print and record it: "aucune", "information", "avertissement", "critique",
// "question".
QString nomIconeMessage(IconeMessage icone);

// The application's own name: the title of every box for which no other is given.
QString titreApplication();
