#pragma once

#include <QString>
#include <QStringList>
#include <variant>

// Exit statuses of ccam-import.
namespace StatutImport {
inline constexpr int Reussi = 0;
// The import failed; the database named was left as it was.
inline constexpr int Echoue = 1;
// Nothing was imported: the command line is refused.
inline constexpr int LigneRefusee = 2;
} // namespace StatutImport

// What the importer's command line asks for.
struct OptionsLigneImport
{
    QString repertoire; // the CSV files
    QString cible;      // the database to create or replace
    bool ignorerLignesInvalides = false;
    bool silencieux = false; // neither the progress nor the summary
    QString versionDonnees;  // empty: the directory's name
};

// A command line that imports nothing: the help asked for (status 0, for the standard output), or why the
// line is refused (StatutImport::LigneRefusee, for the standard error). Either ends with a line end.
struct FinLigneImport
{
    int statut;
    QString texte;
};

// Reads QCoreApplication::arguments() (the program's name first).
std::variant<OptionsLigneImport, FinLigneImport> lireOptionsImport(const QStringList& arguments);
