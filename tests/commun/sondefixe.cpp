#include "sondefixe.h"

#include <cstring>

SondeFixe::SondeFixe(QByteArray profil)
    : profil(std::move(profil))
{}

quint32 SondeFixe::variableEnvironnement(const char*, char* tampon, quint32 taille) const
{
    const auto longueur = quint32(profil.size());
    if (longueur == 0)
        return 0;
    if (longueur >= taille)
        return longueur + 1;
    std::memcpy(tampon, profil.constData(), longueur + 1);
    return longueur;
}

VersionOs SondeFixe::versionSysteme() const
{
    return {6, 1, 1};
}
