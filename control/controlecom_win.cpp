#include "boitesnatives_win.h"
#include "conteneurole_win.h"
#include "controlecom.h"
#include "echeccom_win.h"
#include "feuilleole_win.h"
#include "lecturevariant_win.h"
#include "membresctltarvo.h"
#include "ressourcescom_win.h"
#include "tablemembres.h"

#include <QGuiApplication>
#include <QWidget>
#include <new>
#include <string>

// clang-format off
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <olectl.h>
// clang-format on

using Microsoft::WRL::ComPtr;

namespace {

// A text as the control is handed it; the runtime's error 7 when the system has no memory for it.
BstrCom bstrPourControle(const QString& texte)
{
    try {
        return bstrDepuisTexte(texte);
    } catch (const std::bad_alloc&) {
        throw Echec(Echec::MemoireInsuffisante, QStringLiteral("Mémoire insuffisante"));
    }
}

// The strings an Invoke may have put in its EXCEPINFO, freed once read.
struct ExceptionCom
{
    EXCEPINFO info{};
    ~ExceptionCom()
    {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

// The form the control is told it sits on: the window's own name, caption and font.
DescriptionFeuille descriptionFeuille(const QWidget* fenetre)
{
    DescriptionFeuille feuille;
    if (fenetre == nullptr)
        return feuille;
    const QWidget* racine = fenetre->window();
    if (!racine->objectName().isEmpty())
        feuille.nom = racine->objectName();
    feuille.titre = racine->windowTitle();
    const QFont police = racine->font();
    feuille.police = police.family();
    if (police.pointSizeF() > 0)
        feuille.pointsPolice = police.pointSizeF();
    feuille.gras = police.bold();
    feuille.italique = police.italic();
    return feuille;
}

class ControleCom final : public ControleDispatch
{
public:
    ControleCom(const QString& identite, QWidget* fenetre)
        : m_conteneur(identite, fenetreNative(fenetre), descriptionFeuille(fenetre),
                      [this](const EvenementControle& evenement) { recevoir(evenement); })
    {}

    void ecrire(qint32 dispId, const QVariant& valeur) override
    {
        VariantCom argument;
        if (valeur.typeId() == QMetaType::QString) {
            argument.valeur().bstrVal = bstrPourControle(valeur.toString()).detacher();
            argument.valeur().vt = VT_BSTR;
        } else if (valeur.typeId() == QMetaType::Int) {
            argument.valeur().vt = VT_I4;
            argument.valeur().lVal = valeur.toInt();
        } else {
            throw Echec(Echec::IncompatibiliteDeType,
                        QStringLiteral("Incompatibilité de type : %1").arg(nomMembre(dispId)));
        }
        mettre(dispId, argument.valeur());
    }

    void ecrireParReference(qint32 dispId, QVariant& valeur) override
    {
        VARIANT argument;
        VariantInit(&argument);
        if (valeur.typeId() == QMetaType::QString) {
            BstrCom texte = bstrPourControle(valeur.toString());
            argument.vt = VT_BYREF | VT_BSTR;
            argument.pbstrVal = texte.adresse();
            mettre(dispId, argument);
            valeur = texte.texte();
        } else if (valeur.typeId() == QMetaType::Int) {
            LONG entier = valeur.toInt();
            argument.vt = VT_BYREF | VT_I4;
            argument.plVal = &entier;
            mettre(dispId, argument);
            valeur = static_cast<qint32>(entier);
        } else {
            throw Echec(Echec::IncompatibiliteDeType,
                        QStringLiteral("Incompatibilité de type : %1").arg(nomMembre(dispId)));
        }
    }

    // A read and a call of an argument-less member go alike, with both flags, as the compiled calls of a
    // form-based program pass them: a release that turns a function into a property of the same identifier
    // still answers.
    QVariant lire(qint32 dispId) override { return obtenir(dispId); }
    QVariant appeler(qint32 dispId) override { return obtenir(dispId); }

    std::optional<qint32> identifiantParNom(const QString& nom) override
    {
        std::wstring large = nom.toStdWString();
        LPOLESTR noms[] = {large.data()};
        DISPID identifiant = DISPID_UNKNOWN;
        if (FAILED(
                m_conteneur.dispatch()->GetIDsOfNames(IID_NULL, noms, 1, LOCALE_USER_DEFAULT, &identifiant)))
            return std::nullopt;
        return static_cast<qint32>(identifiant);
    }

    void observerEvenements(ObservateurEvenements observateur) override
    {
        m_observateur = std::move(observateur);
        if (!m_observateur)
            return;
        const QList<EvenementControle> enAttente = std::exchange(m_enAttente, {});
        for (const EvenementControle& evenement : enAttente)
            m_observateur(evenement);
    }

    QList<EtapeActivation> etapesToleres() const override { return m_conteneur.etapesToleres(); }

    // The watcher runs only for a run that answers boxes: before an operator, the box is theirs.
    void repondreBoitesNatives(ChoixBoiteNative choix) override
    {
        m_choixBoites = std::move(choix);
        if (!m_choixBoites) {
            m_boites.reset();
        } else if (!m_boites) {
            m_boites = std::make_unique<SurveillanceBoites>(
                [this](const BoiteNative& boite) {
                    return m_choixBoites ? m_choixBoites(boite) : ReponseBoiteNative{};
                },
                [this](const BoiteNative& boite) {
                    if (m_observateurBoites)
                        m_observateurBoites(boite);
                });
        }
    }
    void observerBoitesNatives(ObservateurBoites observateur) override
    {
        m_observateurBoites = std::move(observateur);
    }

private:
    void recevoir(const EvenementControle& evenement)
    {
        if (m_observateur)
            m_observateur(evenement);
        else
            m_enAttente.append(evenement);
    }

    void mettre(qint32 dispId, VARIANT& argument)
    {
        DISPID nomme = DISPID_PROPERTYPUT;
        DISPPARAMS parametres{&argument, &nomme, 1, 1};
        invoquer(dispId, DISPATCH_PROPERTYPUT, parametres, false);
    }

    QVariant obtenir(qint32 dispId)
    {
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        return invoquer(dispId, DISPATCH_METHOD | DISPATCH_PROPERTYGET, aucun, true);
    }

    // The answer is read inside the guard too: reading it may run code of the control (a value by
    // reference, a number the runtime converts).
    QVariant invoquer(qint32 dispId, WORD drapeaux, DISPPARAMS& parametres, bool avecReponse)
    {
        ExceptionCom exception;
        UINT argumentFautif = ~0u;
        VariantCom reponse;
        QVariant valeur;
        HRESULT hr;
        ComPtr<IErrorInfo> informations;
        {
            const ConteneurOle::Appel appel(m_conteneur);
            const SurveillanceBoites::EnVol enVol(m_boites.get());
            // What a failure leaves in the thread's error object is the control's, not an earlier call's.
            SetErrorInfo(0, nullptr);
            hr = m_conteneur.dispatch()->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, drapeaux, &parametres,
                                                avecReponse ? &reponse.valeur() : nullptr, &exception.info,
                                                &argumentFautif);
            if (FAILED(hr)) {
                if (GetErrorInfo(0, &informations) != S_OK)
                    informations.Reset();
            } else if (avecReponse) {
                valeur = valeurLue(reponse.valeur());
            }
        }
        if (FAILED(hr)) {
            RetourInvoke retour;
            retour.resultat = hr;
            retour.exception = &exception.info;
            retour.informations = informations.Get();
            retour.argumentFautif = argumentFautif;
            retour.nombreArguments = parametres.cArgs;
            throw echecDepuisInvoke(retour);
        }
        return valeur;
    }

    // The form's own native window where the platform gives one; offscreen the container makes its own.
    static HWND fenetreNative(QWidget* fenetre)
    {
        if (fenetre == nullptr || QGuiApplication::platformName() != QLatin1String("windows"))
            return nullptr;
        return reinterpret_cast<HWND>(fenetre->window()->winId());
    }

    ObservateurEvenements m_observateur;
    QList<EvenementControle> m_enAttente; // fired before anyone listened
    ChoixBoiteNative m_choixBoites;
    ObservateurBoites m_observateurBoites;
    std::unique_ptr<SurveillanceBoites> m_boites; // after what it calls, which outlives it
    ConteneurOle m_conteneur;                     // last: it goes first, with its events
};

} // namespace

std::unique_ptr<ControleDispatch> creerControleCom(const QString& identite, QWidget* fenetre)
{
    return std::make_unique<ControleCom>(identite, fenetre);
}
