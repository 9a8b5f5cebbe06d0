#pragma once

#include "travailleur.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <csignal>
#include <memory>
#include <unordered_map>
#include <vector>

class QProcess;

// A sweep whose component runs in a worker process of the same program, so that a crash or a call that never
// returns costs one act, not the night. The worker reads act codes on its standard input, one a line, and
// writes on its standard output its journal lines ("{...}") and its own messages ("#mot reste"), "#fin" at
// the end of each act; at the end of its input it closes what it opened and exits with 0.
//
// The supervisor runs one worker or several, deals the acts a few ahead to each, and hands every act's lines
// on in the list's order, whichever worker swept it: the lines of an act ahead of the first unfinished one
// wait until their turn (with one worker, none ever waits). When a worker dies or stays silent for longer
// than the delay, it reports it, starts a fresh one in its place and deals it the acts the dead one had not
// started. A run of crashes or hangs without an act finished between them ends the sweep. The worker's
// messages are handed on as they come.
//
// A worker may end its start-up with "#pret". With `demarrageUnique`, the lines before it (the window
// built, the component created) are handed on for the first worker started only: a journal holds one
// start-up, however many workers swept and restarted, so that it pairs with a one-worker sweep's.

struct ParametresSuperviseur
{
    QString programme;
    QStringList arguments;
    QStringList codes;
    int delaiAppelS = 30;
    int pannesDeSuite = 5;
    // Acts dealt ahead of the one in flight: enough that the worker never waits for the supervisor, few
    // enough that those it finishes after Ctrl+C take a fraction of a second.
    qsizetype actesAvance = 256;
    int travailleurs = 1; // worker processes at once (never more than acts)
    bool demarrageUnique = false;
};

// The call a worker has in flight, as its journal lines say: kept per worker by the supervisor, read by the
// suivi (which alone knows what the lines mean), and handed back with a crash or hang.
struct AppelEnVol
{
    QByteArray annonce;  // the last call announced that no answer followed
    QByteArray commande; // the line that began the command running, if any
};

struct PanneTravailleur
{
    bool blocage = false;  // silent for longer than the delay, then ended; otherwise died
    qsizetype indice = -1; // of the act in flight in the list; -1 outside any act (connecting, disconnecting)
    FinTravailleur fin;    // how it died; empty for a hang
    AppelEnVol enVol;      // that worker's call in flight when it died or hung
};

class SuiviSuperviseur
{
public:
    virtual ~SuiviSuperviseur() = default;
    // A journal line of the worker's, without its end of line.
    virtual void ligneJournal(QByteArrayView ligne) = 0;
    // A message of the worker's other than "#fin"; false ends the sweep there (the worker's end then is no
    // crash).
    virtual bool message(QByteArrayView mot, QByteArrayView reste) = 0;
    virtual void finActe(qsizetype indice, qsizetype faits) = 0;
    virtual void panne(const PanneTravailleur& panne) = 0;
    // Each of a worker's journal lines, as it comes and before it waits for its act's turn: what it says of
    // the call in flight goes into that worker's `enVol`.
    virtual void suivreAppel(QByteArrayView ligne, AppelEnVol& enVol) const
    {
        Q_UNUSED(ligne);
        Q_UNUSED(enVol);
    }
    // Every line the pipe held has been handed on: the time to flush what they were written to.
    virtual void lignesLues() {}
};

class SuperviseurBalayage
{
public:
    SuperviseurBalayage(ParametresSuperviseur parametres, SuiviSuperviseur& suivi);
    ~SuperviseurBalayage();

    // Once `arret` is set (Ctrl+C), no act is dealt any more: the worker finishes those it has and
    // disconnects, or is ended after a second when it does not.
    void executer(const volatile std::sig_atomic_t* arret = nullptr);

    qsizetype actesFaits() const { return m_actesFaits; }
    int plantages() const { return m_plantages; }
    int blocages() const { return m_blocages; }
    bool interrompu() const { return m_interrompu; }
    // The sweep ended after `pannesDeSuite` crashes or hangs in a row.
    bool abandonne() const { return m_abandonne; }
    // The worker could not be started: why.
    const QString& erreurDemarrage() const { return m_erreurDemarrage; }

private:
    struct Travailleur;
    struct SortieActe;

    bool demarrer(Travailleur& travailleur);
    void distribuer();
    // Hands on, or keeps for their turn, every whole line the worker has written; false once a message ended
    // the sweep.
    bool lireLignes(Travailleur& travailleur);
    void ligneTravailleur(Travailleur& travailleur, QByteArrayView ligne);
    void acteTermine(qsizetype indice, const PanneTravailleur* panne);
    // Hands on the acts whose turn has come.
    void avancer();
    // The worker's death or hang: reported, the act in flight finished. False when the sweep ends.
    bool apresPanne(Travailleur& travailleur, bool blocage);
    void attendre();
    // Whatever was kept, in act order, once the sweep is over.
    void viderSorties();
    void arreterTous();

    ParametresSuperviseur m_parametres;
    SuiviSuperviseur& m_suivi;
    std::vector<std::unique_ptr<Travailleur>> m_travailleurs;
    std::vector<qsizetype> m_rendus; // acts a dead worker had not started, to deal again, in order
    std::unordered_map<qsizetype, std::unique_ptr<SortieActe>>
        m_sorties;            // lines and ends of acts not handed on yet
    qsizetype m_prochain = 0; // the next act never dealt
    qsizetype m_ecrit = 0;    // the first act not handed on
    qsizetype m_actesFaits = 0;
    int m_plantages = 0;
    int m_blocages = 0;
    int m_pannesDeSuite = 0;
    bool m_interrompu = false;
    bool m_abandonne = false;
    bool m_arrete = false;
    bool m_premierDemarre = false;
    QString m_erreurDemarrage;
};
