#include "lancement.h"

#include "appelsjournalises.h"
#include "comparaisonjournaux.h"
#include "controlejournalise.h"
#include "demarrage.h"
#include "echec.h"
#include "fabriquecontrole.h"
#include "frminit.h"
#include "implementations.h"
#include "journalappels.h"
#include "lecteurscenario.h"
#include "scenario.h"
#include "sequencetarvo.h"
#include "servicemessagesjournalise.h"
#include "servicemessagesqt.h"
#include "sortieconsole.h"
#include "suivicommandesjournal.h"
#include "traductions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

#ifdef Q_OS_WIN
constexpr bool AideParBarreOblique = true;
#else
constexpr bool AideParBarreOblique = false;
#endif

enum StatutScenario : int
{
    ScenarioJoue = 0,
    EtapeNonJouee = 1,
    FichierMalForme = 2,
};

// Whether the raw command line holds this option, before Qt is there to parse it: the platform must be
// chosen before the application object exists.
bool contient(int argc, char* argv[], const char* option)
{
    const std::size_t longueur = std::strlen(option);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strncmp(argv[i], option, longueur) == 0 &&
            (argv[i][longueur] == '\0' || argv[i][longueur] == '='))
            return true;
    }
    return false;
}

void ecrire(std::FILE* flux, const QString& texte)
{
    SortieConsole::ecrireLigne(flux, texte);
}

// Everything a journalled run slips between the window and the components.
struct Journalisation
{
    Journalisation(JournalAppels& j, ServiceMessages& messages, const Implementations& implementations,
                   const FabriqueControle& fabrique)
        : journal(j)
        , messagesJournalises(messages, j)
        , bibliotheque(implementations.bibliotheque, j)
        , fabriqueControle(fabriqueJournalisee(fabrique, j))
        , suivi(j)
    {
        QJsonArray arguments;
        for (const QString& argument : QCoreApplication::arguments())
            arguments.append(argument);
        journal.consigner(QStringLiteral("debut"),
                          {{QStringLiteral("programme"), QCoreApplication::applicationName()},
                           {QStringLiteral("arguments"), arguments},
                           {QStringLiteral("base"), qEnvironmentVariable("BANC_CCAM_BASE")}});
    }

    JournalAppels& journal;
    ServiceMessagesJournalise messagesJournalises;
    AppelsJournalises bibliotheque;
    FabriqueControle fabriqueControle;
    SuiviCommandesJournal suivi;
};

int comparer(const QString& a, const QString& b)
{
    QString erreur;
    QString texte;
    QTextStream sortie(&texte);
    const IssueComparaison issue = comparerJournaux(a, b, sortie, erreur);
    sortie.flush();
    SortieConsole::ecrire(stdout, texte);
    if (issue == IssueComparaison::NonAppariables)
        ecrire(stderr, QStringLiteral("Comparaison impossible : %1").arg(erreur));
    return static_cast<int>(issue);
}

// The window, opened and then either left to the operator or played by the scenario.
int ouvrirFenetre(const Implementations& implementations, const FabriqueControle& fabrique,
                  JournalAppels* journal, LecteurScenario* lecteur, const QString& cheminScenario)
{
    ServiceMessagesQt messagesQt;
    ServiceMessages& messages = lecteur ? static_cast<ServiceMessages&>(*lecteur) : messagesQt;
    std::optional<Journalisation> journalisation;
    if (journal)
        journalisation.emplace(*journal, messages, implementations, fabrique);

    const std::unique_ptr<FrmInit> fenetre =
        journalisation
            ? demarrerFrmInit(journalisation->messagesJournalises, journalisation->fabriqueControle,
                              implementations.sonde, commandesFrmInit(journalisation->bibliotheque))
            : demarrerFrmInit(messages, fabrique, implementations.sonde,
                              commandesFrmInit(implementations.bibliotheque));
    if (!fenetre) {
        if (lecteur)
            ecrire(stderr, QStringLiteral("%1 : la fenêtre n'a pas pu s'ouvrir").arg(cheminScenario));
        return lecteur ? EtapeNonJouee : EXIT_FAILURE;
    }
    if (journalisation)
        fenetre->suivreCommandes(&journalisation->suivi);

    int statut = ScenarioJoue;
    if (lecteur) {
        if (!lecteur->jouer(*fenetre)) {
            ecrire(stderr, QStringLiteral("%1:%2 : %3")
                               .arg(cheminScenario)
                               .arg(lecteur->ligneErreur())
                               .arg(lecteur->erreur()));
            statut = EtapeNonJouee;
        }
    } else {
        statut = QApplication::exec();
    }
    if (journal && !journal->complet())
        ecrire(stderr, QStringLiteral("Le journal est incomplet : une ligne n'a pas pu être écrite."));
    return statut;
}

} // namespace

int lancerBancCcam(int& argc, char* argv[], const Implementations& implementations)
{
    const bool sansFenetre = contient(argc, argv, "--comparer") || contient(argc, argv, "--help") ||
                             contient(argc, argv, "-h") || contient(argc, argv, "--help-all") ||
                             contient(argc, argv, "-?") ||
                             (AideParBarreOblique && contient(argc, argv, "/?"));
    if (!sansFenetre && contient(argc, argv, "--scenario") && !contient(argc, argv, "--fenetre"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application = sansFenetre
                                                              ? std::make_unique<QCoreApplication>(argc, argv)
                                                              : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(titreApplication());
    installerTraductionsQt(*application);
    if (argc <= 1) {
        QString erreur;
        const FabriqueControle fabrique = implementations.choixControle({}, erreur);
        if (!fabrique) {
            ecrire(stderr, erreur);
            return FichierMalForme;
        }
        return ouvrirFenetre(implementations, fabrique, nullptr, nullptr, {});
    }

    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral(
        "Banc d'essai du contrôle de sélection d'actes CCAM et de la bibliothèque de classification. Sans "
        "option, ouvre la fenêtre."));
    analyseur.addHelpOption();
    const QCommandLineOption optionJournal(
        QStringLiteral("journal"),
        QStringLiteral(
            "Écrit dans FICHIER (- pour la sortie standard) un objet JSON par appel au contrôle ou à "
            "la bibliothèque, par boîte de message et par commande."),
        QStringLiteral("FICHIER"));
    const QCommandLineOption optionScenario(
        QStringLiteral("scenario"),
        QStringLiteral(
            "Joue les étapes de FICHIER (JSON Lines) sur la fenêtre, sans l'afficher, puis termine : "
            "0 si toutes les étapes ont été jouées, 1 si l'une n'a pas pu l'être, 2 si le fichier "
            "est mal formé."),
        QStringLiteral("FICHIER"));
    const QCommandLineOption optionComparer(
        QStringLiteral("comparer"),
        QStringLiteral(
            "Compare deux journaux d'un même scénario, A puis B, et affiche par commande les réponses "
            "qui diffèrent : 0 si rien ne diffère, 1 sinon, 2 s'ils ne peuvent être appariés."),
        QStringLiteral("A.jsonl"));
    const QCommandLineOption optionControle(
        QStringLiteral("controle"),
        QStringLiteral(
            "Le contrôle de sélection d'actes hébergé : « interne » (le composant du banc, dans le "
            "programme), ou sous Windows le ProgID ou le {CLSID} d'un contrôle inscrit. Par défaut "
            "« %1 » sous Windows, « interne » ailleurs.")
            .arg(QString::fromUtf16(progIdCtlTarvo)),
        QStringLiteral("CONTROLE"));
    const QCommandLineOption optionFenetre(
        QStringLiteral("fenetre"),
        QStringLiteral("Avec --scenario, joue les étapes dans la fenêtre affichée, qu'on la voie faire."));
    analyseur.addOptions({optionJournal, optionScenario, optionComparer, optionControle, optionFenetre});
    analyseur.addPositionalArgument(QStringLiteral("B.jsonl"),
                                    QStringLiteral("Le second journal, avec --comparer."),
                                    QStringLiteral("[B.jsonl]"));
    // "/?" asks for help on Windows, as every program there understands it.
    QStringList arguments = QCoreApplication::arguments();
    if (AideParBarreOblique)
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^/\\?$")), QStringLiteral("--help"));
    if (!analyseur.parse(arguments)) {
        ecrire(stderr, analyseur.errorText());
        return FichierMalForme;
    }
    if (analyseur.isSet(QStringLiteral("help"))) {
        ecrire(stdout, analyseur.helpText());
        return EXIT_SUCCESS;
    }
    const QStringList positionnels = analyseur.positionalArguments();
    if (analyseur.isSet(optionComparer)) {
        if (positionnels.size() != 1 || analyseur.isSet(optionScenario) || analyseur.isSet(optionJournal)) {
            ecrire(stderr, QStringLiteral("--comparer attend deux journaux et aucune autre option : "
                                          "--comparer A.jsonl B.jsonl"));
            return FichierMalForme;
        }
        return comparer(analyseur.value(optionComparer), positionnels.constFirst());
    }
    if (!positionnels.isEmpty()) {
        ecrire(stderr, QStringLiteral("Argument inattendu : %1").arg(valeurCitee(positionnels.constFirst())));
        return FichierMalForme;
    }
    if (analyseur.isSet(optionFenetre) && !analyseur.isSet(optionScenario)) {
        ecrire(stderr,
               QStringLiteral("--fenetre ne va qu'avec --scenario : la fenêtre s'affiche déjà sans lui"));
        return FichierMalForme;
    }
    QString erreurControle;
    const FabriqueControle fabrique = implementations.choixControle(
        analyseur.isSet(optionControle) ? analyseur.value(optionControle) : QString(), erreurControle);
    if (!fabrique) {
        ecrire(stderr, erreurControle);
        return FichierMalForme;
    }

    // The scenario is read whole before anything is opened or written, so a malformed file leaves no
    // journal behind.
    const QString cheminScenario = analyseur.value(optionScenario);
    LectureScenario lecture;
    if (analyseur.isSet(optionScenario)) {
        lecture = lireFichierScenario(cheminScenario);
        if (!lecture.erreur.isEmpty()) {
            ecrire(stderr, lecture.ligneErreur > 0
                               ? QStringLiteral("%1:%2 : %3")
                                     .arg(cheminScenario)
                                     .arg(lecture.ligneErreur)
                                     .arg(lecture.erreur)
                               : QStringLiteral("%1 : %2").arg(cheminScenario, lecture.erreur));
            return FichierMalForme;
        }
    }
    std::unique_ptr<JournalAppels> journal;
    if (analyseur.isSet(optionJournal)) {
        QString erreur;
        journal = JournalAppels::ouvrir(analyseur.value(optionJournal), erreur);
        if (!journal) {
            ecrire(stderr, erreur);
            return FichierMalForme;
        }
    }
    std::optional<LecteurScenario> lecteur;
    if (analyseur.isSet(optionScenario))
        lecteur.emplace(std::move(lecture.etapes), journal.get());
    return ouvrirFenetre(implementations, fabrique, journal.get(), lecteur ? &*lecteur : nullptr,
                         cheminScenario);
}
