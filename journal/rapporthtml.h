#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QSaveFile;
class QTemporaryFile;

// What stands for the value of an event or a record only the other journal has.
inline constexpr QLatin1String TexteAbsent("(absent)");

// One difference the comparison found: a field of an event, or one record of a pipe list.
struct LigneDifference
{
    QString membre;  // the member, entry point or kind of event (message), as the filter names it
    QString libelle; // "LirePrix.retour", "message#2.texte", "LireRegroupements.retour[ADC]"
    QString texteA;  // the value as JSON, or TexteAbsent
    QString texteB;
    bool enregistrement = false; // champsA and champsB hold a record's fields
    QStringList champsA;
    QStringList champsB;
};

struct DifferencesMembre
{
    QString membre;
    int commandes = 0;
    int actes = 0;
};

struct ResumeComparaison
{
    QString nomA;
    QString nomB;
    bool appels = false; // the blocks are a library sweep's calls, not commands
    int commandes = 0;
    int commandesDifferentes = 0;
    int differences = 0;
    int actes = 0; // 0 when the journals name no act (a scenario's)
    int actesDifferents = 0;
    QList<DifferencesMembre> parMembre; // in the order they first differed
    QStringList ignores;
};

// "commande(s)", or "appel(s)" for a library sweep's calls.
QString uniteBlocs(const ResumeComparaison& resume);

// "8 différence(s) dans 3 commande(s) sur 30, 2 acte(s) sur 6", as the text report and the page both end.
QString bilanComparaison(const ResumeComparaison& resume);

// The comparison as one self-contained HTML page: the summary table, then one section per act (or per
// command when the journals name no act) with the records side by side and the changed fields marked,
// and a filter by member. No network, no script library: a few lines of script, inline. Sections go to
// a temporary file as they come, so a long comparison costs no memory; the page itself is written at the
// end, whole or not at all.
class RapportHtml
{
public:
    explicit RapportHtml(QString chemin);
    ~RapportHtml();
    RapportHtml(const RapportHtml&) = delete;
    RapportHtml& operator=(const RapportHtml&) = delete;

    // Opens the page at once, so a path that cannot be written is known before the comparison runs.
    bool commencer(QString& erreur);
    // `section` is the act's code, or the command's title; consecutive commands of one act share it.
    void ajouterCommande(const QString& section, const QString& titre, const QList<LigneDifference>& lignes);
    bool terminer(const ResumeComparaison& resume, QString& erreur);

private:
    void fermerSection();

    QString m_chemin;
    std::unique_ptr<QSaveFile> m_page;
    std::unique_ptr<QTemporaryFile> m_sections;
    QString m_sectionCourante;
    bool m_sectionOuverte = false;
};
