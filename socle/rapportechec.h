#pragma once

#include <functional>

class Echec;
class QString;
class ServiceMessages;

// The general error report: the failure's number and description in a message box carrying the
// application's title and the critical icon.
void rapporterEchec(ServiceMessages& messages, const Echec& echec);

// "Erreur 440 : <description>", the text of the report.
QString texteRapport(const Echec& echec);

// Runs one handler to its end or to the step that fails. This is the one place where failures are
// caught: the report is shown and the caller goes back to idle. Exceptions other than Echec are
// faults of the tool itself and are reported the same way rather than let loose in the event loop.
// Returns true when the handler ran to its end.
bool executerCommande(ServiceMessages& messages, const std::function<void()>& gestionnaire);
