#pragma once

#include "commandes.h"

#include <QHash>
#include <QString>
#include <functional>

class AppelsSequence;
struct SourceContexteSequence;

using GestionnaireCommande = std::function<void(const ContexteCommande&)>;
// The handler each command button runs, by button name.
using CommandesFrmInit = QHash<QString, GestionnaireCommande>;

// The event wiring of the window's command buttons ("Quitter" aside, which the window handles).
// Command3's sequence calls the library through `bibliotheque`.
CommandesFrmInit commandesFrmInit(AppelsSequence& bibliotheque);

// The two window values the library sequence asks for, read when it asks.
SourceContexteSequence sourceSequence(const ControlesFenetre& fenetre);
