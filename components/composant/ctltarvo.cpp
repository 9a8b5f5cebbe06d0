#include "ctltarvo.h"

#include "dialogueselectionacte.h"
#include "echec.h"
#include "fabriquectltarvo.h"
#include "magasinccam.h"
#include "reponsesacte.h"
#include "tablemembres.h"

#include <QPointer>

namespace {

bool estEcrivable(qint32 dispId)
{
    switch (dispId) {
    case DispId::CheminConfig:
    case DispId::SRTSeulement:
    case DispId::CodeSpecialite:
    case DispId::CodeActe:
    case DispId::DateReference:
    case DispId::GrilleTarifaire:
        return true;
    default:
        return false;
    }
}

bool estResultat(qint32 dispId)
{
    return (dispId >= DispId::LibelleLongActe && dispId <= DispId::CodeRegroupement &&
            dispId != DispId::DateReference);
}

bool estRequete(qint32 dispId)
{
    return dispId >= DispId::LireLibelle && dispId <= DispId::LireActesCompatibles;
}

QString hexa(qint32 dispId)
{
    return QStringLiteral("0x") +
           QString::number(quint32(dispId), 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

[[noreturn]] void membreInconnu(qint32 dispId, const QString& acces)
{
    throw Echec(Echec::EchecComposant, QStringLiteral("Membre inconnu %1 (%2)").arg(hexa(dispId), acces));
}

} // namespace

CtlTarvo::CtlTarvo(QWidget* fenetre, QString cheminBase)
    : m_fenetre(fenetre)
    , m_cheminBase(std::move(cheminBase))
{}

CtlTarvo::~CtlTarvo() = default;

void CtlTarvo::ecrire(qint32 dispId, const QVariant& valeur)
{
    if (!estEcrivable(dispId)) {
        if (estResultat(dispId))
            throw Echec(Echec::EchecComposant,
                        QStringLiteral("La propriété %1 est en lecture seule").arg(nomMembre(dispId)));
        membreInconnu(dispId, QStringLiteral("écriture"));
    }
    m_proprietes.insert(dispId, valeur);
}

void CtlTarvo::ecrireParReference(qint32 dispId, QVariant& valeur)
{
    // The caller's variable is only read: nothing is written back through the reference.
    ecrire(dispId, valeur);
}

QVariant CtlTarvo::lire(qint32 dispId)
{
    if (estEcrivable(dispId))
        return texteValeur(m_proprietes.value(dispId));
    if (estResultat(dispId))
        return repondre(dispId);
    membreInconnu(dispId, QStringLiteral("lecture"));
}

QVariant CtlTarvo::appeler(qint32 dispId)
{
    if (dispId == DispId::SelectionActe) {
        selectionActe();
        return {};
    }
    if (estRequete(dispId))
        return repondre(dispId);
    membreInconnu(dispId, QStringLiteral("appel"));
}

const MagasinCcam& CtlTarvo::magasin()
{
    if (!m_magasin) {
        const QString chemin = m_cheminBase.isEmpty() ? MagasinCcam::cheminParDefaut() : m_cheminBase;
        try {
            m_magasin = std::make_unique<MagasinCcam>(chemin);
        } catch (const ErreurMagasin& erreur) {
            throw Echec(Echec::EchecComposant,
                        QStringLiteral("Base CCAM inutilisable : %1").arg(QString::fromUtf8(erreur.what())));
        }
    }
    return *m_magasin;
}

QString CtlTarvo::repondre(qint32 dispId)
{
    // The context is checked first, so a malformed value is reported even for an empty act code.
    const ContexteRequete contexte = contexteDepuisProprietes(m_proprietes);
    const QString code = codeActeDepuisProprietes(m_proprietes);
    // LireModificateurs lists every modifier, with or without an act.
    if (code.isEmpty() && dispId != DispId::LireModificateurs)
        return {};
    const ReponsesActe reponses(magasin(), code, contexte);
    switch (dispId) {
    case DispId::LibelleCourtActe:
    case DispId::LireLibelle:
        return reponses.libelleCourt();
    case DispId::LibelleLongActe:
    case DispId::LireLibelleLong:
        return reponses.libelleLong();
    case DispId::PrixActe:
    case DispId::LirePrix:
        return reponses.prix();
    case DispId::CodeRegroupement:
        return reponses.codeRegroupement();
    case DispId::Modificateurs:
    case DispId::LireModificateursActe:
        return reponses.modificateurs();
    case DispId::ModificateursActivite1:
        return reponses.modificateurs(1);
    case DispId::ModificateursActivite4:
        return reponses.modificateurs(4);
    case DispId::ModificateursActivite5:
        return reponses.modificateurs(5);
    case DispId::LireModificateurs:
        return reponses.modificateursGlobaux();
    case DispId::LireRegroupements:
        return reponses.regroupements();
    case DispId::LireActesCompatibles:
        return reponses.actesCompatibles();
    default:
        membreInconnu(dispId, QStringLiteral("lecture"));
    }
}

void CtlTarvo::selectionActe()
{
    const ContexteRequete contexte = contexteDepuisProprietes(m_proprietes);
    const MagasinCcam& base = magasin();
    // The host window may close while the dialog runs its own event loop.
    QPointer<DialogueSelectionActe> dialogue = new DialogueSelectionActe(
        base, contexte, texteValeur(m_proprietes.value(DispId::CodeActe)), m_fenetre);
    const int resultat = dialogue->exec();
    if (!dialogue)
        return;
    const bool choisi = resultat == QDialog::Accepted && !dialogue->codeSurligne().isEmpty();
    if (choisi)
        m_proprietes.insert(DispId::CodeActe, dialogue->codeSurligne());
    delete dialogue;
    if (m_observateur) {
        EvenementControle evenement;
        evenement.nom = QStringLiteral("SelectionTerminee");
        evenement.dispId = DispIdEvenement::SelectionTerminee;
        evenement.arguments = {
            {QStringLiteral("CodeActe"), texteValeur(m_proprietes.value(DispId::CodeActe))},
            {QStringLiteral("Annulee"), !choisi}};
        m_observateur(evenement);
    }
}

void CtlTarvo::observerEvenements(ObservateurEvenements observateur)
{
    m_observateur = std::move(observateur);
}

std::unique_ptr<ControleDispatch> creerCtlTarvo(QWidget* fenetre)
{
    return std::make_unique<CtlTarvo>(fenetre);
}
