#pragma once

#include <QString>
#include <QStringList>

// The rules that are ours, not the CCAM's: no public data says which modifiers an act allows or what
// a specialty may bill. README.md states them; keep both in step.
namespace reglesccam {

// Modifier codes allowed for an activity of an act whose regrouping code is given.
QStringList modificateursAutorises(int activite, const QString& regroupement);

// Regrouping codes that a specialty's searches keep. inclure false means "every code but these".
// An empty list with inclure true means no restriction.
struct FamilleSpecialite
{
    QStringList regroupements;
    bool inclure = true;
};
FamilleSpecialite familleSpecialite(qint32 specialite);

bool estRegroupementDentaire(const QString& regroupement);

} // namespace reglesccam
