#include "ecartsidentifiants.h"

#include "controledispatch.h"
#include "tablemembres.h"

QList<EcartIdentifiant> ecartsIdentifiants(ControleDispatch& controle)
{
    QList<EcartIdentifiant> ecarts;
    for (const MembreCtlTarvo& membre : membresCtlTarvo()) {
        const QString nom = QString::fromLatin1(membre.nom.data(), qsizetype(membre.nom.size()));
        const std::optional<qint32> trouve = controle.identifiantParNom(nom);
        if (trouve != membre.dispId)
            ecarts.append({nom, membre.dispId, trouve});
    }
    return ecarts;
}

QString texteIdentifiant(std::optional<qint32> identifiant)
{
    if (!identifiant)
        return QStringLiteral("(inconnu)");
    return QStringLiteral("0x") + QString::number(static_cast<quint32>(*identifiant), 16)
                                      .toUpper()
                                      .rightJustified(8, QLatin1Char('0'));
}
