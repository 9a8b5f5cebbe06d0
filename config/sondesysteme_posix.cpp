#include "sondesysteme.h"

#include <cstdlib>
#include <cstring>

namespace {

// Away from Windows the version number is fixed at 6.1, a workstation: that takes the rows of
// systems 6.0 and later, where the configuration sits straight under the all-users directory.
constexpr quint32 MajeureFixe = 6;
constexpr quint32 MineureFixe = 1;
constexpr quint8 TypeProduitFixe = 1;

class SondePosix final : public SondeSysteme
{
public:
    quint32 variableEnvironnement(const char* nom, char* tampon, quint32 taille) const override
    {
        const char* valeur = std::getenv(nom);
        if (valeur == nullptr)
            return 0;
        const std::size_t longueur = std::strlen(valeur);
        if (longueur == 0)
            return 0;
        if (longueur >= taille)
            return static_cast<quint32>(longueur + 1);
        std::memcpy(tampon, valeur, longueur + 1);
        return static_cast<quint32>(longueur);
    }

    VersionOs versionSysteme() const override { return {MajeureFixe, MineureFixe, TypeProduitFixe}; }
};

} // namespace

const SondeSysteme& sondePlateforme()
{
    static const SondePosix sonde;
    return sonde;
}
