#pragma once

#include <QString>

class SondeSysteme;

// Where the health-card software keeps SESAM.ini on this machine. No state: every call reads
// the environment and the system version afresh.
namespace Utils {

QString CheminSesamIni(const SondeSysteme& sonde);

QString LireVariableEnvironnement(const QString& nom, const SondeSysteme& sonde);

// Major version times ten plus minor (6.1 gives 61); 0 when the probe fails. `typeProduit`
// receives the product type only when the probe succeeds.
qint32 VersionSysteme(qint32& typeProduit, const SondeSysteme& sonde);

bool EstVersion60(const SondeSysteme& sonde);
bool EstServeur60OuPlus(const SondeSysteme& sonde);

// The directory of SESAM.ini: the path less its last ten characters ("\SESAM.ini").
QString repertoireConfiguration(const SondeSysteme& sonde);

} // namespace Utils
