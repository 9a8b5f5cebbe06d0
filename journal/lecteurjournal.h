#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

class QIODevice;
struct GenreEvenement;

// The scenario steps up to one command, and that command's events, each line without its number, time and
// durations, which change from run to run: two lines of the same answers are then the same bytes. A call of
// the library's sweep is a block of its own, as a command is: its one event, named by its entry point and
// act.
struct BlocCommande
{
    QList<QByteArray> etapes;
    bool commande = false; // false: the journal's end
    bool appel = false;    // a call of the library's sweep; bouton holds its entry point
    bool panne = false;    // that call or command crashed or hung its worker: the act's later ones never ran
    QString bouton;
    QString acte;
    int ligneScenario = 0; // of the last step before the command
    QList<QByteArray> evenements;
    QJsonValue statutFin = QJsonValue::Undefined;
    const GenreEvenement* genreFin = nullptr; // fin_scenario or fin_balayage, once read
};

// Reads a journal as a stream, one command at a time: memory holds one block, whatever the journal's length.
class LecteurJournal
{
public:
    // `nom` names the journal in the messages.
    LecteurJournal(QIODevice& source, const QString& nom);

    // The next block; false, with `erreur` naming the file and line, for a line that is not an event.
    bool lire(BlocCommande& bloc, QString& erreur);

private:
    void ouvrir(BlocCommande& bloc, const QByteArray& ligne);

    QIODevice& m_source;
    QString m_nom;
    int m_numero = 0;
    int m_derniereLigne = 0;
    QByteArray m_enAttente;
};
