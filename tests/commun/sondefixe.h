#pragma once

#include "sondesysteme.h"

#include <QByteArray>

// A system whose ALLUSERSPROFILE the test sets (version 6.1, a workstation), so the
// configuration directory is known and can change between two clicks.
class SondeFixe : public SondeSysteme
{
public:
    explicit SondeFixe(QByteArray profil = QByteArrayLiteral("C:\\ProgramData"));

    quint32 variableEnvironnement(const char* nom, char* tampon, quint32 taille) const override;
    VersionOs versionSysteme() const override;

    QByteArray profil;
};
