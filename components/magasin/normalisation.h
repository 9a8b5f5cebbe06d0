#pragma once

#include <QString>
#include <QStringList>

// One folding shared by the importer (the indexed copy of the labels) and the search (the typed
// words), so both sides agree: accents dropped, lower case, ligatures spelled out, anything that is
// not a letter or a digit turned into a space, spaces collapsed.
QString normaliserTexte(const QString& texte);
QStringList motsRecherche(const QString& texte);
