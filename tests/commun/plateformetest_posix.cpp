#include "plateformetest.h"

#include <QFile>
#include <dlfcn.h>
#include <link.h>

namespace PlateformeTest {

bool sousWine()
{
    return false;
}

unsigned long long nombreDeChargements()
{
    unsigned long long ajouts = 0;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* donnees) {
            *static_cast<unsigned long long*>(donnees) = info->dlpi_adds;
            return 1;
        },
        &ajouts);
    return ajouts;
}

bool bibliothequeChargee(const QString& fichier)
{
    void* encoreLa = dlopen(QFile::encodeName(fichier).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (encoreLa == nullptr)
        return false;
    dlclose(encoreLa);
    return true;
}

bool ecrireBibliothequeAutreLargeur(const QString& chemin)
{
    // The ELF header of a 32-bit x86 shared object: the loader of a 64-bit process refuses its class.
    QByteArray entete(52, '\0');
    entete.replace(0, 7,
                   QByteArray("\x7f"
                              "ELF\x01\x01\x01",
                              7));
    entete[16] = 3;  // ET_DYN
    entete[18] = 3;  // EM_386
    entete[20] = 1;  // EV_CURRENT
    entete[40] = 52; // e_ehsize
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(entete) == entete.size();
}

} // namespace PlateformeTest
