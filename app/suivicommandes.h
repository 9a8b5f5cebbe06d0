#pragma once

class QString;

// Told when a command button's handler starts and once it has ended, its error report included.
class SuiviCommandes
{
public:
    virtual ~SuiviCommandes() = default;
    virtual void commandeCommencee(const QString& bouton) = 0;
    virtual void commandeTerminee(const QString& bouton, bool aboutie) = 0;
};
