#include "repertoirebibliotheque.h"

#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>

namespace {
// Any object of this library will do: dladdr tells which loaded file holds it.
const char repere = 0;
} // namespace

QString repertoireBibliotheque()
{
    Dl_info info{};
    if (dladdr(&repere, &info) == 0 || info.dli_fname == nullptr)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
}
