#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>
#include <csignal>
#include <optional>

// What a sweep shows and hears on a console, for both programs that sweep a list of acts.

// Progress on the standard error: a bar redrawn at most ten times a second on a terminal (the count, acts
// per second and the time left); a line per tenth of the acts otherwise, so a log file stays short.
class ProgressionBalayage
{
public:
    explicit ProgressionBalayage(qsizetype total);

    void avancer(qsizetype fait);
    // Ends the bar's line, when one was drawn.
    void terminer();

private:
    qsizetype m_total;
    bool m_terminal;
    QElapsedTimer m_chrono;
    qint64 m_dernierAffichage = -1000;
    qsizetype m_dernierDixieme = 0;
    bool m_barreAffichee = false;
};

// Ctrl+C asks the sweep to stop after the current act, for as long as this object lives: the previous
// handler comes back with its end. One at a time.
class ArretBalayage
{
public:
    ArretBalayage();
    ~ArretBalayage();
    ArretBalayage(const ArretBalayage&) = delete;
    ArretBalayage& operator=(const ArretBalayage&) = delete;

    // Set once Ctrl+C is pressed; read between acts.
    const volatile std::sig_atomic_t* demande() const;

private:
    void (*m_precedent)(int);
};

// --delai-appel SECONDES of both sweeps: its help, and its value read (1 to 86400), or nothing with the
// refusal in `refus`.
QString descriptionDelaiAppel();
std::optional<int> lireDelaiAppel(const QString& texte, QString& refus);

// The standard error's line of a sweep Ctrl+C stopped.
QString texteInterruption(qsizetype faits, qsizetype total);
