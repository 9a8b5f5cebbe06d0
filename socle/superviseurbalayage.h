#pragma once

#include "travailleur.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <csignal>
#include <memory>

class QProcess;

// A sweep whose component runs in a worker process of the same program, so that a crash or a call that never
// returns costs one act, not the night. The worker reads act codes on its standard input, one a line, and
// writes on its standard output its journal lines ("{...}") and its own messages ("#mot reste"), "#fin" at
// the end of each act; at the end of its input it closes what it opened and exits with 0.
//
// The supervisor deals the acts a few ahead, hands every line on in the order written, and when the worker
// dies or stays silent for longer than the delay, reports it, starts a fresh one and goes on with the act
// after the one in flight. A run of crashes or hangs without an act finished between them ends the sweep.

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
};

struct PanneTravailleur
{
    bool blocage = false;  // silent for longer than the delay, then ended; otherwise died
    qsizetype indice = -1; // of the act in flight in the list; -1 outside any act (connecting, disconnecting)
    FinTravailleur fin;    // how it died; empty for a hang
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
    bool demarrer();
    void distribuer();
    // Hands on every whole line the worker has written; false once a message ended the sweep.
    bool lireLignes();
    // The worker's death or hang: reported, the act in flight counted done. False when the sweep ends.
    bool apresPanne(bool blocage);

    ParametresSuperviseur m_parametres;
    SuiviSuperviseur& m_suivi;
    std::unique_ptr<QProcess> m_travailleur;
    QElapsedTimer m_silence;
    QByteArray m_tampon;      // the worker's output not yet cut into lines
    qsizetype m_premier = 0;  // the first act dealt and not finished
    qsizetype m_prochain = 0; // the next act to deal
    qsizetype m_actesFaits = 0;
    int m_plantages = 0;
    int m_blocages = 0;
    int m_pannesDeSuite = 0;
    bool m_interrompu = false;
    bool m_abandonne = false;
    bool m_arrete = false;
    bool m_entreeFermee = false;
    QString m_erreurDemarrage;
};
