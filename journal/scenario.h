#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

class QIODevice;

// One step of a scenario, one JSON object a line:
//   {"remplir": "txtCodeCCAM", "texte": " LHQK005"}   text of a text box
//   {"cocher": "chkSRT", "valeur": 1}                 check box: 0, 1, or 2 (greyed)
//   {"choisir": "CboGrille", "index": 2}              entry of a drop-down list
//   {"date": "DTPicker1", "valeur": "20100101"}       date picker, YYYYMMDD
//   {"cliquer": "Command4"}                           presses a button
//   {"repondre": "OK"} / {"repondre": "Annuler"}      answers the next box or input box
//   {"saisir": "HFFC004"}                             types into the next input box and confirms it
//   {"selectionner": "LHQK005"} / {"selectionner": null}  chooses in the selection dialog, or cancels it
//   {"boite_native": "Base introuvable", "bouton": "OK"}  answers the control's next native box, if its text
//                                                      holds that text, with the button of that label
struct EtapeScenario
{
    enum class Genre
    {
        Remplir,
        Cocher,
        Choisir,
        Date,
        Cliquer,
        Repondre,
        Saisir,
        Selectionner,
        BoiteNative
    };

    Genre genre = Genre::Cliquer;
    int ligne = 0;  // in the file, from 1
    QString action; // the step's key: "remplir", "cliquer", ...
    QString cible;  // the control's name (remplir, cocher, choisir, date, cliquer)
    QString texte;  // remplir, date (YYYYMMDD), saisir; "OK" or "Annuler" for repondre; the box's
                    // text for boite_native
    QString bouton; // boite_native: the label of the button to press
    int entier = 0; // cocher, choisir
    std::optional<QString> acte; // selectionner; none cancels the dialog
    QJsonObject objet;           // the line as written, for the journal

    // An answer to a box or dialog that a command shows, rather than an action of its own.
    bool estReponse() const
    {
        return genre == Genre::Repondre || genre == Genre::Saisir || genre == Genre::Selectionner ||
               genre == Genre::BoiteNative;
    }
};

struct LectureScenario
{
    QList<EtapeScenario> etapes;
    // Empty when the whole file was read; otherwise what is wrong, at line `ligneErreur` (0: the file).
    QString erreur;
    int ligneErreur = 0;
};

// Blank lines are skipped; anything else must be one step. Reading stops at the first malformed line.
LectureScenario lireScenario(QIODevice& source);
LectureScenario lireFichierScenario(const QString& chemin);
