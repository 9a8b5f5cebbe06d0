#include "chargeurbibliotheque.h"
#include "echec.h"
#include "echecchargement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>
#include <link.h>

namespace {

QString erreurSysteme()
{
    const char* erreur = dlerror();
    return erreur != nullptr ? QString::fromLocal8Bit(erreur) : QStringLiteral("raison inconnue");
}

QString repertoireExecutable()
{
    // /proc/self/exe names the running file even when it was started through a link or a relative path.
    const QFileInfo executable(QStringLiteral("/proc/self/exe"));
    if (executable.exists())
        return QFileInfo(executable.canonicalFilePath()).absolutePath();
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    return {};
}

void* charger(const QString& fichier, QString& raison)
{
    void* poignee = dlopen(QFile::encodeName(fichier).constData(), RTLD_NOW | RTLD_LOCAL);
    if (poignee == nullptr)
        raison = erreurSysteme();
    return poignee;
}

} // namespace

namespace ChargeurBibliotheque {

QString nomFichier(const QString& nom)
{
    return QStringLiteral("lib") + nom + QStringLiteral(".so");
}

Ouverture ouvrir(const QString& nom, const QString& chemin)
{
    Ouverture resultat;
    const QString fichier = nomFichier(nom);
    QString raison;
    if (!chemin.isEmpty()) {
        resultat.fichier = chemin;
        if (QDir::isRelativePath(chemin)) {
            resultat.numero = Echec::FichierIntrouvable;
            resultat.raison = QStringLiteral("le chemin n'est pas absolu : %1").arg(chemin);
        } else if (!QFileInfo(chemin).isFile()) {
            resultat.numero = Echec::FichierIntrouvable;
            resultat.raison = EchecChargement::introuvable(chemin, {});
        } else if ((resultat.poignee = charger(chemin, raison)) == nullptr) {
            resultat.numero = Echec::ChargementImpossible;
            resultat.raison = EchecChargement::chargementImpossible(fichier, chemin, raison);
        }
        return resultat;
    }

    const QString repertoire = repertoireExecutable();
    if (!repertoire.isEmpty()) {
        const QString voisin = QDir(repertoire).absoluteFilePath(fichier);
        // The copy beside the tool is the one meant to run: when it fails, say why rather than load another.
        if (QFileInfo::exists(voisin)) {
            resultat.fichier = voisin;
            resultat.poignee = charger(voisin, raison);
            if (resultat.poignee == nullptr) {
                resultat.numero = Echec::ChargementImpossible;
                resultat.raison = EchecChargement::chargementImpossible(fichier, voisin, raison);
            }
            return resultat;
        }
    }
    // A bare name makes dlopen search LD_LIBRARY_PATH, the cache and the system directories, never the
    // current directory unless LD_LIBRARY_PATH itself names it.
    resultat.fichier = fichier;
    resultat.poignee = charger(fichier, raison);
    if (resultat.poignee != nullptr) {
        const QString complet = cheminComplet(resultat.poignee);
        if (!complet.isEmpty())
            resultat.fichier = complet;
        return resultat;
    }
    // dlopen names the file it could not open first: the library itself, or one of its dependencies.
    if (raison.startsWith(fichier + QLatin1Char(':')) && raison.contains(QLatin1String("No such file"))) {
        resultat.numero = Echec::FichierIntrouvable;
        resultat.raison = EchecChargement::introuvable(
            fichier, {repertoire, QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral("le cache de ld.so"),
                      QStringLiteral("les dossiers système")});
    } else {
        resultat.numero = Echec::ChargementImpossible;
        resultat.raison = QStringLiteral("Erreur dans le chargement de la DLL : %1 ou l'une de ses "
                                         "dépendances : %2")
                              .arg(fichier, raison);
    }
    return resultat;
}

QString cheminComplet(void* poignee)
{
    link_map* lien = nullptr;
    if (poignee == nullptr || dlinfo(poignee, RTLD_DI_LINKMAP, &lien) != 0 || lien == nullptr ||
        lien->l_name == nullptr)
        return {};
    const QString chemin = QFile::decodeName(lien->l_name);
    return QDir::isAbsolutePath(chemin) ? QFileInfo(chemin).absoluteFilePath() : QString();
}

Fonction symbole(void* poignee, const char* nom, QString& raison)
{
    dlerror();
    void* adresse = dlsym(poignee, nom);
    if (adresse == nullptr) {
        raison = erreurSysteme();
        return nullptr;
    }
    return reinterpret_cast<Fonction>(adresse);
}

void fermer(void* poignee)
{
    if (poignee != nullptr)
        dlclose(poignee);
}

} // namespace ChargeurBibliotheque
