#include "fabriquecontrole.h"
#include "fabriquectltarvo.h"

FabriqueControle fabriqueControle(const QString& nom, QString& erreur)
{
    if (nom.isEmpty() || nom == QStringView(controleInterne))
        return &creerCtlTarvo;
    erreur =
        QStringLiteral("--controle : seul « interne » existe sur ce système (un contrôle COM ne s'héberge "
                       "que sous Windows)");
    return {};
}

FabriqueControle fabriqueControlePlateforme()
{
    return &creerCtlTarvo;
}
