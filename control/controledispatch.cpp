#include "controledispatch.h"

#include "tablemembres.h"

std::optional<qint32> ControleDispatch::identifiantParNom(const QString& nom)
{
    if (const MembreCtlTarvo* membre = membreParNom(nom))
        return membre->dispId;
    return std::nullopt;
}

void ControleDispatch::observerEvenements(ObservateurEvenements) {}

void ControleDispatch::repondreBoitesNatives(ChoixBoiteNative) {}

void ControleDispatch::observerBoitesNatives(ObservateurBoites) {}

QList<EtapeActivation> ControleDispatch::etapesToleres() const
{
    return {};
}

FabriqueControle fabriqueRepondantAuxBoites(FabriqueControle fabrique, ChoixBoiteNative choix)
{
    return [fabrique = std::move(fabrique), choix = std::move(choix)](QWidget* fenetre) {
        std::unique_ptr<ControleDispatch> controle = fabrique ? fabrique(fenetre) : nullptr;
        if (controle)
            controle->repondreBoitesNatives(choix);
        return controle;
    };
}
