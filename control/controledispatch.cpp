#include "controledispatch.h"

#include "tablemembres.h"

std::optional<qint32> ControleDispatch::identifiantParNom(const QString& nom)
{
    if (const MembreCtlTarvo* membre = membreParNom(nom))
        return membre->dispId;
    return std::nullopt;
}

void ControleDispatch::observerEvenements(ObservateurEvenements) {}

QList<EtapeActivation> ControleDispatch::etapesToleres() const
{
    return {};
}
