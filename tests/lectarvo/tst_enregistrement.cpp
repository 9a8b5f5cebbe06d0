// Registration of LecTarvo.ocx: which classes key it goes to, exactly which keys it writes and removes
// (below a key of the test's own), and regsvr32 registering and removing the server in this Wine prefix.
#include "appelsdispatch.h"
#include "enregistrementserveur.h"
#include "identiteserveur.h"
#include "tablemembres.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QUuid>
#include <optional>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;
using namespace Qt::StringLiterals;

namespace {

const std::wstring cleClasse = std::wstring(L"CLSID\\") + TexteClsidCtlTarvo;
const std::wstring cleProgId = ProgIdCtlTarvo;

std::wstring sous(const std::wstring& parent, const std::wstring& enfant)
{
    return parent + L"\\" + enfant;
}

// A value of a key, nullopt when the key or the value is missing.
std::optional<QString> valeur(HKEY racine, const std::wstring& cle, const wchar_t* nom = nullptr)
{
    wchar_t texte[1024] = {};
    DWORD taille = sizeof(texte) - sizeof(wchar_t);
    if (RegGetValueW(racine, cle.c_str(), nom, RRF_RT_REG_SZ, nullptr, texte, &taille) != ERROR_SUCCESS)
        return std::nullopt;
    return QString::fromWCharArray(texte);
}

// The same for comparisons: a missing value reads as "(absente)".
QString lu(HKEY racine, const std::wstring& cle, const wchar_t* nom = nullptr)
{
    return valeur(racine, cle, nom).value_or(u"(absente)"_s);
}

bool existe(HKEY racine, const std::wstring& cle)
{
    HKEY ouverte = nullptr;
    if (RegOpenKeyExW(racine, cle.c_str(), 0, KEY_READ, &ouverte) != ERROR_SUCCESS)
        return false;
    RegCloseKey(ouverte);
    return true;
}

// The names of the sub-keys, or of the values, of a key.
QStringList noms(HKEY racine, const std::wstring& cle, bool valeurs)
{
    QStringList liste;
    HKEY ouverte = nullptr;
    if (RegOpenKeyExW(racine, cle.c_str(), 0, KEY_READ, &ouverte) != ERROR_SUCCESS)
        return liste;
    for (DWORD i = 0;; ++i) {
        wchar_t nom[256];
        DWORD taille = 256;
        const LSTATUS etat =
            valeurs ? RegEnumValueW(ouverte, i, nom, &taille, nullptr, nullptr, nullptr, nullptr)
                    : RegEnumKeyExW(ouverte, i, nom, &taille, nullptr, nullptr, nullptr, nullptr);
        if (etat != ERROR_SUCCESS)
            break;
        liste.append(QString::fromWCharArray(nom, int(taille)));
    }
    RegCloseKey(ouverte);
    liste.sort(Qt::CaseInsensitive);
    return liste;
}

bool creer(HKEY racine, const std::wstring& cle, DWORD options = REG_OPTION_NON_VOLATILE)
{
    HKEY creee = nullptr;
    if (RegCreateKeyExW(racine, cle.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &creee, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(creee);
    return true;
}

bool ecrireTexte(HKEY racine, const std::wstring& cle, const std::wstring& texte)
{
    return RegSetKeyValueW(racine, cle.c_str(), nullptr, REG_SZ, texte.c_str(),
                           DWORD((texte.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

QString cheminServeur()
{
    return QDir::toNativeSeparators(QDir(QCoreApplication::applicationDirPath()).filePath(u"LecTarvo.ocx"_s));
}

int regsvr32(const QStringList& options)
{
    QProcess processus;
    processus.start(u"regsvr32"_s, QStringList{u"/s"_s} + options + QStringList{cheminServeur()});
    if (!processus.waitForFinished(60000))
        return -1;
    return processus.exitStatus() == QProcess::NormalExit ? processus.exitCode() : -1;
}

} // namespace

class TestEnregistrement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        QVERIFY(SUCCEEDED(hr));
    }
    void cleanupTestCase() { CoUninitialize(); }

    void init()
    {
        m_essai = L"Software\\BancCcamEssais\\" + QUuid::createUuid().toString().toStdWString();
        m_cle = CleClasses{HKEY_CURRENT_USER, m_essai};
        QVERIFY(creer(HKEY_CURRENT_USER, m_essai));
    }
    void cleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\BancCcamEssais"); }

    void choixDeLaCle_data()
    {
        QTest::addColumn<bool>("eleve");
        QTest::addColumn<bool>("machine");
        QTest::newRow("elevated: the machine's classes") << true << true;
        QTest::newRow("not elevated: the user's own") << false << false;
    }
    void choixDeLaCle()
    {
        QFETCH(bool, eleve);
        QFETCH(bool, machine);
        const CleClasses cle = cleClasses(eleve);
        QCOMPARE(cle.racine, machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
        QCOMPARE(QString::fromStdWString(cle.chemin), u"Software\\Classes"_s);
    }

    void clesEcrites()
    {
        const std::wstring module = L"C:\\Program Files\\Banc CCAM\\LecTarvo.ocx";
        QCOMPARE(enregistrerServeur(m_cle, module), S_OK);

        QCOMPARE(noms(HKEY_CURRENT_USER, m_essai, false), (QStringList{u"CLSID"_s, u"LectTarvo.ctlTarvo"_s}));
        QCOMPARE(noms(HKEY_CURRENT_USER, sous(m_essai, L"CLSID"), false),
                 QStringList{u"{B17E68ED-BC29-49C1-B560-879E09580F45}"_s});
        const std::wstring classe = sous(m_essai, cleClasse);
        QCOMPARE(noms(HKEY_CURRENT_USER, classe, false), (QStringList{u"InprocServer32"_s, u"ProgID"_s}));
        QVERIFY(!valeur(HKEY_CURRENT_USER, classe).value_or(QString()).isEmpty());
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(classe, L"InprocServer32")),
                 u"C:\\Program Files\\Banc CCAM\\LecTarvo.ocx"_s);
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(classe, L"InprocServer32"), L"ThreadingModel"), u"Apartment"_s);
        QCOMPARE(noms(HKEY_CURRENT_USER, sous(classe, L"InprocServer32"), true),
                 (QStringList{QString(), u"ThreadingModel"_s}));
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(classe, L"ProgID")), u"LectTarvo.ctlTarvo"_s);
        const std::wstring progId = sous(m_essai, cleProgId);
        QCOMPARE(noms(HKEY_CURRENT_USER, progId, false), QStringList{u"CLSID"_s});
        QVERIFY(!valeur(HKEY_CURRENT_USER, progId).value_or(QString()).isEmpty());
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(progId, L"CLSID")), u"{B17E68ED-BC29-49C1-B560-879E09580F45}"_s);

        // Registering again changes nothing but the path.
        QCOMPARE(enregistrerServeur(m_cle, L"D:\\LecTarvo.ocx"), S_OK);
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(classe, L"InprocServer32")), u"D:\\LecTarvo.ocx"_s);
        QCOMPARE(noms(HKEY_CURRENT_USER, m_essai, false), (QStringList{u"CLSID"_s, u"LectTarvo.ctlTarvo"_s}));
    }

    void retraitExact()
    {
        // Neighbours of our keys, the kind any classes key holds.
        const std::wstring voisine = sous(m_essai, L"CLSID\\{00000000-1111-2222-3333-444444444444}");
        QVERIFY(creer(HKEY_CURRENT_USER, sous(voisine, L"InprocServer32")));
        QVERIFY(ecrireTexte(HKEY_CURRENT_USER, sous(m_essai, L".ccam"), L"Banc.Fichier"));
        QCOMPARE(enregistrerServeur(m_cle, L"C:\\LecTarvo.ocx"), S_OK);

        QCOMPARE(desenregistrerServeur(m_cle), S_OK);
        QVERIFY(!existe(HKEY_CURRENT_USER, sous(m_essai, cleClasse)));
        QVERIFY(!existe(HKEY_CURRENT_USER, sous(m_essai, cleProgId)));
        QVERIFY(existe(HKEY_CURRENT_USER, sous(voisine, L"InprocServer32")));
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(m_essai, L".ccam")), u"Banc.Fichier"_s);
        QCOMPARE(noms(HKEY_CURRENT_USER, m_essai, false), (QStringList{u".ccam"_s, u"CLSID"_s}));

        // Nothing left to remove is no failure, and a classes key that does not exist neither.
        QCOMPARE(desenregistrerServeur(m_cle), S_OK);
        QCOMPARE(desenregistrerServeur(CleClasses{HKEY_CURRENT_USER, m_essai + L"\\Absente"}), S_OK);
    }

    void progIdRepris()
    {
        // Another server took the name since: removing ours leaves the name to it.
        QCOMPARE(enregistrerServeur(m_cle, L"C:\\LecTarvo.ocx"), S_OK);
        const std::wstring autre = L"{00000000-1111-2222-3333-444444444444}";
        QVERIFY(ecrireTexte(HKEY_CURRENT_USER, sous(m_essai, cleProgId + L"\\CLSID"), autre));
        QCOMPARE(desenregistrerServeur(m_cle), S_OK);
        QVERIFY(!existe(HKEY_CURRENT_USER, sous(m_essai, cleClasse)));
        QCOMPARE(lu(HKEY_CURRENT_USER, sous(m_essai, cleProgId + L"\\CLSID")),
                 QString::fromStdWString(autre));
    }

    void echecSansDemiEcriture()
    {
        // The ProgID's key exists and takes no lasting sub-key (a volatile key): the registration fails
        // when it comes to the ProgID, after the class's keys were written; they must go again.
        QVERIFY(creer(HKEY_CURRENT_USER, sous(m_essai, cleProgId), REG_OPTION_VOLATILE));
        const HRESULT hr = enregistrerServeur(m_cle, L"C:\\LecTarvo.ocx");
        QCOMPARE(hr, HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE));
        QVERIFY(!existe(HKEY_CURRENT_USER, sous(m_essai, cleClasse)));
        QCOMPARE(noms(HKEY_CURRENT_USER, sous(m_essai, L"CLSID"), false), QStringList());
        // The key was not ours: it stays, as it was.
        QVERIFY(existe(HKEY_CURRENT_USER, sous(m_essai, cleProgId)));
        QVERIFY(!valeur(HKEY_CURRENT_USER, sous(m_essai, cleProgId)));

        QCOMPARE(enregistrerServeur(m_cle, L""), E_INVALIDARG);
        QVERIFY(!existe(HKEY_CURRENT_USER, sous(m_essai, cleClasse)));
    }

    // The whole path a user takes: regsvr32, creation by name, regsvr32 /u.
    void regsvr32EnregistreEtRetire()
    {
        // Whatever happens here, the server is left registered for the suites that need it.
        auto reenregistrer = qScopeGuard([] { regsvr32({}); });
        const CleClasses classes = cleClasses(processusEleve());
        // Wine runs programs elevated and finds ProgIDs among the machine's classes only: this lane is the
        // machine registration.
        if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr)
            QCOMPARE(classes.racine, HKEY_LOCAL_MACHINE);
        const std::wstring inproc = sous(classes.chemin, sous(cleClasse, L"InprocServer32"));

        QCOMPARE(regsvr32({u"/u"_s}), 0);
        CLSID clsid{};
        QCOMPARE(CLSIDFromProgID(ProgIdCtlTarvo, &clsid), CO_E_CLASSSTRING);
        ComPtr<IDispatch> objet;
        QCOMPARE(CoCreateInstance(ClsidCtlTarvo, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&objet)),
                 REGDB_E_CLASSNOTREG);
        QVERIFY(!existe(classes.racine, inproc));

        QCOMPARE(regsvr32({}), 0);
        QCOMPARE(lu(classes.racine, inproc).toLower(), cheminServeur().toLower());
        QCOMPARE(CLSIDFromProgID(ProgIdCtlTarvo, &clsid), S_OK);
        QVERIFY(IsEqualCLSID(clsid, ClsidCtlTarvo));
        QCOMPARE(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&objet)), S_OK);
        VariantCom date = variantTexte(u"20250601"_s);
        VariantCom code = variantTexte(u"LHQK005"_s);
        QCOMPARE(ecrire(objet.Get(), DispId::DateReference, date.valeur()).hr, S_OK);
        QCOMPARE(ecrire(objet.Get(), DispId::CodeActe, code.valeur()).hr, S_OK);
        QCOMPARE(appeler(objet.Get(), DispId::LirePrix).texte, u"2590"_s);
        objet.Reset();

        QCOMPARE(regsvr32({u"/u"_s}), 0);
        QVERIFY(!existe(classes.racine, inproc));
        QVERIFY(!existe(classes.racine, sous(classes.chemin, cleProgId)));
        QCOMPARE(CLSIDFromProgID(ProgIdCtlTarvo, &clsid), CO_E_CLASSSTRING);
        QCOMPARE(CoCreateInstance(ClsidCtlTarvo, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&objet)),
                 REGDB_E_CLASSNOTREG);

        reenregistrer.dismiss();
        QCOMPARE(regsvr32({}), 0);
        QCOMPARE(CLSIDFromProgID(ProgIdCtlTarvo, &clsid), S_OK);
    }

private:
    std::wstring m_essai;
    CleClasses m_cle{};
};

QTEST_GUILESS_MAIN(TestEnregistrement)
#include "tst_enregistrement.moc"
