#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One record that differs between two answers, found by its key: a field without its spaces ("AAFA001", or
// "F#2" for the second record whose key is F), or its rank from 1 ("1").
struct DifferenceEnregistrement
{
    QString cle;
    QStringList champsA; // empty when only B has the record
    QStringList champsB; // empty when only A has it
};

// The records removed, changed or added from `a` to `b`, two pipe lists of records of `taille` fields cut
// as the commands cut them (an incomplete last record is no record), in A's order, then the added ones in
// B's.
QList<DifferenceEnregistrement> differencesEnregistrements(const QString& a, const QString& b,
                                                           qsizetype taille);

// The same over records already cut, keyed by field `champCle` (a record without it has the empty key), or
// by rank when it is CleEnregistrements::ParRang.
QList<DifferenceEnregistrement> differencesEnregistrements(const QList<QStringList>& a,
                                                           const QList<QStringList>& b, qsizetype champCle);
