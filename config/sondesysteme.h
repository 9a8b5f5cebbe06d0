#pragma once

#include <QtGlobal>

// What the configuration path needs from the operating system, in the terms of the
// Windows calls it was first written against, so every platform answers the same way.
struct VersionOs
{
    quint32 majeure = 0;
    quint32 mineure = 0;
    // 1 workstation, 2 domain controller, 3 server; 0 when the system does not say.
    quint8 typeProduit = 0;
};

class SondeSysteme
{
public:
    virtual ~SondeSysteme() = default;

    // Copies the value of `nom` into `tampon` (zero-terminated) and returns its length without the
    // terminator; 0 when the variable is unset or empty. When the value does not fit in `taille`
    // characters, copies nothing and returns the size it needs, terminator included.
    virtual quint32 variableEnvironnement(const char* nom, char* tampon, quint32 taille) const = 0;

    // The version as the system reports it. A refusal reads as zeros (version 0, product type 0), as the
    // system's own record does, so the routine that asks needs no case of its own for it.
    virtual VersionOs versionSysteme() const = 0;
};

// The probe of the platform the program runs on.
const SondeSysteme& sondePlateforme();
