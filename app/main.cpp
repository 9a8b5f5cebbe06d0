#include "demarrage.h"
#include "fabriquectltarvo.h"
#include "frminit.h"
#include "servicemessages.h"
#include "servicemessagesqt.h"
#include "traductions.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(titreApplication());
    installerTraductionsQt(application);
    ServiceMessagesQt messages;
    const std::unique_ptr<FrmInit> fenetre = demarrerFrmInit(messages, &creerCtlTarvo);
    if (!fenetre)
        return EXIT_FAILURE;
    return QApplication::exec();
}
