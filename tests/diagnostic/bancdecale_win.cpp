// The window's program over the control whose identifiers moved, chosen here as main chooses the real one:
// the tests run it as a tester would run the tool.
#include "controlecom.h"
#include "implementations.h"
#include "lancement.h"
#include "sequencetarvo.h"
#include "sondesysteme.h"

int main(int argc, char* argv[])
{
    const QString progId = QStringLiteral("BancTest.ctlDecale");
    return lancerBancCcam(argc, argv,
                          {[progId](QWidget* fenetre) { return creerControleCom(progId, fenetre); },
                           sondePlateforme(), appelsTarvo(), progId});
}
