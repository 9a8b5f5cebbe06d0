#include "membresctltarvo.h"

#include "controledispatch.h"
#include "echec.h"
#include "nombretexte.h"
#include "tablemembres.h"
#include "valeurautomation.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QVariant>

namespace {

QLocale localeSansGroupes()
{
    // Numbers read from the control show as the operator writes them: "1234,5", not "1 234,5".
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

QString texteLu(const QVariant& valeur, qint32 dispId)
{
    // Empty, as a function that assigned nothing answers, reads as the empty text; Null is no text at all.
    if (!valeur.isValid())
        return QString();
    switch (valeur.typeId()) {
    case QMetaType::Nullptr:
        throw Echec(Echec::UtilisationIncorrecteDeNull, QStringLiteral("Utilisation incorrecte de Null"));
    case QMetaType::Bool: {
        const bool francais = QLocale().language() == QLocale::French;
        if (valeur.toBool())
            return francais ? QStringLiteral("Vrai") : QStringLiteral("True");
        return francais ? QStringLiteral("Faux") : QStringLiteral("False");
    }
    case QMetaType::QDate:
        return QLocale().toString(valeur.toDate(), QLocale::ShortFormat);
    case QMetaType::QDateTime: {
        // The runtime leaves out a time of midnight and a date of 30/12/1899 (its day zero).
        const QDateTime moment = valeur.toDateTime();
        QStringList parties;
        if (moment.date() != QDate(1899, 12, 30))
            parties.append(QLocale().toString(moment.date(), QLocale::ShortFormat));
        if (moment.time() != QTime(0, 0))
            parties.append(moment.time().toString(QStringLiteral("HH:mm:ss")));
        return parties.isEmpty() ? QStringLiteral("00:00:00") : parties.join(QLatin1Char(' '));
    }
    case QMetaType::QString:
        return valeur.toString();
    case QMetaType::QChar:
        return QString(valeur.toChar());
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        return localeSansGroupes().toString(valeur.toLongLong());
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return localeSansGroupes().toString(valeur.toULongLong());
    case QMetaType::Float:
        return texteDepuisR4(valeur.toFloat(), QLocale());
    case QMetaType::Double:
        return texteDepuisR8(valeur.toDouble(), QLocale());
    default:
        break;
    }
    if (valeur.metaType() == QMetaType::fromType<ValeurNonScalaire>())
        throw Echec(Echec::IncompatibiliteDeType,
                    QStringLiteral("Incompatibilité de type (%1)")
                        .arg(nomTypeAutomation(valeur.value<ValeurNonScalaire>().type)));
    const QString genre = QString::fromLatin1(valeur.typeName());
    throw Echec(
        Echec::IncompatibiliteDeType,
        QStringLiteral("Incompatibilité de type : %1 a répondu une valeur %2").arg(nomMembre(dispId), genre));
}

MembresCtlTarvo::MembresCtlTarvo(ControleDispatch& controle)
    : m_controle(controle)
{}

void MembresCtlTarvo::setCheminConfig(const QString& valeur)
{
    m_controle.ecrire(DispId::CheminConfig, valeur);
}

void MembresCtlTarvo::setSRTSeulement(qint32 valeur)
{
    m_controle.ecrire(DispId::SRTSeulement, valeur);
}

void MembresCtlTarvo::setCodeSpecialite(qint32& valeur)
{
    QVariant reference(valeur);
    m_controle.ecrireParReference(DispId::CodeSpecialite, reference);
    if (reference.typeId() == QMetaType::Int)
        valeur = reference.toInt();
}

void MembresCtlTarvo::setCodeActe(const QString& valeur)
{
    m_controle.ecrire(DispId::CodeActe, valeur);
}

void MembresCtlTarvo::setCodeActeParReference(QString& valeur)
{
    QVariant reference(valeur);
    m_controle.ecrireParReference(DispId::CodeActe, reference);
    if (reference.typeId() == QMetaType::QString)
        valeur = reference.toString();
}

void MembresCtlTarvo::setDateReference(const QString& valeur)
{
    m_controle.ecrire(DispId::DateReference, valeur);
}

void MembresCtlTarvo::setGrilleTarifaire(const QString& valeur)
{
    m_controle.ecrire(DispId::GrilleTarifaire, valeur);
}

QString MembresCtlTarvo::CodeActe()
{
    return lire(DispId::CodeActe);
}

QString MembresCtlTarvo::LibelleLongActe()
{
    return lire(DispId::LibelleLongActe);
}

QString MembresCtlTarvo::LibelleCourtActe()
{
    return lire(DispId::LibelleCourtActe);
}

QString MembresCtlTarvo::Modificateurs()
{
    return lire(DispId::Modificateurs);
}

QString MembresCtlTarvo::ModificateursActivite1()
{
    return lire(DispId::ModificateursActivite1);
}

QString MembresCtlTarvo::ModificateursActivite4()
{
    return lire(DispId::ModificateursActivite4);
}

QString MembresCtlTarvo::ModificateursActivite5()
{
    return lire(DispId::ModificateursActivite5);
}

QString MembresCtlTarvo::PrixActe()
{
    return lire(DispId::PrixActe);
}

QString MembresCtlTarvo::CodeRegroupement()
{
    return lire(DispId::CodeRegroupement);
}

void MembresCtlTarvo::SelectionActe()
{
    m_controle.appeler(DispId::SelectionActe);
}

QString MembresCtlTarvo::LireLibelle()
{
    return appeler(DispId::LireLibelle);
}

QString MembresCtlTarvo::LirePrix()
{
    return appeler(DispId::LirePrix);
}

QString MembresCtlTarvo::LireModificateurs()
{
    return appeler(DispId::LireModificateurs);
}

QString MembresCtlTarvo::LireModificateursActe()
{
    return appeler(DispId::LireModificateursActe);
}

QString MembresCtlTarvo::LireRegroupements()
{
    return appeler(DispId::LireRegroupements);
}

QString MembresCtlTarvo::LireLibelleLong()
{
    return appeler(DispId::LireLibelleLong);
}

QString MembresCtlTarvo::LireActesCompatibles()
{
    return appeler(DispId::LireActesCompatibles);
}

QString MembresCtlTarvo::lire(qint32 dispId)
{
    return texteLu(m_controle.lire(dispId), dispId);
}

QString MembresCtlTarvo::appeler(qint32 dispId)
{
    return texteLu(m_controle.appeler(dispId), dispId);
}
