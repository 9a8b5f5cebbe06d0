#pragma once

#include <QString>
#include <QStringList>
#include <csignal>
#include <memory>

class AppelsSequence;
class TableauTenu;

// A list of acts swept through the library's four entry points that take an act code, called as the test
// sequence calls them, with the act in place of its fixed codes.
struct ParametresBalayageTarvo
{
    QStringList codes;
    QString dateReference;   // "YYYYMMDD", for the price and the coverage
    QString grilleTarifaire; // for the price
};

// What the sweep tells as it goes, for a caller that journals, shows progress or reports.
class SuiviBalayageTarvo
{
public:
    virtual ~SuiviBalayageTarvo() = default;
    virtual void connexion(qint32 resultat) = 0;
    // Every call of the act's four is made between these two.
    virtual void debutActe(const QString& code) = 0;
    virtual void finActe(qsizetype faits) = 0;
    // An answer that broke the contract (tableautenu.h, contratRompu); the sweep goes on.
    virtual void anomalie(const QString& code, const QString& description) = 0;
};

class BalayageTarvo
{
public:
    BalayageTarvo(ParametresBalayageTarvo parametres, AppelsSequence& appels, SuiviBalayageTarvo& suivi);
    ~BalayageTarvo();

    // The four, in the order each act calls them.
    static QStringList pointsEntree();

    // Connection_Tarvo once with the sequence's fixed arguments, whatever it answers; for each act, the price
    // (activity 1, phase 0, the date and grid), the coverage (on the date), the incompatibilities, each with
    // its array reset to one empty record as the sequence resets it, then the associations (activity 1) with
    // the list array as the incompatibilities left it; DeConnection_Tarvo once. Once `arret` is set (read
    // between acts) the acts left are skipped, the disconnection still made. Throws Echec when the library or
    // an entry point is missing: the sweep stops at that call, without disconnecting, as the sequence does.
    // Every array is released on every path; no record is read.
    void executer(const volatile std::sig_atomic_t* arret = nullptr);

    // The same, a step at a time, for a worker that is handed its acts one by one.
    void connecter();
    void balayerActe(const QString& code);
    void deconnecter();

    qint32 connexion() const { return m_connexion; }
    qsizetype actesFaits() const { return m_actesFaits; }
    int anomalies() const { return m_anomalies; }
    bool interrompu() const { return m_interrompu; }

private:
    struct Tableaux;

    void controlerContrat(const QString& code, const char* pointEntree, qint32 resultat,
                          const TableauTenu& tableau);

    ParametresBalayageTarvo m_parametres;
    std::unique_ptr<Tableaux> m_tableaux;
    AppelsSequence& m_appels;
    SuiviBalayageTarvo& m_suivi;
    qint32 m_connexion = 0;
    qsizetype m_actesFaits = 0;
    int m_anomalies = 0;
    bool m_interrompu = false;
};
