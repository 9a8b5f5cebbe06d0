#include "commandes.h"

// The commands come one by one; until each is in, its button does nothing.
namespace Commandes {

void selectionActe(const ContexteCommande&) {}
void testModificateurs(const ContexteCommande&) {}
void testPrix(const ContexteCommande&) {}
void testModificateursActe(const ContexteCommande&) {}
void codeRegroupementActe(const ContexteCommande&) {}
void rechercheLibelle(const ContexteCommande&) {}
void testListeActesCompatibles(const ContexteCommande&) {}

} // namespace Commandes
