#include "applicationgraphique.h"

#include "echec.h"
#include "repertoirebibliotheque.h"

#include <QApplication>
#include <atomic>

// clang-format off
#include <windows.h>
// clang-format on

namespace {

std::atomic<bool> creeeParLeServeur{false};
const char repere = 0;

} // namespace

void assurerApplicationGraphique()
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        if (qobject_cast<QApplication*>(application) == nullptr)
            throw Echec(Echec::EchecComposant,
                        QStringLiteral("La sélection d'un acte demande une application graphique : l'hôte "
                                       "n'en a pas"));
        return;
    }
    // Qt's plugins (platforms, styles) sit beside this file, not beside a host such as cscript.exe.
    const QString repertoire = repertoireBibliotheque();
    if (!repertoire.isEmpty())
        QCoreApplication::addLibraryPath(repertoire);
    // QApplication keeps references to its arguments for its whole life.
    static int nombreArguments = 1;
    static char nom[] = "LecTarvo";
    static char* arguments[] = {nom, nullptr};
    static QApplication* application = new QApplication(nombreArguments, arguments);
    Q_UNUSED(application);
    creeeParLeServeur = true;
    // Qt now lives in the host's process through this file: neither may go before the process does.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&repere), &module);
}

bool applicationCreeeParLeServeur()
{
    return creeeParLeServeur;
}
