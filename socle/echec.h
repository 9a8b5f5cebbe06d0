#pragma once

#include <QString>
#include <exception>

// A failure raised in a handler or in the window load: it ends that handler at the failing step
// and reaches the general error report, which shows its number and description.
class Echec : public std::exception
{
public:
    // Numbers in the tradition of the runtime errors operators of such tools know.
    enum Numero : int
    {
        Debordement = 6,                  // a value that does not fit its type
        MemoireInsuffisante = 7,          // memory exhausted
        IncompatibiliteDeType = 13,       // a value of the wrong kind
        UtilisationIncorrecteDeNull = 94, // a Null taken as a value
        ErreurInterne = 51,               // a fault of the tool itself, not of a component
        FichierIntrouvable = 53,          // a library no search finds
        ChargementImpossible = 48,        // a library found that cannot be loaded
        PointEntreeIntrouvable = 453,     // an entry point missing from a library
        CreationImpossible = 429,         // a component that cannot be created
        EchecComposant = 440,             // a member of a component that fails
    };

    Echec(int numero, QString description);

    int numero() const noexcept { return m_numero; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override;

private:
    int m_numero;
    QString m_description;
    QByteArray m_what;
};

// A value quoted in a description, cut at 200 characters with "…": a description stays readable in a message
// box whatever the operator typed or the control answered.
QString valeurCitee(const QString& valeur);
