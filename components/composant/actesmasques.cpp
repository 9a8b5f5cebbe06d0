#include "actesmasques.h"

#include <QDate>
#include <QStringList>

namespace {

QString parRaison(MagasinCcam::Masque raison, const ContexteRequete& contexte)
{
    switch (raison) {
    case MagasinCcam::Masque::Date: {
        const QDate date = contexte.dateReference.isEmpty()
                               ? QDate::currentDate()
                               : QDate::fromString(contexte.dateReference, QStringLiteral("yyyyMMdd"));
        return QStringLiteral("par la date du %1")
            .arg(date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : contexte.dateReference);
    }
    case MagasinCcam::Masque::Srt:
        return QStringLiteral("par « SRT uniquement »");
    case MagasinCcam::Masque::Specialite:
        // The specialty as the operator typed it in the window: two digits.
        return QStringLiteral("par la spécialité %1").arg(contexte.specialite, 2, 10, QLatin1Char('0'));
    case MagasinCcam::Masque::Aucun:
        break;
    }
    return {};
}

QString actes(qint64 nombre)
{
    return nombre == 1 ? QStringLiteral("1 acte masqué") : QStringLiteral("%1 actes masqués").arg(nombre);
}

} // namespace

QString texteActesMasques(const ActesMasques& masques, const ContexteRequete& contexte)
{
    // The specialty first: with the window's default specialty it is the reason met most.
    const std::pair<qint64, MagasinCcam::Masque> raisons[] = {
        {masques.parSpecialite, MagasinCcam::Masque::Specialite},
        {masques.parSrt, MagasinCcam::Masque::Srt},
        {masques.parDate, MagasinCcam::Masque::Date},
    };
    QStringList parties;
    MagasinCcam::Masque seule = MagasinCcam::Masque::Aucun;
    for (const auto& [nombre, raison] : raisons) {
        if (nombre > 0) {
            parties.append(QStringLiteral("%1 %2").arg(nombre).arg(parRaison(raison, contexte)));
            seule = raison;
        }
    }
    if (parties.isEmpty())
        return {};
    if (parties.size() == 1)
        return actes(masques.total()) + QLatin1Char(' ') + parRaison(seule, contexte);
    return actes(masques.total()) + QStringLiteral(" : ") + parties.join(QStringLiteral(", "));
}
