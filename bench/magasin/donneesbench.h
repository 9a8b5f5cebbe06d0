#pragma once

#include <QString>

// The full CCAM for the benchmarks: BANC_CCAM_DONNEES, given at configure time.
inline QString repertoireCcam()
{
    return QStringLiteral(BANC_CCAM_DONNEES);
}
