#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Cuts one CSV line (";" separators, fields optionally in double quotes, "" inside quotes for one
// quote, no line breaks inside fields) into champs. Returns false and sets erreur on a malformed
// line; champs is then unspecified. A trailing "\r" is ignored.
bool decouperLigneCsv(std::string_view ligne, std::vector<std::string>& champs, std::string& erreur);

// "2025-01-01" -> "20250101"; false on anything that is not a real calendar date.
bool convertirDate(std::string_view texte, std::string& sortie);
// "25.27" -> 2527; up to two decimals, no sign, no exponent; false otherwise.
bool convertirPrix(std::string_view texte, qint64& centimes);

struct RejetLigne
{
    QString fichier;
    qint64 ligne = 0;
    QString raison;
};

struct OptionsImport
{
    QString repertoire; // the CSV layout of the public CCAM, plain ".csv" or ".csv.gz"
    QString cible;      // database file to create or replace
    bool ignorerLignesInvalides = false;
    QString versionDonnees; // stored in the metadata; defaults to the directory name
    // Called now and then with the file being read and the lines read so far in it.
    std::function<void(const QString& fichier, qint64 lignes)> progression;
    // Set from another thread or a signal handler to abandon the import.
    const std::atomic<bool>* interruption = nullptr;
};

struct BilanImport
{
    bool reussi = false;
    QString erreur; // why the import failed; empty on success
    QList<RejetLigne> rejets;
    QList<QPair<QString, qint64>> lignesParTable;
};

// Reads the whole directory into a temporary file beside the target, in one transaction, and
// renames it over the target only once everything is in: a failed or interrupted import leaves
// the previous database as it was. Any rejected row fails the import unless ignorerLignesInvalides.
BilanImport importerCcam(const OptionsImport& options);
