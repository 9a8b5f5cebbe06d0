#pragma once

#include "commandesfenetre.h"
#include "controledispatch.h"
#include "suivicommandes.h"

#include <QString>
#include <QWidget>
#include <memory>

class ServiceMessages;
class SondeSysteme;

// The one window of the tool, built from its table of controls. It creates ctlTarvo1 through the
// factory and keeps it exactly as long as itself.
class FrmInit : public QWidget
{
    Q_OBJECT

public:
    // Throws Echec when the control cannot be created.
    FrmInit(ServiceMessages& messages, const FabriqueControle& fabrique, const SondeSysteme& sonde,
            const CommandesFrmInit& commandes, QWidget* parent = nullptr);
    ~FrmInit() override;

    // The window load: "001" in CboGrille, today in DTPicker1, the configuration directory in
    // TXTCheminSESAM. Throws Echec at the step that fails.
    void charger();

    ControlesFenetre& controles() { return m_controles; }
    // Null (the default) follows nothing; the window does not own `suivi`.
    void suivreCommandes(SuiviCommandes* suivi) { m_suivi = suivi; }
    ControleDispatch& ctlTarvo1() { return *m_ctlTarvo1; }

    // True from a command's first step to the end of its error report.
    bool commandeEnCours() const { return m_commandeEnCours; }

protected:
    void showEvent(QShowEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;

private:
    void centrer();
    void construireControles();
    void nommerPourAccessibilite();
    void ordonnerTabulation();
    void relierBoutons(const CommandesFrmInit& commandes);
    void lancerCommande(const QString& bouton, const GestionnaireCommande& gestionnaire);

    ServiceMessages& m_messages;
    const SondeSysteme& m_sonde;
    ControlesFenetre m_controles;
    std::unique_ptr<ControleDispatch> m_ctlTarvo1;
    SuiviCommandes* m_suivi = nullptr;
    bool m_centree = false;
    bool m_commandeEnCours = false;
};
