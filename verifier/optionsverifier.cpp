#include "optionsverifier.h"

#include "sortieconsole.h"
#include "verification.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool dateValide(const QString& date)
{
    return QRegularExpression(QStringLiteral("^\\d{8}$")).match(date).hasMatch() &&
           QDate::fromString(date, QStringLiteral("yyyyMMdd")).isValid();
}

std::optional<OptionsVerifier> refus(int& statut, const QString& explication)
{
    SortieConsole::ecrireLigne(stderr, explication);
    statut = StatutVerification::NonVerifiee;
    return std::nullopt;
}

} // namespace

std::optional<OptionsVerifier> lireOptionsVerifier(const QStringList& arguments, int& statut)
{
    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral(
        "Vérifie une installation de la bibliothèque de classification TarvoLib : exécute sa séquence de "
        "test et affiche le résultat de chaque étape.\n"
        "Statut de sortie : 0 si la connexion a réussi et la séquence est allée à son terme, 1 si la "
        "connexion a échoué, 2 si la ligne de commande est refusée ou si la bibliothèque ou l'un de ses "
        "points d'entrée manque."));
    const QCommandLineOption optionAide({QStringLiteral("h"), QStringLiteral("aide"), QStringLiteral("help")},
                                        QStringLiteral("Affiche cette aide."));
    const QCommandLineOption optionBibliotheque(
        QStringLiteral("bibliotheque"),
        QStringLiteral("Charge ce fichier (chemin absolu, ou relatif au "
                       "répertoire courant) au lieu de chercher la "
                       "bibliothèque."),
        QStringLiteral("chemin"));
    const QCommandLineOption optionDate(
        QStringLiteral("date"), QStringLiteral("Date de référence AAAAMMJJ (par défaut : aujourd'hui)."),
        QStringLiteral("date"));
    const QCommandLineOption optionGrille(QStringLiteral("grille"),
                                          QStringLiteral("Grille tarifaire : 000, 001 ou 002 (par défaut : "
                                                         "001)."),
                                          QStringLiteral("grille"), QStringLiteral("001"));
    const QCommandLineOption optionTous(QStringLiteral("tous"),
                                        QStringLiteral("Vérifie aussi la présence des 39 points d'entrée."));
    const QCommandLineOption optionJournal(
        QStringLiteral("journal"),
        QStringLiteral(
            "Écrit dans FICHIER (- pour la sortie standard) un objet JSON par appel à la bibliothèque "
            "et par boîte de message."),
        QStringLiteral("FICHIER"));
    analyseur.addOptions(
        {optionAide, optionBibliotheque, optionDate, optionGrille, optionTous, optionJournal});
    if (!analyseur.parse(arguments))
        return refus(statut, QStringLiteral("Ligne de commande refusée : %1").arg(analyseur.errorText()));
    if (analyseur.isSet(optionAide)) {
        SortieConsole::ecrireLigne(stdout, analyseur.helpText());
        statut = StatutVerification::Reussie;
        return std::nullopt;
    }
    if (!analyseur.positionalArguments().isEmpty()) {
        return refus(
            statut,
            QStringLiteral("Argument inattendu : %1").arg(analyseur.positionalArguments().constFirst()));
    }

    OptionsVerifier options;
    options.dateReference = analyseur.isSet(optionDate)
                                ? analyseur.value(optionDate)
                                : QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    if (!dateValide(options.dateReference)) {
        return refus(statut, QStringLiteral("Date invalide : %1 (attendu une date du calendrier AAAAMMJJ)")
                                 .arg(options.dateReference));
    }
    options.grilleTarifaire = analyseur.value(optionGrille);
    if (!QStringList{QStringLiteral("000"), QStringLiteral("001"), QStringLiteral("002")}.contains(
            options.grilleTarifaire)) {
        return refus(statut, QStringLiteral("Grille tarifaire invalide : %1 (attendu 000, 001 ou 002)")
                                 .arg(options.grilleTarifaire));
    }
    if (analyseur.isSet(optionBibliotheque)) {
        // Relative to the current directory, and shown in full in every line that names it.
        options.cheminBibliotheque = QFileInfo(analyseur.value(optionBibliotheque)).absoluteFilePath();
    }
    options.cheminJournal = analyseur.value(optionJournal);
    options.tousPointsEntree = analyseur.isSet(optionTous);
    return options;
}
