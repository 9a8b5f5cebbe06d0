#include "optionsverifier.h"

#include "progressionbalayage.h"
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
    const QCommandLineOption optionBalayage(
        QStringLiteral("balayage"),
        QStringLiteral(
            "Au lieu de la séquence, pour chaque code d'acte de FICHIER (un par ligne, - pour l'entrée "
            "standard), appelle les quatre points d'entrée qui prennent un acte (prix à la date et dans la "
            "grille, prise en charge à la date, incompatibilités, associations), entre une connexion et une "
            "déconnexion : 0 si la connexion a réussi et si chaque réponse a tenu le contrat, 1 si la "
            "connexion a échoué, si une réponse annonce des enregistrements qu'elle ne livre pas à partir de "
            "l'indice 0, si un appel a planté ou bloqué la bibliothèque (qui tourne dans un processus à "
            "part, relancé à l'acte suivant) ou si le balayage a été interrompu (Ctrl+C), 2 si la liste ou "
            "une option est "
            "refusée, "
            "ou si la bibliothèque ou l'un de ses points d'entrée manque."),
        QStringLiteral("FICHIER"));
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
    const QCommandLineOption optionDelai(QStringLiteral("delai-appel"), descriptionDelaiAppel(),
                                         QStringLiteral("SECONDES"), QStringLiteral("30"));
    QCommandLineOption optionTravailleur(QStringLiteral("travailleur"));
    optionTravailleur.setFlags(QCommandLineOption::HiddenFromHelp);
    analyseur.addOptions({optionAide, optionBibliotheque, optionDate, optionGrille, optionTous, optionJournal,
                          optionBalayage, optionDelai, optionTravailleur});
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
    if (analyseur.isSet(optionBalayage) && analyseur.isSet(optionTous)) {
        return refus(statut, QStringLiteral("--balayage et --tous ne vont pas ensemble : le balayage "
                                            "n'appelle que les points d'entrée qui prennent un acte"));
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
    QString refusDelai;
    const std::optional<int> delai = lireDelaiAppel(analyseur.value(optionDelai), refusDelai);
    if (!delai)
        return refus(statut, refusDelai);
    options.delaiAppelS = *delai;
    options.travailleur = analyseur.isSet(optionTravailleur);
    options.cheminJournal = analyseur.value(optionJournal);
    if (analyseur.isSet(optionBalayage))
        options.listeActes = analyseur.value(optionBalayage);
    options.tousPointsEntree = analyseur.isSet(optionTous);
    return options;
}
