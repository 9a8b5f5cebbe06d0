#include "executionbanc.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <sqlite3.h>

ExecutionBanc lancerBanc(const QStringList& arguments, const QString& dossier,
                         const QProcessEnvironment& environnement)
{
    return lancerProgramme(QStringLiteral(BANC_CCAM_PROGRAMME), arguments, dossier, environnement);
}

ExecutionBanc lancerProgramme(const QString& programme, const QStringList& arguments, const QString& dossier,
                              const QProcessEnvironment& environnement)
{
    QProcess processus;
    processus.setProgram(programme);
    processus.setArguments(arguments);
    processus.setWorkingDirectory(dossier);
    processus.setProcessEnvironment(environnement);
    processus.start();
    ExecutionBanc execution;
    if (!processus.waitForFinished(120000) || processus.exitStatus() != QProcess::NormalExit) {
        processus.kill();
        processus.waitForFinished();
        execution.erreurs = QStringLiteral("le programme ne s'est pas terminé normalement");
        return execution;
    }
    execution.statut = processus.exitCode();
    // Redirected, the programs write UTF-8 everywhere; lines end in CR LF on Windows.
    const auto lire = [](const QByteArray& octets) {
        return QString::fromUtf8(octets).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    execution.sortie = lire(processus.readAllStandardOutput());
    execution.erreurs = lire(processus.readAllStandardError());
    return execution;
}

bool ecrireLignes(const QString& chemin, const QStringList& lignes)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QString& ligne : lignes)
        fichier.write(ligne.toUtf8() + '\n');
    return true;
}

QList<QJsonObject> lireJournal(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return {};
    QList<QJsonObject> evenements;
    while (!fichier.atEnd()) {
        const QJsonDocument document = QJsonDocument::fromJson(fichier.readLine());
        if (!document.isObject())
            return {};
        evenements.append(document.object());
    }
    return evenements;
}

QString dossierScenarios()
{
    // Absolute with its drive on Windows, for a program started in another drive's folder.
    return QFileInfo(QStringLiteral(BANC_SCENARIOS)).absoluteFilePath();
}

bool executerSql(const QString& base, const char* sql)
{
    sqlite3* connexion = nullptr;
    bool reussi = sqlite3_open(base.toUtf8().constData(), &connexion) == SQLITE_OK &&
                  sqlite3_exec(connexion, sql, nullptr, nullptr, nullptr) == SQLITE_OK &&
                  sqlite3_changes(connexion) > 0;
    sqlite3_close(connexion);
    return reussi;
}
