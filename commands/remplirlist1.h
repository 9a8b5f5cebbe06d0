#pragma once

#include <QStringList>

class QListView;

// Replaces every line of List1 at once. The caller has the control's answer and its lines in
// hand already, so a failed query never reaches this and List1 keeps its lines.
void remplirList1(QListView* liste, QStringList lignes);
