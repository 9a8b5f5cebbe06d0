#include "chargeurbibliotheque.h"
#include "chargeursysteme.h"

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

} // namespace

namespace ChargeurSysteme {

// dlopen never looks in the current directory unless LD_LIBRARY_PATH itself names it.
void exclureRepertoireCourant() {}

QStringList dossiersRecherche()
{
    const QString repertoire = repertoireExecutable();
    return repertoire.isEmpty() ? QStringList() : QStringList{repertoire};
}

void* charger(const QString& fichier, QString& raison)
{
    void* poignee = dlopen(QFile::encodeName(fichier).constData(), RTLD_NOW | RTLD_LOCAL);
    if (poignee == nullptr)
        raison = erreurSysteme();
    return poignee;
}

// A bare name makes dlopen search LD_LIBRARY_PATH, the cache and the system directories.
RechercheParNom chargerParNom(const QString& fichier)
{
    RechercheParNom resultat;
    resultat.poignee = charger(fichier, resultat.raison);
    // dlopen names the file it could not open first: the library itself, or one of its dependencies.
    resultat.absente = resultat.poignee == nullptr &&
                       resultat.raison.startsWith(fichier + QLatin1Char(':')) &&
                       resultat.raison.contains(QLatin1String("No such file"));
    resultat.lieux = {QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral("le cache de ld.so"),
                      QStringLiteral("les dossiers système")};
    return resultat;
}

} // namespace ChargeurSysteme

namespace ChargeurBibliotheque {

QString nomFichier(const QString& nom)
{
    return QStringLiteral("lib") + nom + QStringLiteral(".so");
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
