#include "reglesccam.h"

namespace reglesccam {

namespace {

QStringList liste(const char* codes)
{
    return QString::fromLatin1(codes).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The regrouping codes of medicine proper; every other one is a dental or prosthetic code.
const QStringList& regroupementsMedicaux()
{
    static const QStringList codes = liste("ACO ADA ADC ADE ADI ATM CAM");
    return codes;
}

} // namespace

bool estRegroupementDentaire(const QString& regroupement)
{
    return !regroupement.isEmpty() && !regroupementsMedicaux().contains(regroupement);
}

QStringList modificateursAutorises(int activite, const QString& regroupement)
{
    // Emergency modifiers F and U apply to every act; the rest follows the kind of act.
    if (activite == 4 || regroupement == QLatin1String("ADA"))
        return liste("3 4 5 7 8 A F S U");
    if (activite == 5)
        return liste("F U");
    if (regroupement == QLatin1String("ADI"))
        return liste("B C D E F U Y Z");
    if (regroupement == QLatin1String("ADE"))
        return liste("F M P U");
    if (regroupement == QLatin1String("ADC"))
        return liste("6 F J K L O P R S U");
    if (regroupement == QLatin1String("ACO"))
        return liste("F K O P S T U");
    if (regroupement == QLatin1String("ATM"))
        return liste("F M P S U");
    if (estRegroupementDentaire(regroupement))
        return liste("9 F N U");
    return liste("F U");
}

FamilleSpecialite familleSpecialite(qint32 specialite)
{
    switch (specialite) {
    case 2:  // anaesthesiology
    case 20: // intensive care
        return {liste("ADA ATM"), true};
    case 6:  // radiodiagnosis and medical imaging
    case 72: // nuclear medicine
    case 74: // radiotherapy oncology
    case 76: // radiotherapy
        return {liste("ADI ADE ATM"), true};
    case 7: // obstetrics and gynaecology
    case 77:
    case 79:
        return {liste("ACO ADC ADE ATM"), true};
    case 21: // midwives
        return {liste("ACO ADE ATM"), true};
    case 4: // the surgical specialties
    case 10:
    case 16:
    case 41:
    case 43:
    case 44:
    case 45:
    case 46:
    case 47:
    case 48:
    case 49:
        return {liste("ADC ATM ADE"), true};
    case 19: // dentists
    case 36:
    case 53:
    case 54:
    case 69:
        return {regroupementsMedicaux(), false};
    default:
        return {};
    }
}

} // namespace reglesccam
