#include "utils.h"

#include "sondesysteme.h"

#include <QByteArray>
#include <limits>

namespace {

constexpr quint32 TailleTampon = 255;
const QString InfixeAncienSysteme = QStringLiteral("\\Application Data");
const QString FinChemin = QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf\\SESAM.ini");
constexpr qsizetype LongueurNomFichier = 10; // "\SESAM.ini"

} // namespace

namespace Utils {

QString LireVariableEnvironnement(const QString& nom, const SondeSysteme& sonde)
{
    const QByteArray nomLocal = nom.toLocal8Bit();
    QByteArray tampon(TailleTampon, ' ');
    quint32 n = sonde.variableEnvironnement(nomLocal.constData(), tampon.data(), TailleTampon);
    if (n == 0)
        return {};
    // A value that does not fit comes back as the size it needs: ask again with that size rather
    // than hand on the spaces of a buffer the system never wrote.
    while (n >= static_cast<quint32>(tampon.size())) {
        if (n > static_cast<quint32>(std::numeric_limits<int>::max()))
            return {};
        tampon = QByteArray(static_cast<qsizetype>(n), ' ');
        n = sonde.variableEnvironnement(nomLocal.constData(), tampon.data(), n);
        if (n == 0)
            return {};
    }
    return QString::fromLocal8Bit(tampon.constData(), static_cast<qsizetype>(n));
}

qint32 VersionSysteme(qint32& typeProduit, const SondeSysteme& sonde)
{
    const VersionOs version = sonde.versionSysteme(); // a refusal is zeros: version 0, product type 0
    const qint64 nombre = qint64(version.majeure) * 10 + qint64(version.mineure);
    if (nombre > std::numeric_limits<qint32>::max())
        return 0; // the overflow ends the routine with 0 and leaves the caller's product type
    typeProduit = version.typeProduit;
    return static_cast<qint32>(nombre);
}

bool EstVersion60(const SondeSysteme& sonde)
{
    qint32 typeProduit = 0;
    return VersionSysteme(typeProduit, sonde) == 60;
}

bool EstServeur60OuPlus(const SondeSysteme& sonde)
{
    qint32 typeProduit = 0;
    const qint32 version = VersionSysteme(typeProduit, sonde);
    if (version == 60)
        return typeProduit != 1;
    return version >= 61;
}

QString CheminSesamIni(const SondeSysteme& sonde)
{
    const QString valeur = LireVariableEnvironnement(QStringLiteral("ALLUSERSPROFILE"), sonde);
    // Both probes run, in this order, whatever the first one says.
    const bool version60 = EstVersion60(sonde);
    const bool serveur60OuPlus = EstServeur60OuPlus(sonde);
    QString base = valeur;
    if (!(version60 || serveur60OuPlus))
        base += InfixeAncienSysteme;
    return base + FinChemin;
}

QString repertoireConfiguration(const SondeSysteme& sonde)
{
    return CheminSesamIni(sonde).chopped(LongueurNomFichier);
}

} // namespace Utils
