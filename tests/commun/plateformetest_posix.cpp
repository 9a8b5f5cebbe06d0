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

} // namespace PlateformeTest
