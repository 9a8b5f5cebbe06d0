#include "controletarvo.h"

#include <QString>

QString nomMembre(qint32 dispId)
{
    switch (dispId) {
    case DispId::CheminConfig:
        return QStringLiteral("CheminConfig");
    case DispId::SRTSeulement:
        return QStringLiteral("SRTSeulement");
    case DispId::CodeSpecialite:
        return QStringLiteral("CodeSpecialite");
    case DispId::CodeActe:
        return QStringLiteral("CodeActe");
    case DispId::LibelleLongActe:
        return QStringLiteral("LibelleLongActe");
    case DispId::LibelleCourtActe:
        return QStringLiteral("LibelleCourtActe");
    case DispId::DateReference:
        return QStringLiteral("DateReference");
    case DispId::Modificateurs:
        return QStringLiteral("Modificateurs");
    case DispId::ModificateursActivite1:
        return QStringLiteral("ModificateursActivite1");
    case DispId::ModificateursActivite4:
        return QStringLiteral("ModificateursActivite4");
    case DispId::ModificateursActivite5:
        return QStringLiteral("ModificateursActivite5");
    case DispId::PrixActe:
        return QStringLiteral("PrixActe");
    case DispId::CodeRegroupement:
        return QStringLiteral("CodeRegroupement");
    case DispId::GrilleTarifaire:
        return QStringLiteral("GrilleTarifaire");
    case DispId::SelectionActe:
        return QStringLiteral("SelectionActe");
    case DispId::LireLibelle:
        return QStringLiteral("LireLibelle");
    case DispId::LirePrix:
        return QStringLiteral("LirePrix");
    case DispId::LireModificateurs:
        return QStringLiteral("LireModificateurs");
    case DispId::LireModificateursActe:
        return QStringLiteral("LireModificateursActe");
    case DispId::LireRegroupements:
        return QStringLiteral("LireRegroupements");
    case DispId::LireLibelleLong:
        return QStringLiteral("LireLibelleLong");
    case DispId::LireActesCompatibles:
        return QStringLiteral("LireActesCompatibles");
    }
    return QStringLiteral("0x%1").arg(quint32(dispId), 8, 16, QLatin1Char('0'));
}
