#include "conversions.h"

#include "echec.h"

#include <QDate>
#include <cmath>
#include <limits>

namespace {

enum class Lecture
{
    Nombre,
    HorsLimites,
    PasUnNombre
};

Lecture lireNombre(const QString& texte, const QLocale& locale, double& valeur)
{
    bool ok = false;
    valeur = locale.toDouble(texte, &ok);
    // Qt reads an overflowing number as infinity and says it failed; the text is a number still.
    if (!ok)
        return std::isinf(valeur) ? Lecture::HorsLimites : Lecture::PasUnNombre;
    // "inf" and "nan" are words to the operator, not numbers.
    return std::isfinite(valeur) ? Lecture::Nombre : Lecture::PasUnNombre;
}

} // namespace

QString dateReference(const QDate& date)
{
    if (!date.isValid())
        throw Echec(Echec::IncompatibiliteDeType,
                    QStringLiteral("Incompatibilité de type : date de référence invalide"));
    return date.toString(QStringLiteral("yyyyMMdd"));
}

double arrondiAuPair(double valeur)
{
    double entier = std::floor(valeur);
    const double reste = valeur - entier;
    if (reste > 0.5 || (reste == 0.5 && std::fmod(entier, 2.0) != 0.0))
        entier += 1.0;
    return entier;
}

qint32 codeSpecialite(const QString& texte, const QLocale& locale)
{
    if (texte.isEmpty())
        return 0;
    double valeur = 0.0;
    Lecture lecture = lireNombre(texte, locale, valeur);
    if (lecture == Lecture::PasUnNombre && locale != QLocale::c())
        lecture = lireNombre(texte, QLocale::c(), valeur);
    if (lecture == Lecture::PasUnNombre)
        return 0;
    const double arrondi = lecture == Lecture::Nombre ? arrondiAuPair(valeur) : valeur;
    if (lecture == Lecture::HorsLimites || arrondi < double(std::numeric_limits<qint32>::min()) ||
        arrondi > double(std::numeric_limits<qint32>::max()))
        throw Echec(Echec::Debordement,
                    QStringLiteral("Dépassement de capacité : code spécialité « %1 »").arg(texte));
    return qint32(arrondi);
}
