// The window's program over the control whose identifiers moved, chosen here as main chooses the real one:
// the tests run it as a tester would run the tool.
#include "controlecom.h"
#include "implementations.h"
#include "lancement.h"
#include "sequencetarvo.h"
#include "sondesysteme.h"

namespace {

const QString progIdDecale = QStringLiteral("BancTest.ctlDecale");

FabriqueControle controleDecale(const QString&, QString&)
{
    return [](QWidget* fenetre) {
        return creerControleCom(progIdDecale, fenetre);
    };
}

} // namespace

int main(int argc, char* argv[])
{
    return lancerBancCcam(argc, argv, {&controleDecale, sondePlateforme(), appelsTarvo(), progIdDecale});
}
