#include "formatbinaire.h"
#include "sondecomposants.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace SondeComposants {

ConstatControle inscriptionControle(const QString& progId)
{
    // No registry here: the control is our component, linked into the program itself.
    ConstatControle constat;
    constat.progId = progId;
    constat.integre = true;
    constat.notreSubstitut = true;
    const QString programme = QCoreApplication::applicationFilePath();
    constat.serveur.chemin = QDir::toNativeSeparators(programme);
    constat.serveur.existe = QFileInfo(programme).isFile();
    constat.serveur.bits = FormatBinaire::bits(programme);
    return constat;
}

QString versionFichier(const QString&)
{
    return {};
}

} // namespace SondeComposants
