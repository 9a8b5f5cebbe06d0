#include "echeccom_win.h"

#include "echec.h"
#include "ressourcescom_win.h"

namespace {

constexpr int MembreNonGere = 438;
constexpr int NombreArgumentsIncorrect = 450;
constexpr int ArgumentNonFacultatif = 449;
constexpr int AppelIncorrect = 5;

struct Correspondance
{
    HRESULT resultat;
    int numero;
    const char16_t* description; // when the system has no text of its own
};

// The dispatch errors the runtime gives numbers of its own; French texts only where the system has nothing to
// say.
const Correspondance correspondances[] = {
    {DISP_E_MEMBERNOTFOUND, MembreNonGere, u"Propriété ou méthode non gérée par cet objet"},
    {DISP_E_UNKNOWNNAME, MembreNonGere, u"Propriété ou méthode non gérée par cet objet"},
    {DISP_E_TYPEMISMATCH, Echec::IncompatibiliteDeType, u"Incompatibilité de type"},
    {DISP_E_BADVARTYPE, Echec::IncompatibiliteDeType, u"Incompatibilité de type"},
    {DISP_E_OVERFLOW, Echec::Debordement, u"Dépassement de capacité"},
    {DISP_E_BADPARAMCOUNT, NombreArgumentsIncorrect,
     u"Nombre d'arguments incorrect ou affectation de propriété incorrecte"},
    {DISP_E_PARAMNOTOPTIONAL, ArgumentNonFacultatif, u"Argument non facultatif"},
    {E_OUTOFMEMORY, Echec::MemoireInsuffisante, u"Mémoire insuffisante"},
    {E_INVALIDARG, AppelIncorrect, u"Appel de procédure ou argument incorrect"},
    {REGDB_E_CLASSNOTREG, Echec::CreationImpossible, u"Classe non enregistrée"},
    {CO_E_CLASSSTRING, Echec::CreationImpossible, u"Chaîne de classe non valide"},
};

// What the system says of the usual codes when it has no message table of its own (Wine has few).
const Correspondance textesDeSecours[] = {
    {E_UNEXPECTED, 0, u"Défaillance irrémédiable"},
    {E_NOTIMPL, 0, u"Non implémenté"},
    {E_NOINTERFACE, 0, u"Interface non prise en charge"},
    {E_POINTER, 0, u"Pointeur non valide"},
    {E_HANDLE, 0, u"Handle non valide"},
    {E_ABORT, 0, u"Opération abandonnée"},
    {E_FAIL, 0, u"Erreur non spécifiée"},
    {E_ACCESSDENIED, 0, u"Accès refusé"},
    {DISP_E_EXCEPTION, 0, u"Une exception s'est produite"},
};

const Correspondance* correspondance(HRESULT resultat)
{
    for (const Correspondance& c : correspondances) {
        if (c.resultat == resultat)
            return &c;
    }
    return nullptr;
}

// The description the runtime gives a code the control did not describe.
QString descriptionParDefaut(HRESULT resultat)
{
    const QString systeme = texteSysteme(resultat);
    if (const Correspondance* c = correspondance(resultat))
        return systeme.isEmpty() ? QString::fromUtf16(c->description) : systeme;
    if (HRESULT_FACILITY(resultat) == FACILITY_CONTROL)
        return QStringLiteral("Erreur définie par l'application ou par l'objet");
    QString texte = systeme;
    for (const Correspondance& c : textesDeSecours) {
        if (texte.isEmpty() && c.resultat == resultat)
            texte = QString::fromUtf16(c.description);
    }
    if (texte.isEmpty())
        texte = QStringLiteral("0x%1").arg(static_cast<quint32>(resultat), 8, 16, QLatin1Char('0'));
    return QStringLiteral("Erreur Automation : ") + texte;
}

} // namespace

int numeroDepuisHresult(HRESULT resultat)
{
    if (HRESULT_FACILITY(resultat) == FACILITY_CONTROL && HRESULT_SEVERITY(resultat) == SEVERITY_ERROR)
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

Echec echecDepuisHresult(HRESULT resultat, const EXCEPINFO* exception)
{
    if (resultat != DISP_E_EXCEPTION || exception == nullptr)
        return Echec(numeroDepuisHresult(resultat), descriptionParDefaut(resultat));

    EXCEPINFO copie = *exception;
    // Some controls fill the description only when asked.
    if (copie.pfnDeferredFillIn != nullptr && copie.bstrDescription == nullptr)
        copie.pfnDeferredFillIn(&copie);
    const QString description = texteDepuisBstr(copie.bstrDescription).trimmed();
    if (copie.bstrDescription != exception->bstrDescription)
        SysFreeString(copie.bstrDescription);
    if (copie.bstrSource != exception->bstrSource)
        SysFreeString(copie.bstrSource);
    if (copie.bstrHelpFile != exception->bstrHelpFile)
        SysFreeString(copie.bstrHelpFile);

    // The control's own number is its wCode; else its scode, read as any other code would be.
    const HRESULT code = copie.wCode != 0      ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, copie.wCode)
                         : FAILED(copie.scode) ? copie.scode
                                               : DISP_E_EXCEPTION;
    return Echec(numeroDepuisHresult(code), description.isEmpty() ? descriptionParDefaut(code) : description);
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
