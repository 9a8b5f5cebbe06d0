#include "echeccom_win.h"

#include "echec.h"

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

// French texts only where the system has nothing to say.
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
};

QString texteBstr(BSTR texte)
{
    return texte == nullptr ? QString()
                            : QString::fromWCharArray(texte, static_cast<int>(SysStringLen(texte))).trimmed();
}

} // namespace

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

Echec echecDepuisHresult(HRESULT resultat, const EXCEPINFO* exception, const QString& membre)
{
    if (resultat == DISP_E_EXCEPTION && exception != nullptr) {
        EXCEPINFO copie = *exception;
        // Some controls fill the description only when asked.
        if (copie.pfnDeferredFillIn != nullptr && copie.bstrDescription == nullptr)
            copie.pfnDeferredFillIn(&copie);
        QString description = texteBstr(copie.bstrDescription);
        if (copie.bstrDescription != exception->bstrDescription)
            SysFreeString(copie.bstrDescription);
        if (copie.bstrSource != exception->bstrSource)
            SysFreeString(copie.bstrSource);
        if (copie.bstrHelpFile != exception->bstrHelpFile)
            SysFreeString(copie.bstrHelpFile);
        if (copie.wCode != 0)
            return Echec(copie.wCode,
                         description.isEmpty() ? QStringLiteral("Erreur %1").arg(copie.wCode) : description);
        // A control runtime raises its numbers in the FACILITY_CONTROL range: 0x800A0000 + number.
        if (HRESULT_FACILITY(copie.scode) == FACILITY_CONTROL) {
            const int numero = HRESULT_CODE(copie.scode);
            return Echec(numero,
                         description.isEmpty() ? QStringLiteral("Erreur %1").arg(numero) : description);
        }
        if (FAILED(copie.scode)) {
            Echec sousJacent = echecDepuisHresult(copie.scode, nullptr, membre);
            return description.isEmpty() ? sousJacent : Echec(sousJacent.numero(), description);
        }
        return Echec(Echec::EchecComposant, description.isEmpty()
                                                ? QStringLiteral("Le membre %1 a échoué").arg(membre)
                                                : description);
    }
    for (const Correspondance& c : correspondances) {
        if (c.resultat == resultat) {
            const QString systeme = texteSysteme(resultat);
            return Echec(c.numero, systeme.isEmpty() ? QString::fromUtf16(c.description) : systeme);
        }
    }
    // Anything else: an automation error naming the member and the system's word on it.
    const QString systeme = texteSysteme(resultat);
    return Echec(Echec::EchecComposant,
                 QStringLiteral("Erreur Automation 0x%1 sur %2%3")
                     .arg(static_cast<quint32>(resultat), 8, 16, QLatin1Char('0'))
                     .arg(membre, systeme.isEmpty() ? QString() : QStringLiteral(" : ") + systeme));
}

Echec echecCreation(HRESULT resultat, const QString& progId)
{
    const QString systeme = texteSysteme(resultat);
    return Echec(Echec::CreationImpossible,
                 QStringLiteral("Le composant ActiveX ne peut pas créer l'objet %1%2")
                     .arg(progId, systeme.isEmpty() ? QString() : QStringLiteral(" : ") + systeme));
}
