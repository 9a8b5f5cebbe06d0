#include "conteneurole_win.h"
#include "controlecom.h"
#include "echeccom_win.h"
#include "membresctltarvo.h"
#include "ressourcescom_win.h"
#include "tablemembres.h"

#include <QGuiApplication>
#include <QMetaType>
#include <QWidget>
#include <new>
#include <string>

// clang-format off
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <olectl.h>
// clang-format on

// A value the host leaves unconverted (an object, an array): no text, and its default member is not called.
struct ValeurAutomation
{
    VARTYPE type = VT_EMPTY;
};
Q_DECLARE_METATYPE(ValeurAutomation)

namespace {

// What the control answered, for the members to read (texteLu): Empty as nothing, Null as null, any other
// plain value as the automation runtime writes it in the user's locale (a boolean as "Vrai" or "True").
QVariant valeurLue(const VARIANT& valeur)
{
    const VARTYPE type = valeur.vt;
    if (type == VT_EMPTY)
        return {};
    if (type == VT_NULL)
        return QVariant::fromValue(nullptr);
    if (type == VT_BSTR)
        return texteDepuisBstr(valeur.bstrVal);
    if ((type & (VT_ARRAY | VT_VECTOR)) != 0 || type == VT_DISPATCH || type == VT_UNKNOWN ||
        type == VT_RECORD)
        return QVariant::fromValue(ValeurAutomation{type});
    VariantCom converti;
    if (FAILED(VariantChangeTypeEx(&converti.valeur(), const_cast<VARIANT*>(&valeur), LOCALE_USER_DEFAULT,
                                   VARIANT_LOCALBOOL, VT_BSTR)))
        return QVariant::fromValue(ValeurAutomation{type});
    return texteDepuisBstr(converti.valeur().bstrVal);
}

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

class ControleCom final : public ControleDispatch
{
public:
    ControleCom(const QString& identite, QWidget* fenetre)
        : m_conteneur(identite, fenetreNative(fenetre))
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

    QVariant lire(qint32 dispId) override
    {
        VariantCom resultat;
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        invoquer(dispId, DISPATCH_PROPERTYGET, aucun, &resultat.valeur());
        return valeurLue(resultat.valeur());
    }

    QVariant appeler(qint32 dispId) override
    {
        VariantCom resultat;
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        invoquer(dispId, DISPATCH_METHOD, aucun, &resultat.valeur());
        return valeurLue(resultat.valeur());
    }

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

private:
    void mettre(qint32 dispId, VARIANT& argument)
    {
        DISPID nomme = DISPID_PROPERTYPUT;
        DISPPARAMS parametres{&argument, &nomme, 1, 1};
        invoquer(dispId, DISPATCH_PROPERTYPUT, parametres, nullptr);
    }

    void invoquer(qint32 dispId, WORD drapeaux, DISPPARAMS& parametres, VARIANT* resultat)
    {
        ExceptionCom exception;
        UINT argumentFautif = 0;
        HRESULT hr;
        {
            const ConteneurOle::Appel appel(m_conteneur);
            hr = m_conteneur.dispatch()->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, drapeaux, &parametres,
                                                resultat, &exception.info, &argumentFautif);
        }
        if (FAILED(hr))
            throw echecDepuisHresult(hr, &exception.info);
    }

    // The form's own native window where the platform gives one; offscreen the container makes its own.
    static HWND fenetreNative(QWidget* fenetre)
    {
        if (fenetre == nullptr || QGuiApplication::platformName() != QLatin1String("windows"))
            return nullptr;
        return reinterpret_cast<HWND>(fenetre->window()->winId());
    }

    ConteneurOle m_conteneur;
};

} // namespace

std::unique_ptr<ControleDispatch> creerControleCom(const QString& identite, QWidget* fenetre)
{
    return std::make_unique<ControleCom>(identite, fenetre);
}
