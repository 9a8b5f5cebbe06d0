#include "controlecom.h"
#include "echec.h"
#include "fabriquecontrole.h"
#include "fabriquectltarvo.h"

#include <QUuid>

namespace {

// A sentence that ends with its own full stop, the system's among them, keeps it alone.
QString phraseTerminee(const QString& texte)
{
    return texte.endsWith(QLatin1Char('.')) ? texte : texte + QLatin1Char('.');
}

FabriqueControle fabriqueCom(const QString& identite)
{
    return [identite](QWidget* fenetre) {
        try {
            return creerControleCom(identite, fenetre);
        } catch (const Echec& echec) {
            // The operator reads this at start: say what would make the control there.
            if (echec.numero() != Echec::CreationImpossible)
                throw;
            throw Echec(
                echec.numero(),
                phraseTerminee(echec.description()) +
                    QStringLiteral(" Inscrivez-le (regsvr32 LecTarvo.ocx pour le nôtre), ou lancez le "
                                   "banc avec --controle interne."));
        }
    };
}

} // namespace

FabriqueControle fabriqueControle(const QString& nom, QString& erreur)
{
    if (nom == QStringView(controleInterne))
        return &creerCtlTarvo;
    if (nom.isEmpty())
        return fabriqueCom(QString::fromUtf16(progIdCtlTarvo));
    if (nom.startsWith(QLatin1Char('{')) && QUuid::fromString(nom).isNull()) {
        erreur =
            QStringLiteral("--controle : « %1 » n'est pas un identifiant de classe {xxxxxxxx-xxxx-xxxx-xxxx-"
                           "xxxxxxxxxxxx}")
                .arg(valeurCitee(nom));
        return {};
    }
    if (nom.trimmed() != nom || nom.contains(QLatin1Char(' '))) {
        erreur = QStringLiteral("--controle : « %1 » n'est ni « interne », ni un ProgID, ni un {CLSID}")
                     .arg(valeurCitee(nom));
        return {};
    }
    return fabriqueCom(nom);
}

FabriqueControle fabriqueControlePlateforme()
{
    return fabriqueCom(QString::fromUtf16(progIdCtlTarvo));
}
