#pragma once

class ControleDispatch;
class ServiceMessages;
class SondeSysteme;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QWidget;
class QString;

// The window controls the commands read and fill, by their names on the window.
// List1 is a list view over a QStringListModel.
struct ControlesFenetre
{
    QWidget* frmInit = nullptr;
    QCheckBox* chkSRT = nullptr;
    QComboBox* CboGrille = nullptr;
    QLineEdit* txtSpecialite = nullptr;
    QLineEdit* txtCodeCCAM = nullptr;
    QDateEdit* DTPicker1 = nullptr;
    QLineEdit* TXTCheminSESAM = nullptr;
    QLineEdit* TxtLibCourt = nullptr;
    QPlainTextEdit* TextLiblong = nullptr;
    QComboBox* cboMod = nullptr;
    QComboBox* cboModAct1 = nullptr;
    QComboBox* cboModAct4 = nullptr;
    QComboBox* cboModAct5 = nullptr;
    QLineEdit* TxtPrix = nullptr;
    QLineEdit* TxtRegroupement = nullptr;
    QLineEdit* txtLibCCAM = nullptr;
    QLineEdit* txtLibLongCCAM = nullptr;
    QListView* List1 = nullptr;
};

struct ContexteCommande
{
    ControlesFenetre& fenetre;
    ControleDispatch& ctlTarvo1;
    ServiceMessages& messages;
    const SondeSysteme& sonde;
};

// One handler per command button. Each throws Echec at the step that fails; what earlier
// steps wrote stays.
namespace Commandes {

void selectionActe(const ContexteCommande& contexte);             // cmdSelectActeCCAM
void testModificateurs(const ContexteCommande& contexte);         // Command1
void testPrix(const ContexteCommande& contexte);                  // Command2
void testModificateursActe(const ContexteCommande& contexte);     // Command4
void codeRegroupementActe(const ContexteCommande& contexte);      // Command5
void rechercheLibelle(const ContexteCommande& contexte);          // Command6
void testListeActesCompatibles(const ContexteCommande& contexte); // Command7

// Empties `liste` and fills it with the pairs of the modifier pipe list, "first - second",
// selecting the first entry; an unpaired last field makes no entry.
void RemplirListeModificateurs(QComboBox* liste, const QString& listePipe);

} // namespace Commandes
