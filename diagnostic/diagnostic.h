#pragma once

#include "controledispatch.h"

#include <QString>
#include <cstdio>

// banc-ccam --diagnostic: which control and which library answer, and whether they are as the tool expects.
// Writes the report to `sortie` and returns the exit status (0 as expected, 1 differences, 2 nothing
// checked).
int executerDiagnostic(const QString& progId, const FabriqueControle& fabrique, std::FILE* sortie);
