#pragma once

#include <QDate>
#include <QString>

// What the operator types into one part of a date shown day, month, year, as a date picker takes it: digits
// fill the part and, once it can hold no more, the picker moves on to the next part; a separator moves on
// as well. No widget here: the picker (DTPicker1) asks and moves.
class SaisieDate
{
public:
    enum class Partie
    {
        Jour,
        Mois,
        Annee
    };

    struct Resultat
    {
        QDate date;            // the date to show now
        bool partieComplete{}; // the part can hold no more digits: move on to the next one
    };

    // One digit (0 to 9) typed into the part. A day or a month shows from its first digit; a year shows
    // once its four digits are in. A day past the month's end shows as the month's last day, but the day
    // typed is kept for the month and the year that follow ("31" then "03" gives the 31st of March).
    Resultat chiffre(const QDate& date, Partie partie, int chiffre);
    // A separator: what the part holds is taken and the picker moves on, unless the part has just been
    // entered by itself (the "/" typed after a complete day, as in "01/01/2010").
    Resultat separateur(const QDate& date, Partie partie);
    // The part is left (separator, another part, focus elsewhere): what it holds is taken. A two-digit year
    // reads as the system reads it, 1930 to 2029.
    QDate terminer(const QDate& date, Partie partie);
    // Forgets the digits typed so far and the day kept: the next digit starts the part anew.
    void oublier();

    // The digits typed into the part so far, not yet all shown (a year being typed).
    const QString& enCours() const { return m_chiffres; }

private:
    QDate avecJour(const QDate& date, int jour) const;
    QDate avecMois(const QDate& date, int mois) const;
    QDate avecAnnee(const QDate& date, int annee) const;

    QString m_chiffres;
    int m_jourVoulu = 0;        // 0: the date's own day
    bool m_entreeSeule = false; // the last digit completed the part before this one
};
