#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The number of fields of a record in the pipe list a control member answers: 4 for the modifier list,
// 2 for an act's modifiers, regrouping codes and compatible acts; 0 for a member whose answer is a plain
// text.
int tailleEnregistrement(const QString& membre);

// A pipe list cut as the commands cut it: at every "|", an empty text giving no field, then records of
// `taille` fields from field 0 (the last one shorter when the fields do not divide evenly).
QList<QStringList> enregistrements(const QString& liste, int taille);

// One record that differs between two answers, found by its key, its first field without its spaces
// ("AAFA001", or "F#2" for the second record whose key is F).
struct DifferenceEnregistrement
{
    QString cle;
    QStringList champsA; // empty when only B has the record
    QStringList champsB; // empty when only A has it
};

// The records removed, changed or added from `a` to `b`, in A's order, then the added ones in B's.
QList<DifferenceEnregistrement> differencesEnregistrements(const QString& a, const QString& b, int taille);
