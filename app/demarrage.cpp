#include "demarrage.h"

#include "frminit.h"
#include "rapportechec.h"

std::unique_ptr<FrmInit> demarrerFrmInit(ServiceMessages& messages, const FabriqueControle& fabrique,
                                         const SondeSysteme& sonde, const CommandesFrmInit& commandes)
{
    std::unique_ptr<FrmInit> fenetre;
    const bool charge = executerCommande(messages, [&] {
        fenetre = std::make_unique<FrmInit>(messages, fabrique, sonde, commandes);
        fenetre->charger();
    });
    if (!charge)
        return nullptr;
    fenetre->show();
    return fenetre;
}
