// The configuration path built from any environment value (any length, any bytes) and any
// system version: never a crash, and always the value, the right infix and the fixed tail.
#include "sondesysteme.h"
#include "utils.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class SondeFuzz final : public SondeSysteme
{
public:
    QByteArray valeur;
    VersionOs version;
    bool refusee = false;

    quint32 variableEnvironnement(const char*, char* tampon, quint32 taille) const override
    {
        const auto longueur = static_cast<quint32>(valeur.size());
        if (longueur == 0)
            return 0;
        if (longueur >= taille)
            return longueur + 1;
        std::memcpy(tampon, valeur.constData(), longueur + 1);
        return longueur;
    }

    VersionOs versionSysteme() const override { return refusee ? VersionOs{} : version; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    if (taille < 10)
        return 0;
    SondeFuzz sonde;
    std::memcpy(&sonde.version.majeure, donnees, 4);
    std::memcpy(&sonde.version.mineure, donnees + 4, 4);
    sonde.version.typeProduit = donnees[8];
    sonde.refusee = (donnees[9] & 1) != 0;
    // An environment value ends at its first NUL, as the system's own would.
    const char* debut = reinterpret_cast<const char*>(donnees + 10);
    sonde.valeur = QByteArray(debut, static_cast<qsizetype>(strnlen(debut, taille - 10)));

    const QString chemin = Utils::CheminSesamIni(sonde);
    const QString attendu = QString::fromLocal8Bit(sonde.valeur);
    const QString fin = QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf\\SESAM.ini");
    if (!chemin.startsWith(attendu) || !chemin.endsWith(fin))
        std::abort();

    const quint64 nombre = quint64(sonde.version.majeure) * 10 + sonde.version.mineure;
    const bool recent = !sonde.refusee && nombre >= 60 && nombre <= 0x7FFFFFFF;
    const QString milieu = chemin.mid(attendu.size(), chemin.size() - attendu.size() - fin.size());
    if (milieu != (recent ? QString() : QStringLiteral("\\Application Data")))
        std::abort();
    if (Utils::repertoireConfiguration(sonde) != chemin.chopped(10))
        std::abort();
    return 0;
}
