#include "contexteproprietes.h"

#include "echec.h"
#include "tablemembres.h"

#include <QDate>

namespace {

[[noreturn]] void valeurInvalide(qint32 dispId, const QString& texte, const QString& attendu)
{
    throw Echec(Echec::EchecComposant, QStringLiteral("Valeur invalide pour %1 : « %2 » (%3 attendu)")
                                           .arg(nomMembre(dispId), texte, attendu));
}

bool queDesChiffres(const QString& texte)
{
    if (texte.isEmpty())
        return false;
    for (QChar c : texte) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString texteEcrit(const ProprietesEcrites& proprietes, qint32 dispId)
{
    return texteValeur(proprietes.value(dispId)).trimmed();
}

} // namespace

QString texteValeur(const QVariant& valeur)
{
    if (!valeur.isValid() || valeur.isNull())
        return {};
    if (valeur.typeId() == QMetaType::Bool)
        return valeur.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return valeur.toString();
}

ContexteRequete contexteDepuisProprietes(const ProprietesEcrites& proprietes)
{
    ContexteRequete contexte;

    const QString date = texteEcrit(proprietes, DispId::DateReference);
    if (!date.isEmpty()) {
        if (date.size() != 8 || !queDesChiffres(date) ||
            !QDate::fromString(date, QStringLiteral("yyyyMMdd")).isValid())
            valeurInvalide(DispId::DateReference, date, QStringLiteral("date AAAAMMJJ"));
        contexte.dateReference = date;
    }

    // The host sends the grid's list text ("001"); an integer 1 means the same grid.
    const QString grille = texteEcrit(proprietes, DispId::GrilleTarifaire);
    if (!grille.isEmpty()) {
        const int numero = queDesChiffres(grille) && grille.size() <= 3 ? grille.toInt() : -1;
        if (numero < 0 || numero > 19)
            valeurInvalide(DispId::GrilleTarifaire, grille, QStringLiteral("grille 000 à 019"));
        contexte.grille = QStringLiteral("%1").arg(numero, 3, 10, QLatin1Char('0'));
    }

    const QString specialite = texteEcrit(proprietes, DispId::CodeSpecialite);
    if (!specialite.isEmpty()) {
        bool ok = false;
        const qint32 valeur = specialite.toInt(&ok);
        if (!ok || valeur < 0)
            valeurInvalide(DispId::CodeSpecialite, specialite, QStringLiteral("entier positif ou nul"));
        contexte.specialite = valeur;
    }

    const QString srt = texteEcrit(proprietes, DispId::SRTSeulement);
    if (!srt.isEmpty()) {
        bool ok = false;
        const qint64 valeur = srt.toLongLong(&ok);
        if (!ok)
            valeurInvalide(DispId::SRTSeulement, srt, QStringLiteral("0 ou 1"));
        contexte.srtSeulement = valeur != 0;
    }
    return contexte;
}

QString codeActeDepuisProprietes(const ProprietesEcrites& proprietes)
{
    return texteEcrit(proprietes, DispId::CodeActe).toUpper();
}
