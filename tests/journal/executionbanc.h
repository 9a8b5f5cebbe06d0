#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of the tool as a tester types it, headless; its exit status and what it printed.
struct ExecutionBanc
{
    int statut = -1;
    QString sortie;
    QString erreurs;
};

ExecutionBanc lancerBanc(const QStringList& arguments, const QString& dossier,
                         const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment());
// The same for another of the project's programs (tarvo-verifier), by its path.
ExecutionBanc
lancerProgramme(const QString& programme, const QStringList& arguments, const QString& dossier,
                const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment());

// Writes the lines into `chemin`, one a line; true when written.
bool ecrireLignes(const QString& chemin, const QStringList& lignes);

// The events of a journal file, in order; empty if a line is not a JSON object.
QList<QJsonObject> lireJournal(const QString& chemin);

// The scenarios shipped with the project.
QString dossierScenarios();

// Runs `sql` on the database file `base`; true when it ran and changed at least one row, so a test that meant
// to alter the store cannot go on with it unchanged.
bool executerSql(const QString& base, const char* sql);
