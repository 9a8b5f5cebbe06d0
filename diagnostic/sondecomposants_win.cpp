#include "formatbinaire.h"
#include "identiteserveur.h"
#include "sondecomposants.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// A text value of the registry, expanded; nothing when the key or value is missing. `nom` null: the default.
// `vue` RRF_SUBKEY_WOW6464KEY or RRF_SUBKEY_WOW6432KEY reads the registry's other view; 0, this program's.
std::optional<QString> valeur(HKEY racine, const QString& cle, const wchar_t* nom, DWORD vue = 0)
{
    const auto* chemin = reinterpret_cast<const wchar_t*>(cle.utf16());
    // REG_EXPAND_SZ values come expanded, as REG_SZ.
    const DWORD types = RRF_RT_REG_SZ | vue;
    DWORD taille = 0;
    if (RegGetValueW(racine, chemin, nom, types, nullptr, nullptr, &taille) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring tampon(taille / sizeof(wchar_t) + 1, L'\0');
    taille = static_cast<DWORD>(tampon.size() * sizeof(wchar_t));
    if (RegGetValueW(racine, chemin, nom, types, nullptr, tampon.data(), &taille) != ERROR_SUCCESS)
        return std::nullopt;
    return QString::fromWCharArray(tampon.c_str());
}

// The first subkey's name: the version under which a type library is registered.
QString premiereSousCle(HKEY racine, const QString& cle)
{
    HKEY ouverte = nullptr;
    if (RegOpenKeyExW(racine, reinterpret_cast<const wchar_t*>(cle.utf16()), 0, KEY_READ, &ouverte) !=
        ERROR_SUCCESS)
        return {};
    wchar_t nom[256];
    DWORD longueur = 256;
    const LSTATUS lu = RegEnumKeyExW(ouverte, 0, nom, &longueur, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(ouverte);
    return lu == ERROR_SUCCESS ? QString::fromWCharArray(nom, static_cast<int>(longueur)) : QString();
}

const QString classes = QStringLiteral("Software\\Classes\\");

// The system reads the machine's classes alone for an elevated process.
bool processusEleve()
{
    HANDLE jeton = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &jeton))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD taille = 0;
    const bool lu = GetTokenInformation(jeton, TokenElevation, &elevation, sizeof(elevation), &taille) != 0;
    CloseHandle(jeton);
    return lu && elevation.TokenIsElevated != 0;
}

// The registry's other view for this program, and its width: the 64-bit one for a 32-bit program on a 64-bit
// system, the 32-bit one for a 64-bit program; nothing on a 32-bit system.
std::optional<std::pair<DWORD, int>> autreVue()
{
    if constexpr (sizeof(void*) == 8)
        return std::pair<DWORD, int>{RRF_SUBKEY_WOW6432KEY, 32};
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        return std::pair<DWORD, int>{RRF_SUBKEY_WOW6464KEY, 64};
    return std::nullopt;
}

void lireClasse(HKEY racine, const QString& clsid, QMap<QString, InscriptionClasse>& classesLues)
{
    if (clsid.isEmpty())
        return;
    const QString cle = classes + QStringLiteral("CLSID\\") + clsid;
    const std::optional<QString> serveur = valeur(racine, cle + QStringLiteral("\\InprocServer32"), nullptr);
    if (!serveur)
        return;
    InscriptionClasse classe;
    classe.serveur = *serveur;
    classe.modeleThreads =
        valeur(racine, cle + QStringLiteral("\\InprocServer32"), L"ThreadingModel").value_or(QString());
    classe.libid = valeur(racine, cle + QStringLiteral("\\TypeLib"), nullptr).value_or(QString());
    classe.versionTypes = valeur(racine, cle + QStringLiteral("\\Version"), nullptr).value_or(QString());
    if (!classe.libid.isEmpty() && classe.versionTypes.isEmpty()) {
        classe.versionTypes = premiereSousCle(racine, classes + QStringLiteral("TypeLib\\") + classe.libid);
        if (classe.versionTypes.isEmpty())
            classe.versionTypes =
                premiereSousCle(HKEY_LOCAL_MACHINE, classes + QStringLiteral("TypeLib\\") + classe.libid);
    }
    classesLues.insert(clsid.toUpper(), classe);
}

// InprocServer32 may hold a quoted or environment-relative path; the file as the system would load it.
QString cheminServeur(const QString& inscrit)
{
    QString chemin = inscrit.trimmed();
    if (chemin.size() >= 2 && chemin.startsWith(QLatin1Char('"')) && chemin.endsWith(QLatin1Char('"')))
        chemin = chemin.mid(1, chemin.size() - 2);
    if (QDir::isAbsolutePath(chemin))
        return QDir::toNativeSeparators(QFileInfo(chemin).absoluteFilePath());
    wchar_t trouve[MAX_PATH * 4];
    const DWORD longueur = SearchPathW(nullptr, reinterpret_cast<const wchar_t*>(chemin.utf16()), nullptr,
                                       MAX_PATH * 4, trouve, nullptr);
    return longueur > 0 && longueur < MAX_PATH * 4
               ? QString::fromWCharArray(trouve, static_cast<int>(longueur))
               : chemin;
}

} // namespace

namespace SondeComposants {

ConstatControle inscriptionControle(const QString& progId)
{
    ConstatControle constat;
    constat.progId = progId;
    RuchesInscription ruches;
    if (progId.startsWith(QLatin1Char('{'))) {
        // A control named by its CLSID (--controle {…}) has no ProgID: each scope holds its class or not.
        const QString cleServeur =
            classes + QStringLiteral("CLSID\\") + progId + QStringLiteral("\\InprocServer32");
        if (valeur(HKEY_CURRENT_USER, cleServeur, nullptr))
            ruches.clsidUtilisateur = progId;
        if (valeur(HKEY_LOCAL_MACHINE, cleServeur, nullptr))
            ruches.clsidMachine = progId;
    } else {
        const QString cleProgId = classes + progId + QStringLiteral("\\CLSID");
        ruches.clsidUtilisateur = valeur(HKEY_CURRENT_USER, cleProgId, nullptr).value_or(QString());
        ruches.clsidMachine = valeur(HKEY_LOCAL_MACHINE, cleProgId, nullptr).value_or(QString());
    }
    ruches.eleve = processusEleve();
    if (ruches.clsidUtilisateur.isEmpty() && ruches.clsidMachine.isEmpty()) {
        if (const auto vue = autreVue()) {
            // Registered for every user in the other view only: the program's own creation says "not
            // registered" and nothing more.
            const QString cle =
                progId.startsWith(QLatin1Char('{'))
                    ? classes + QStringLiteral("CLSID\\") + progId + QStringLiteral("\\InprocServer32")
                    : classes + progId + QStringLiteral("\\CLSID");
            if (const std::optional<QString> lu = valeur(HKEY_LOCAL_MACHINE, cle, nullptr, vue->first)) {
                ruches.clsidAutreVue = progId.startsWith(QLatin1Char('{')) ? progId : *lu;
                ruches.bitsAutreVue = vue->second;
            }
        }
    }
    for (const QString& clsid : {ruches.clsidUtilisateur, ruches.clsidMachine}) {
        lireClasse(HKEY_CURRENT_USER, clsid, ruches.classesUtilisateur);
        lireClasse(HKEY_LOCAL_MACHINE, clsid, ruches.classesMachine);
    }
    constat.inscription = retenir(ruches);
    constat.notreSubstitut = constat.inscription.clsid.compare(QString::fromWCharArray(TexteClsidCtlTarvo),
                                                               Qt::CaseInsensitive) == 0;
    if (constat.inscription.porteeClasse == Portee::Aucune)
        return constat;
    const QString serveur = cheminServeur(constat.inscription.classe.serveur);
    constat.serveur.chemin = serveur;
    constat.serveur.existe = QFileInfo(serveur).isFile();
    constat.serveur.version = versionFichier(serveur);
    constat.serveur.bits = FormatBinaire::bits(serveur);
    return constat;
}

QString versionFichier(const QString& chemin)
{
    const auto* fichier = reinterpret_cast<const wchar_t*>(chemin.utf16());
    DWORD poignee = 0;
    const DWORD taille = GetFileVersionInfoSizeW(fichier, &poignee);
    if (taille == 0)
        return {};
    std::vector<char> donnees(taille);
    if (!GetFileVersionInfoW(fichier, 0, taille, donnees.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT longueur = 0;
    if (!VerQueryValueW(donnees.data(), L"\\", reinterpret_cast<void**>(&info), &longueur) ||
        info == nullptr || longueur < sizeof(VS_FIXEDFILEINFO))
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(HIWORD(info->dwFileVersionMS))
        .arg(LOWORD(info->dwFileVersionMS))
        .arg(HIWORD(info->dwFileVersionLS))
        .arg(LOWORD(info->dwFileVersionLS));
}

} // namespace SondeComposants
