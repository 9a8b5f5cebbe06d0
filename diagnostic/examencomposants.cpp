#include "examencomposants.h"

#include "chargeurbibliotheque.h"
#include "echec.h"
#include "formatbinaire.h"
#include "marquesubstitut.h"
#include "sondecomposants.h"
#include "tarvo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

const QString nomBibliotheque = QStringLiteral("TarvoLib");

FichierComposant fichier(const QString& chemin)
{
    FichierComposant f;
    f.chemin = QDir::toNativeSeparators(chemin);
    f.existe = QFileInfo(chemin).isFile();
    if (f.existe) {
        f.version = SondeComposants::versionFichier(chemin);
        f.bits = FormatBinaire::bits(chemin);
    }
    return f;
}

bool porteLaMarque(const QString& chemin)
{
    QFile f(chemin);
    // A library of a few megabytes: read whole, once.
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(QByteArrayView(TARVOLIB_MARQUE_SUBSTITUT));
}

// The names a stdcall export keeps when the linker did not strip its decoration: "_Nom@octets", "Nom@octets".
QString exportDecore(void* poignee, const QString& nom)
{
    for (int octets = 0; octets <= 64; octets += 4) {
        for (const QString& decore :
             {QStringLiteral("_%1@%2").arg(nom).arg(octets), QStringLiteral("%1@%2").arg(nom).arg(octets)}) {
            QString raison;
            if (ChargeurBibliotheque::symbole(poignee, decore.toLatin1().constData(), raison) != nullptr)
                return decore;
        }
    }
    return {};
}

} // namespace

ConstatControle examinerControle(const QString& progId, const FabriqueControle& fabrique)
{
    ConstatControle constat = SondeComposants::inscriptionControle(progId);
    if (!constat.integre && constat.inscription.porteeProgId == Portee::Aucune)
        return constat;
    try {
        const std::unique_ptr<ControleDispatch> controle = fabrique ? fabrique(nullptr) : nullptr;
        if (!controle) {
            constat.echecCreation = QStringLiteral("aucun contrôle n'a été créé");
            return constat;
        }
        constat.cree = true;
        constat.ecarts = ecartsIdentifiants(*controle);
    } catch (const Echec& echec) {
        constat.echecCreation = QStringLiteral("erreur %1 : %2").arg(echec.numero()).arg(echec.description());
    } catch (const std::exception& exception) {
        constat.echecCreation = QString::fromLocal8Bit(exception.what());
    }
    return constat;
}

ConstatBibliotheque examinerBibliotheque(const QString& chemin)
{
    ConstatBibliotheque constat;
    constat.nom = ChargeurBibliotheque::nomFichier(nomBibliotheque);
    // The same search as the tool's module: the file named here is the one its calls would reach.
    const ChargeurBibliotheque::Ouverture ouverture = ChargeurBibliotheque::ouvrir(
        nomBibliotheque, chemin.isEmpty() ? chemin : QFileInfo(chemin).absoluteFilePath());
    if (ouverture.poignee == nullptr) {
        constat.numeroEchec = ouverture.numero;
        constat.echec = ouverture.raison;
        if (ouverture.numero == Echec::ChargementImpossible)
            constat.fichier = fichier(ouverture.fichier);
        return constat;
    }
    constat.chargee = true;
    constat.fichier = fichier(ouverture.fichier);
    constat.notreSubstitut = porteLaMarque(ouverture.fichier);
    const QStringList noms = tarvo::nomsPointsEntree();
    constat.nombrePoints = static_cast<int>(noms.size());
    for (const QString& nom : noms) {
        QString raison;
        if (ChargeurBibliotheque::symbole(ouverture.poignee, nom.toLatin1().constData(), raison) != nullptr)
            continue;
        constat.absents.append(nom);
        const QString decore = exportDecore(ouverture.poignee, nom);
        if (!decore.isEmpty())
            constat.decoresSeulement.append(QStringLiteral("%1 (seulement %2)").arg(nom, decore));
    }
    ChargeurBibliotheque::fermer(ouverture.poignee);
    return constat;
}

IdentiteControle identiteControle(const QString& progId)
{
    const ConstatControle constat = SondeComposants::inscriptionControle(progId);
    return {constat.inscription.clsid, constat.serveur.chemin};
}
