#include "traductions.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

bool installerTraductionsQt(QCoreApplication& application)
{
    const QStringList repertoires{
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    for (const QString& repertoire : repertoires) {
        // Owned by the application, so it lives as long as the texts it translates.
        auto* traducteur = new QTranslator(&application);
        if (traducteur->load(QStringLiteral("qtbase_fr"), repertoire) &&
            QCoreApplication::installTranslator(traducteur))
            return true;
        delete traducteur;
    }
    return false;
}
