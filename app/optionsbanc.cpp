#include "optionsbanc.h"

#include "echec.h"
#include "fabriquecontrole.h"
#include "progressionbalayage.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <iterator>

namespace {

#ifdef Q_OS_WIN
constexpr bool AideParBarreOblique = true;
#else
constexpr bool AideParBarreOblique = false;
#endif

// The tool's options in the order the help lists them. Positionnel and EnTrop are the positional arguments
// (the second journal of --comparer, and any after it), so that the rules below speak of them as of options.
enum class Option
{
    Journal,
    Scenario,
    Comparer,
    Balayage,
    Commandes,
    Date,
    Grille,
    Srt,
    Tranche,
    Parallele,
    Ignorer,
    Rapport,
    Controle,
    Fenetre,
    BoitesNatives,
    Diagnostic,
    DelaiAppel,
    Travailleur,
    Positionnel,
    EnTrop,
};
constexpr int NombreOptions = static_cast<int>(Option::Positionnel);

struct DefinitionOption
{
    Option option;
    const char16_t* nom;
    const char16_t* valeur; // null for an option that takes none
    const char16_t* description;
};

constexpr DefinitionOption definitions[] = {
    {Option::Journal, u"journal", u"FICHIER",
     u"Écrit dans FICHIER (- pour la sortie standard) un objet JSON par appel au contrôle ou à la "
     u"bibliothèque, par boîte de message et par commande."},
    {Option::Scenario, u"scenario", u"FICHIER",
     u"Joue les étapes de FICHIER (JSON Lines) sur la fenêtre, sans l'afficher, puis termine : 0 si toutes "
     u"les étapes ont été jouées, 1 si l'une n'a pas pu l'être, 2 si le fichier est mal formé."},
    {Option::Comparer, u"comparer", u"A.jsonl",
     u"Compare deux journaux d'un même scénario, A puis B, et affiche par commande les réponses qui "
     u"diffèrent : 0 si rien ne diffère, 1 sinon, 2 s'ils ne peuvent être appariés. A ou B peut être "
     u"plusieurs journaux séparés par « %1 », les tranches d'un même balayage (--tranche), lues comme "
     u"un seul."},
    {Option::Balayage, u"balayage", u"FICHIER",
     u"Pour chaque code d'acte de FICHIER (un par ligne, - pour l'entrée standard), remplit txtCodeCCAM et "
     u"lance les commandes, sans afficher la fenêtre, le contrôle dans un processus à part : 0 si toutes ont "
     u"abouti, 1 si l'une a échoué, planté ou bloqué, ou si le balayage a été interrompu (Ctrl+C), 2 si la "
     u"liste ou une option est refusée."},
    {Option::Commandes, u"commandes", u"LISTE",
     u"Avec --balayage, les commandes lancées pour chaque acte (2,4,5,6,7 par défaut)."},
    {Option::Date, u"date", u"AAAAMMJJ", u"Avec --balayage, la date de référence (DTPicker1)."},
    {Option::Grille, u"grille", u"000|001|002", u"Avec --balayage, la grille tarifaire (CboGrille)."},
    {Option::Srt, u"srt", nullptr, u"Avec --balayage, coche « Restreindre aux SRT »."},
    {Option::Tranche, u"tranche", u"K/N",
     u"Avec --balayage, ne balaie que la K-ième des N parts contiguës de la liste (des parts d'un acte de "
     u"plus ou de moins au plus), pour répartir un balayage sur N machines ; --comparer apparie les "
     u"journaux des N parts comme un seul."},
    {Option::Parallele, u"parallele", u"N", nullptr}, // the sweeps' shared description
    {Option::Ignorer, u"ignorer", u"MEMBRE[,MEMBRE...]",
     u"Avec --comparer, laisse de côté ces membres (par exemple CheminConfig)."},
    {Option::Rapport, u"rapport", u"FICHIER.html",
     u"Avec --comparer, écrit aussi la comparaison en page HTML."},
    {Option::Controle, u"controle", u"CONTROLE",
     u"Le contrôle de sélection d'actes hébergé : « interne » (le composant du banc, dans le programme), ou "
     u"sous Windows le ProgID ou le {CLSID} d'un contrôle inscrit. Par défaut « %1 » sous Windows, "
     u"« interne » ailleurs."},
    {Option::Fenetre, u"fenetre", nullptr,
     u"Avec --scenario, joue les étapes dans la fenêtre affichée, qu'on la voie faire."},
    {Option::BoitesNatives, u"boites-natives", u"ok|annuler",
     u"Avec --balayage ou --scenario, répond aux boîtes natives du contrôle, pendant ses appels, par leur "
     u"bouton par défaut (ok, par défaut) ou par celui qui les annule (annuler), et les note au journal."},
    {Option::Diagnostic, u"diagnostic", nullptr,
     u"Dit quel contrôle et quelle bibliothèque répondent (fichiers, versions, inscription, identifiants, "
     u"points d'entrée), puis termine : 0 si tout est conforme, 1 si quelque chose diffère ou manque, 2 si "
     u"rien n'a pu être vérifié."},
    {Option::DelaiAppel, u"delai-appel", u"SECONDES", nullptr}, // the sweeps' shared description
    // The sweep's worker process, which the sweep starts itself: the acts on its standard input.
    {Option::Travailleur, u"travailleur", nullptr, u""},
};
static_assert(std::size(definitions) == NombreOptions);

constexpr bool definitionsDansLOrdre()
{
    for (int i = 0; i < NombreOptions; ++i)
        if (static_cast<int>(definitions[i].option) != i)
            return false;
    return true;
}
static_assert(definitionsDansLOrdre(), "the table is indexed by Option");

using Presences = unsigned;

constexpr Presences presence(Option option)
{
    return 1u << static_cast<int>(option);
}

enum class Exigence
{
    Seules, // beside `si`, nothing but `autres`
    Avec,   // one of `autres` too
    Sans,   // none of `autres`
};

struct Regle
{
    Presences si; // the rule holds when one of these is given
    Exigence exigence;
    Presences autres;
    const char16_t* refus; // %1: the first positional argument
};

constexpr char16_t refusComparer[] =
    u"--comparer attend deux journaux et, au plus, --ignorer et --rapport : --comparer A.jsonl B.jsonl";

// Which options go together, in the order they are checked: the first rule broken is the refusal.
constexpr Regle regles[] = {
    {presence(Option::Comparer), Exigence::Seules,
     presence(Option::Ignorer) | presence(Option::Rapport) | presence(Option::Positionnel), refusComparer},
    {presence(Option::Comparer), Exigence::Avec, presence(Option::Positionnel), refusComparer},
    {presence(Option::Ignorer) | presence(Option::Rapport), Exigence::Avec, presence(Option::Comparer),
     u"--ignorer et --rapport vont avec --comparer"},
    {presence(Option::Positionnel), Exigence::Avec, presence(Option::Comparer), u"Argument inattendu : %1"},
    {presence(Option::Fenetre), Exigence::Avec, presence(Option::Scenario),
     u"--fenetre ne va qu'avec --scenario : la fenêtre s'affiche déjà sans lui"},
    {presence(Option::Diagnostic), Exigence::Seules, presence(Option::Controle),
     u"--diagnostic ne prend pas d'autre option que --controle."},
    {presence(Option::Balayage), Exigence::Sans, presence(Option::Scenario),
     u"--balayage et --scenario ne vont pas ensemble"},
    {presence(Option::BoitesNatives), Exigence::Avec,
     presence(Option::Balayage) | presence(Option::Scenario) | presence(Option::Travailleur),
     u"--boites-natives va avec --balayage ou --scenario : devant la fenêtre, ses boîtes sont à l'opérateur"},
    {presence(Option::Commandes) | presence(Option::Date) | presence(Option::Grille) | presence(Option::Srt),
     Exigence::Avec, presence(Option::Balayage) | presence(Option::Travailleur),
     u"--commandes, --date, --grille et --srt vont avec --balayage"},
    {presence(Option::DelaiAppel), Exigence::Avec, presence(Option::Balayage),
     u"--delai-appel va avec --balayage"},
    {presence(Option::Travailleur), Exigence::Seules,
     presence(Option::Commandes) | presence(Option::Date) | presence(Option::Grille) | presence(Option::Srt) |
         presence(Option::Controle) | presence(Option::BoitesNatives),
     u"--travailleur ne se lance pas à la main : --balayage le démarre"},
    {presence(Option::Tranche), Exigence::Avec, presence(Option::Balayage), u"--tranche va avec --balayage"},
    {presence(Option::Parallele), Exigence::Avec, presence(Option::Balayage),
     u"--parallele va avec --balayage"},
};

constexpr bool enfreinte(const Regle& regle, Presences donnees)
{
    if (!(donnees & regle.si))
        return false;
    switch (regle.exigence) {
    case Exigence::Seules:
        return (donnees & ~(regle.si | regle.autres)) != 0;
    case Exigence::Avec:
        return !(donnees & regle.autres);
    case Exigence::Sans:
        return (donnees & regle.autres) != 0;
    }
    return false;
}

// The parser with every option, and what the line gave of each.
class Analyseur
{
public:
    Analyseur()
    {
        m_analyseur.setApplicationDescription(
            QStringLiteral("Banc d'essai du contrôle de sélection d'actes CCAM et de la bibliothèque de "
                           "classification. Sans option, ouvre la fenêtre."));
        m_analyseur.addHelpOption();
        for (const DefinitionOption& definition : definitions) {
            QString description = definition.description ? QString::fromUtf16(definition.description)
                                  : definition.option == Option::Parallele ? descriptionParallele()
                                                                           : descriptionDelaiAppel();
            if (definition.option == Option::Controle)
                description = description.arg(QString::fromUtf16(progIdCtlTarvo));
            if (definition.option == Option::Comparer)
                description = description.arg(QDir::listSeparator());
            m_options.append(definition.valeur
                                 ? QCommandLineOption(QString::fromUtf16(definition.nom), description,
                                                      QString::fromUtf16(definition.valeur))
                                 : QCommandLineOption(QString::fromUtf16(definition.nom), description));
            if (definition.option == Option::Travailleur)
                m_options.last().setFlags(QCommandLineOption::HiddenFromHelp);
        }
        m_analyseur.addOptions(m_options);
        m_analyseur.addPositionalArgument(QStringLiteral("B.jsonl"),
                                          QStringLiteral("Le second journal, avec --comparer."),
                                          QStringLiteral("[B.jsonl]"));
    }

    bool lire(QStringList arguments)
    {
        // "/?" asks for help on Windows, as every program there understands it.
        if (AideParBarreOblique)
            arguments.replaceInStrings(QRegularExpression(QStringLiteral("^/\\?$")),
                                       QStringLiteral("--help"));
        return m_analyseur.parse(arguments);
    }

    bool aide() const
    {
        return m_analyseur.isSet(QStringLiteral("help")) || m_analyseur.isSet(QStringLiteral("help-all"));
    }
    bool donnee(Option option) const
    {
        return m_analyseur.isSet(m_options.at(static_cast<qsizetype>(option)));
    }
    QString valeur(Option option) const
    {
        return m_analyseur.value(m_options.at(static_cast<qsizetype>(option)));
    }
    QStringList valeurs(Option option) const
    {
        return m_analyseur.values(m_options.at(static_cast<qsizetype>(option)));
    }
    QStringList positionnels() const { return m_analyseur.positionalArguments(); }

    Presences donnees() const
    {
        Presences resultat = 0;
        for (int option = 0; option < NombreOptions; ++option)
            if (donnee(static_cast<Option>(option)))
                resultat |= presence(static_cast<Option>(option));
        if (!positionnels().isEmpty())
            resultat |= presence(Option::Positionnel);
        if (positionnels().size() > 1)
            resultat |= presence(Option::EnTrop);
        return resultat;
    }

    const QCommandLineParser& analyseur() const { return m_analyseur; }

private:
    QCommandLineParser m_analyseur;
    QList<QCommandLineOption> m_options;
};

FinLigneBanc refus(const QString& explication)
{
    return {StatutBanc::LigneRefusee, explication};
}

// "2,4,5,6,7" (or "Command2,Command4") as button names. Command3 runs the library sequence, which no act
// drives: it is refused with anything that is not a command button.
bool lireCommandes(const QString& texte, QStringList& boutons, QString& erreur)
{
    boutons.clear();
    for (const QString& partie : texte.split(QLatin1Char(','))) {
        QString nom = partie.trimmed();
        if (nom.startsWith(QLatin1String("Command")))
            nom = nom.mid(7);
        bool nombre = false;
        const int numero = nom.toInt(&nombre);
        if (!nombre || numero < 1 || numero > 7 || numero == 3 || nom.size() != 1) {
            erreur = QStringLiteral("--commandes : « %1 » n'est pas une commande d'acte (1, 2, 4, 5, 6 ou 7)")
                         .arg(partie.trimmed());
            boutons.clear();
            return false;
        }
        boutons.append(QStringLiteral("Command") + nom);
    }
    return true;
}

// The sweep's values; the list itself is read by the run, once the line is accepted.
std::optional<FinLigneBanc> lireBalayage(const Analyseur& analyseur, ParametresBalayage& parametres,
                                         std::optional<Tranche>& tranche)
{
    QString erreur;
    if (analyseur.donnee(Option::Commandes) &&
        !lireCommandes(analyseur.valeur(Option::Commandes), parametres.boutons, erreur))
        return refus(erreur);
    if (analyseur.donnee(Option::Date)) {
        const QString texte = analyseur.valeur(Option::Date);
        const QDate date = QDate::fromString(texte, QStringLiteral("yyyyMMdd"));
        // The date picker's own range starts with the Gregorian calendar's adoption in Britain.
        if (texte.size() != 8 || !date.isValid() || date < QDate(1752, 9, 14))
            return refus(QStringLiteral("--date : « %1 » n'est pas une date AAAAMMJJ").arg(texte));
        parametres.date = date;
    }
    if (analyseur.donnee(Option::Grille)) {
        const QString grille = analyseur.valeur(Option::Grille);
        if (grille != QLatin1String("000") && grille != QLatin1String("001") &&
            grille != QLatin1String("002"))
            return refus(QStringLiteral("--grille : 000, 001 ou 002, pas « %1 »").arg(grille));
        parametres.grille = grille;
    }
    parametres.srt = analyseur.donnee(Option::Srt);
    if (analyseur.donnee(Option::DelaiAppel)) {
        const std::optional<int> delai = lireDelaiAppel(analyseur.valeur(Option::DelaiAppel), erreur);
        if (!delai)
            return refus(erreur);
        parametres.delaiAppelS = *delai;
    }
    if (analyseur.donnee(Option::Parallele)) {
        const std::optional<int> processus = lireParallele(analyseur.valeur(Option::Parallele), erreur);
        if (!processus)
            return refus(erreur);
        parametres.processus = *processus;
    }
    if (analyseur.donnee(Option::Tranche)) {
        tranche = lireTranche(analyseur.valeur(Option::Tranche), erreur);
        if (!tranche)
            return refus(erreur);
    }
    return std::nullopt;
}

ModeBanc modeDemande(const Analyseur& analyseur)
{
    if (analyseur.donnee(Option::Comparer))
        return ModeBanc::Comparaison;
    if (analyseur.donnee(Option::Diagnostic))
        return ModeBanc::Diagnostic;
    if (analyseur.donnee(Option::Travailleur))
        return ModeBanc::Travailleur;
    if (analyseur.donnee(Option::Balayage))
        return ModeBanc::Balayage;
    if (analyseur.donnee(Option::Scenario))
        return ModeBanc::Scenario;
    return ModeBanc::Fenetre;
}

} // namespace

std::variant<OptionsBanc, FinLigneBanc> lireOptionsBanc(const QStringList& arguments)
{
    Analyseur analyseur;
    if (!analyseur.lire(arguments))
        return refus(analyseur.analyseur().errorText());
    if (analyseur.aide())
        return FinLigneBanc{StatutBanc::Abouti, analyseur.analyseur().helpText()};
    const Presences donnees = analyseur.donnees();
    for (const Regle& regle : regles) {
        if (!enfreinte(regle, donnees))
            continue;
        const QString texte = QString::fromUtf16(regle.refus);
        return refus(regle.si == presence(Option::Positionnel)
                         ? texte.arg(valeurCitee(analyseur.positionnels().constFirst()))
                         : texte);
    }

    OptionsBanc options;
    options.mode = modeDemande(analyseur);
    options.controle = analyseur.valeur(Option::Controle);
    if (analyseur.donnee(Option::Journal))
        options.cheminJournal = analyseur.valeur(Option::Journal);
    options.cheminScenario = analyseur.valeur(Option::Scenario);
    options.listeActes = analyseur.valeur(Option::Balayage);
    if (analyseur.donnee(Option::BoitesNatives)) {
        const QString reponse = analyseur.valeur(Option::BoitesNatives);
        if (reponse == QLatin1String("annuler"))
            options.boitesNatives = ReponseBoiteNative::Mode::Annulation;
        else if (reponse != QLatin1String("ok"))
            return refus(QStringLiteral("--boites-natives : ok ou annuler, pas « %1 »").arg(reponse));
    }
    if (options.mode == ModeBanc::Balayage || options.mode == ModeBanc::Travailleur) {
        if (const std::optional<FinLigneBanc> fin =
                lireBalayage(analyseur, options.balayage, options.tranche))
            return *fin;
        options.balayage.boitesNatives = options.boitesNatives;
    }
    if (options.mode == ModeBanc::Comparaison) {
        options.journalA = analyseur.valeur(Option::Comparer);
        options.journalB = analyseur.positionnels().constFirst();
        for (const QString& membre :
             analyseur.valeurs(Option::Ignorer).join(QLatin1Char(',')).split(QLatin1Char(',')))
            if (!membre.trimmed().isEmpty())
                options.comparaison.ignores.append(membre.trimmed());
        options.comparaison.rapportHtml = analyseur.valeur(Option::Rapport);
    }
    return options;
}

ApplicationBanc applicationDemandee(int argc, const char* const argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    Analyseur analyseur;
    // Whether the line is refused is said once the application exists, in its language.
    analyseur.lire(arguments);
    // A sweep's window is its worker's: the sweep itself shows nothing.
    if (analyseur.aide() || analyseur.donnee(Option::Comparer) ||
        (analyseur.donnee(Option::Balayage) && !analyseur.donnee(Option::Travailleur)))
        return ApplicationBanc::SansWidgets;
    if ((analyseur.donnee(Option::Scenario) && !analyseur.donnee(Option::Fenetre)) ||
        analyseur.donnee(Option::Travailleur) || analyseur.donnee(Option::Diagnostic))
        return ApplicationBanc::HorsEcran;
    return ApplicationBanc::Ecran;
}
