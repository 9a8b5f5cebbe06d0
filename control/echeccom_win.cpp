#include "echeccom_win.h"

#include "echec.h"
#include "erreursexecution.h"
#include "ressourcescom_win.h"

namespace {

struct Correspondance
{
    HRESULT resultat;
    int numero;
};

// The codes the runtime gives numbers of its own; it describes them with its own texts.
const Correspondance correspondances[] = {
    {DISP_E_MEMBERNOTFOUND, 438},
    {DISP_E_UNKNOWNNAME, 438},
    {DISP_E_TYPEMISMATCH, Echec::IncompatibiliteDeType},
    {DISP_E_BADVARTYPE, 458},
    {DISP_E_PARAMNOTFOUND, 448},
    {DISP_E_NONAMEDARGS, 446},
    {DISP_E_OVERFLOW, Echec::Debordement},
    {DISP_E_BADINDEX, 9},
    {DISP_E_UNKNOWNLCID, 447},
    {DISP_E_ARRAYISLOCKED, 10},
    {DISP_E_BADPARAMCOUNT, 450},
    {DISP_E_PARAMNOTOPTIONAL, 449},
    {DISP_E_NOTACOLLECTION, 451},
    {DISP_E_DIVBYZERO, 11},
    {E_OUTOFMEMORY, Echec::MemoireInsuffisante},
    {E_INVALIDARG, 5},
    {E_NOINTERFACE, 430},
    {E_ACCESSDENIED, 70},
    {REGDB_E_CLASSNOTREG, Echec::CreationImpossible},
    {CO_E_CLASSSTRING, Echec::CreationImpossible},
};

struct TexteDeSecours
{
    HRESULT resultat;
    const char16_t* texte;
};

// What the system says of the usual codes when it has no message table of its own (Wine has few).
const TexteDeSecours textesDeSecours[] = {
    {E_UNEXPECTED, u"Défaillance irrémédiable"},
    {E_NOTIMPL, u"Non implémenté"},
    {E_POINTER, u"Pointeur non valide"},
    {E_HANDLE, u"Handle non valide"},
    {E_ABORT, u"Opération abandonnée"},
    {E_FAIL, u"Erreur non spécifiée"},
    {DISP_E_EXCEPTION, u"Une exception s'est produite"},
};

const Correspondance* correspondance(HRESULT resultat)
{
    for (const Correspondance& c : correspondances) {
        if (c.resultat == resultat)
            return &c;
    }
    return nullptr;
}

bool codeDeControle(HRESULT resultat)
{
    return HRESULT_FACILITY(resultat) == FACILITY_CONTROL && HRESULT_SEVERITY(resultat) == SEVERITY_ERROR;
}

// The description the runtime gives a code the control did not describe.
QString descriptionParDefaut(HRESULT resultat)
{
    if (codeDeControle(resultat) || correspondance(resultat) != nullptr) {
        const QString texte = texteErreurExecution(numeroDepuisHresult(resultat));
        return texte.isEmpty() ? QStringLiteral("Erreur définie par l'application ou par l'objet") : texte;
    }
    QString texte = texteSysteme(resultat);
    for (const TexteDeSecours& secours : textesDeSecours) {
        if (texte.isEmpty() && secours.resultat == resultat)
            texte = QString::fromUtf16(secours.texte);
    }
    if (texte.isEmpty())
        texte = QStringLiteral("0x%1").arg(static_cast<quint32>(resultat), 8, 16, QLatin1Char('0'));
    return QStringLiteral("Erreur Automation : ") + texte;
}

// The error object's description, trimmed; empty when it has none.
QString descriptionInformations(IErrorInfo* informations)
{
    if (informations == nullptr)
        return {};
    BstrCom description;
    if (FAILED(informations->GetDescription(description.adresse())))
        return {};
    return description.texte().trimmed();
}

// The control's own number and description out of its EXCEPINFO; the code it stands for in `code`.
QString lireException(const EXCEPINFO& exception, HRESULT& code)
{
    EXCEPINFO copie = exception;
    // Some controls fill the description only when asked.
    if (copie.pfnDeferredFillIn != nullptr && copie.bstrDescription == nullptr)
        copie.pfnDeferredFillIn(&copie);
    const QString description = texteDepuisBstr(copie.bstrDescription).trimmed();
    if (copie.bstrDescription != exception.bstrDescription)
        SysFreeString(copie.bstrDescription);
    if (copie.bstrSource != exception.bstrSource)
        SysFreeString(copie.bstrSource);
    if (copie.bstrHelpFile != exception.bstrHelpFile)
        SysFreeString(copie.bstrHelpFile);
    // The control's own number is its wCode; else its scode, read as any other code would be.
    code = copie.wCode != 0      ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, copie.wCode)
           : FAILED(copie.scode) ? copie.scode
                                 : DISP_E_EXCEPTION;
    return description;
}

} // namespace

int numeroDepuisHresult(HRESULT resultat)
{
    if (codeDeControle(resultat))
        return HRESULT_CODE(resultat);
    if (const Correspondance* c = correspondance(resultat))
        return c->numero;
    return static_cast<int>(resultat);
}

QString texteSysteme(HRESULT resultat)
{
    wchar_t* texte = nullptr;
    const DWORD longueur = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(resultat), 0, reinterpret_cast<wchar_t*>(&texte), 0, nullptr);
    QString resultatTexte =
        longueur != 0 ? QString::fromWCharArray(texte, static_cast<int>(longueur)).trimmed() : QString();
    LocalFree(texte);
    return resultatTexte;
}

Echec echecDepuisInvoke(const RetourInvoke& retour)
{
    HRESULT code = retour.resultat;
    QString description;
    if (retour.resultat == DISP_E_EXCEPTION && retour.exception != nullptr)
        description = lireException(*retour.exception, code);
    if (description.isEmpty())
        description = descriptionInformations(retour.informations);
    if (description.isEmpty())
        description = descriptionParDefaut(code);
    // Invoke names the argument it could not take for these two, counted as the caller wrote them.
    if ((code == DISP_E_TYPEMISMATCH || code == DISP_E_PARAMNOTFOUND) &&
        retour.argumentFautif < retour.nombreArguments)
        description += QStringLiteral(" (argument %1)").arg(retour.nombreArguments - retour.argumentFautif);
    return Echec(numeroDepuisHresult(code), description);
}

Echec echecDepuisHresult(HRESULT resultat, const EXCEPINFO* exception)
{
    RetourInvoke retour;
    retour.resultat = resultat;
    retour.exception = exception;
    return echecDepuisInvoke(retour);
}

Echec echecCreation(HRESULT resultat, const QString& progId)
{
    const bool inconnu = resultat == REGDB_E_CLASSNOTREG || resultat == CO_E_CLASSSTRING;
    const QString raison = inconnu
                               ? QStringLiteral("aucun contrôle n'est inscrit sous « %1 » sur cet ordinateur")
                                     .arg(valeurCitee(progId))
                               : descriptionParDefaut(resultat);
    return Echec(Echec::CreationImpossible,
                 QStringLiteral("Le composant ActiveX ne peut pas créer l'objet %1 : %2")
                     .arg(valeurCitee(progId), raison));
}
