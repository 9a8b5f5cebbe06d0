#include "optionsimport.h"

#include <QCommandLineParser>

std::variant<OptionsLigneImport, FinLigneImport> lireOptionsImport(const QStringList& arguments)
{
    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(
        QStringLiteral("Importe les fichiers CSV de la CCAM (.csv ou .csv.gz) dans une base SQLite neuve."));
    const QCommandLineOption aide({QStringLiteral("h"), QStringLiteral("aide"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption ignorer(QStringLiteral("ignorer-erreurs"),
                                     QStringLiteral("Écarte les lignes invalides, les signale et poursuit."));
    const QCommandLineOption silencieux(QStringLiteral("silencieux"),
                                        QStringLiteral("N'affiche ni la progression ni le bilan."));
    const QCommandLineOption version(QStringLiteral("version-donnees"),
                                     QStringLiteral("Version des données notée dans la base."),
                                     QStringLiteral("texte"));
    analyseur.addOptions({aide, ignorer, silencieux, version});
    analyseur.addPositionalArgument(QStringLiteral("repertoire"),
                                    QStringLiteral("Répertoire des fichiers CSV."));
    analyseur.addPositionalArgument(QStringLiteral("base"),
                                    QStringLiteral("Fichier SQLite à créer ou remplacer."));
    if (!analyseur.parse(arguments)) {
        return FinLigneImport{
            StatutImport::LigneRefusee,
            QStringLiteral("ccam-import : ligne de commande refusée : %1\n").arg(analyseur.errorText())};
    }
    if (analyseur.isSet(aide))
        return FinLigneImport{StatutImport::Reussi, analyseur.helpText()};
    const QStringList positionnels = analyseur.positionalArguments();
    if (positionnels.size() != 2) {
        return FinLigneImport{
            StatutImport::LigneRefusee,
            QStringLiteral("ccam-import : deux arguments attendus, le répertoire et la base.\n")};
    }
    OptionsLigneImport options;
    options.repertoire = positionnels.at(0);
    options.cible = positionnels.at(1);
    options.ignorerLignesInvalides = analyseur.isSet(ignorer);
    options.silencieux = analyseur.isSet(silencieux);
    options.versionDonnees = analyseur.value(version);
    return options;
}
