#pragma once

#include <QStringList>

// One trace shared by the recording control and the scripted message boxes, so a test sees
// control accesses and boxes in the order they happened.
struct JournalTest
{
    QStringList entrees;
    void ajouter(const QString& entree) { entrees.append(entree); }
    void vider() { entrees.clear(); }
};
