#pragma once

#include <QString>

// The automation runtime's own run-time errors, by number, with the French texts it gives them: what a
// failure reads as when a component names the number without a description of its own (438 "Propriété ou
// méthode non gérée par cet objet"). Empty for a number the runtime does not define: the caller then says
// "Erreur définie par l'application ou par l'objet", as the runtime does.
QString texteErreurExecution(int numero);
