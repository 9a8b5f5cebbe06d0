// Our TarvoLib.dll as the real one is called on Windows, through the system's own loader, texts and arrays.
#include "chargeurbibliotheque.h"
#include "echec.h"
#include "enregistrements.h"
#include "formatbinaire.h"
#include "magasinccam.h"
#include "plateformetest.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "tarvo.h"
#include "texteansi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <set>

// clang-format off
#include <windows.h>
#include <objidl.h>
// clang-format on

using namespace Qt::Literals::StringLiterals;

namespace {

// The system's allocation hook: every block of the task allocator, through which the automation texts and
// arrays are allocated (with the text cache off: OANOCACHE, set by the test), is seen coming and going.
// COM interfaces are released through Release(), never deleted through a base pointer: no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class EspionAllocations final : public IMallocSpy
{
public:
    std::set<void*> vivants;
    int allocations = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *objet = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T taille) override { return taille; }
    void* STDMETHODCALLTYPE PostAlloc(void* bloc) override
    {
        if (bloc != nullptr) {
            vivants.insert(bloc);
            ++allocations;
        }
        return bloc;
    }
    void* STDMETHODCALLTYPE PreFree(void* bloc, BOOL) override
    {
        vivants.erase(bloc);
        return bloc;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* bloc, SIZE_T taille, void** nouveau, BOOL) override
    {
        m_ancien = bloc;
        *nouveau = bloc;
        return taille;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* bloc, BOOL) override
    {
        if (bloc != nullptr) {
            vivants.erase(m_ancien);
            vivants.insert(bloc);
            ++allocations;
        }
        return bloc;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* bloc, BOOL) override { return bloc; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T taille, BOOL) override { return taille; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* bloc, BOOL) override { return bloc; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int reponse) override { return reponse; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    void* m_ancien = nullptr;
};
#pragma GCC diagnostic pop

QString cheminBinaire(const QString& nom)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(nom);
}

} // namespace

class TestTarvoWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exporteLesNomsNus()
    {
        HMODULE module = LoadLibraryExW(
            reinterpret_cast<const wchar_t*>(cheminBinaire(QStringLiteral("TarvoLib.dll")).utf16()), nullptr,
            LOAD_WITH_ALTERED_SEARCH_PATH);
        QVERIFY(module != nullptr);
        const QStringList noms = tarvo::nomsPointsEntree();
        QCOMPARE(noms.size(), 39);
        for (const QString& nom : noms)
            QVERIFY2(GetProcAddress(module, nom.toLatin1().constData()) != nullptr, qPrintable(nom));
        // The decorated names of a stdcall build are not what the library offers.
        QVERIFY(GetProcAddress(module, "Connection_Tarvo@16") == nullptr);
        QVERIFY(GetProcAddress(module, "_Connection_Tarvo@16") == nullptr);
        FreeLibrary(module);
    }

    // The search by name as the system makes it, minus the current directory: a folder on PATH is searched,
    // the current directory is not, and a library of the other width is named as such.
    void rechercheParNom_data()
    {
        QTest::addColumn<QString>("ou"); // "path", "courant"
        QTest::addColumn<bool>("autreLargeur");
        QTest::addColumn<int>("numero"); // 0: loaded
        QTest::addColumn<QString>("raison");
        QTest::newRow("dans un dossier du PATH seulement : trouvée") << u"path"_s << false << 0 << QString();
        QTest::newRow("dans le répertoire courant seulement : 53")
            << u"courant"_s << false << int{Echec::FichierIntrouvable}
            << u"Fichier introuvable : BancLeurre.dll (cherché dans : "_s;
        // A 64-bit DLL for the 32-bit tool, a 32-bit one for the 64-bit build.
        const int bits = FormatBinaire::bitsProgramme();
        const int autre = bits == 32 ? 64 : 32;
        QTest::newRow(qPrintable(u"DLL %1 bits sur le PATH : 48 qui le dit"_s.arg(autre)))
            << u"path"_s << true << int{Echec::ChargementImpossible}
            << u"est un fichier %1 bits, qu'un programme %2 bits ne peut pas charger"_s.arg(autre).arg(bits);
    }
    void rechercheParNom()
    {
        QFETCH(QString, ou);
        QFETCH(bool, autreLargeur);
        QFETCH(int, numero);
        QFETCH(QString, raison);
        QTemporaryDir repertoire;
        QVERIFY(repertoire.isValid());
        const QString fichier = repertoire.filePath(QStringLiteral("BancLeurre.dll"));
        QVERIFY(autreLargeur ? PlateformeTest::ecrireBibliothequeAutreLargeur(fichier)
                             : QFile::copy(cheminBinaire(QStringLiteral("TarvoFautif.dll")), fichier));
        const QString natif = QDir::toNativeSeparators(repertoire.path());
        const QString courant = QDir::currentPath();
        wchar_t ancienPath[32767];
        const DWORD longueur = GetEnvironmentVariableW(L"PATH", ancienPath, 32767);
        if (ou == u"path")
            SetEnvironmentVariableW(
                L"PATH", reinterpret_cast<const wchar_t*>(
                             (natif + u';' + QString::fromWCharArray(ancienPath, static_cast<int>(longueur)))
                                 .utf16()));
        else
            QVERIFY(QDir::setCurrent(repertoire.path()));
        const ChargeurBibliotheque::Ouverture ouverture =
            ChargeurBibliotheque::ouvrir(QStringLiteral("BancLeurre"), {});
        SetEnvironmentVariableW(L"PATH", ancienPath);
        QVERIFY(QDir::setCurrent(courant));
        ChargeurBibliotheque::fermer(ouverture.poignee);
        QCOMPARE(ouverture.numero, numero);
        QCOMPARE(ouverture.poignee != nullptr, numero == 0);
        QVERIFY2(ouverture.raison.contains(raison), qPrintable(ouverture.raison));
        if (numero == 0)
            QCOMPARE(ouverture.fichier.toLower(), QDir::toNativeSeparators(fichier).toLower());
        if (numero == Echec::FichierIntrouvable)
            QVERIFY2(!ouverture.raison.contains(natif, Qt::CaseInsensitive), qPrintable(ouverture.raison));
    }

    // The current directory is never searched: a library of that name planted there is not found, although it
    // loads well by its full path.
    void bibliothequePlanteeDansLeRepertoireCourant()
    {
        QTemporaryDir repertoire;
        QVERIFY(repertoire.isValid());
        QVERIFY(QFile::copy(cheminBinaire(QStringLiteral("TarvoFautif.dll")),
                            repertoire.filePath(QStringLiteral("BancLeurre.dll"))));
        const QString courant = QDir::currentPath();
        QVERIFY(QDir::setCurrent(repertoire.path()));
        const ChargeurBibliotheque::Ouverture parNom =
            ChargeurBibliotheque::ouvrir(QStringLiteral("BancLeurre"), {});
        QVERIFY(QDir::setCurrent(courant));
        QVERIFY(parNom.poignee == nullptr);
        QVERIFY(!parNom.raison.isEmpty());

        const ChargeurBibliotheque::Ouverture parChemin = ChargeurBibliotheque::ouvrir(
            QStringLiteral("BancLeurre"), repertoire.filePath(QStringLiteral("BancLeurre.dll")));
        QVERIFY2(parChemin.poignee != nullptr, qPrintable(parChemin.raison));
        ChargeurBibliotheque::fermer(parChemin.poignee);
    }

    // The companion started from a folder that holds a TarvoLib.dll of its own still takes the one beside it.
    void compagnonLanceDepuisUnAutreRepertoire()
    {
        QTemporaryDir repertoire;
        QVERIFY(repertoire.isValid());
        QVERIFY(QFile::copy(cheminBinaire(QStringLiteral("TarvoFautifIncomplet.dll")),
                            repertoire.filePath(QStringLiteral("TarvoLib.dll"))));
        QProcess compagnon;
        compagnon.setWorkingDirectory(repertoire.path());
        compagnon.start(cheminBinaire(QStringLiteral("tarvo-verifier.exe")), {});
        QVERIFY(compagnon.waitForFinished(60000));
        const QString sortie = QString::fromUtf8(compagnon.readAllStandardOutput());
        QCOMPARE(compagnon.exitCode(), 0);
        QVERIFY2(sortie.contains(QDir::toNativeSeparators(cheminBinaire(QStringLiteral("TarvoLib.dll"))),
                                 Qt::CaseInsensitive),
                 qPrintable(sortie));
        QVERIFY2(sortie.contains(QStringLiteral("DeConnection_Tarvo")), qPrintable(sortie));
    }

    void pointEntreeEtBibliothequeAbsents()
    {
        tarvo::definirCheminBibliotheque(cheminBinaire(QStringLiteral("TarvoFautifIncomplet.dll")));
        try {
            tarvo::verifierPointEntree(QStringLiteral("GetPriseEnCharge_Tarvo"));
            QFAIL("point d'entrée trouvé");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int{Echec::PointEntreeIntrouvable});
            QVERIFY2(echec.description().endsWith(QStringLiteral("GetPriseEnCharge_Tarvo")) == false &&
                         echec.description().section(QStringLiteral(" : "), -1).size() > 0,
                     qPrintable(echec.description()));
        }
        tarvo::definirCheminBibliotheque(cheminBinaire(QStringLiteral("Absente.dll")));
        try {
            tarvo::Version_Tarvo();
            QFAIL("bibliothèque chargée");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int{Echec::FichierIntrouvable});
            QVERIFY2(echec.description().section(QStringLiteral(" : "), -1).size() > 0,
                     qPrintable(echec.description()));
        }
        tarvo::definirCheminBibliotheque({});
    }

    // Texts cross in the ANSI code page: accented labels come back whole, one byte a character.
    void libellesAccentuesAllerRetour_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("libelleLong");
        QTest::newRow("é, libellé court") << QStringLiteral("JLNL001") << false;
        QTest::newRow("œ, libellé long") << QStringLiteral("HFFC004") << true;
    }
    void libellesAccentuesAllerRetour()
    {
        QFETCH(QString, code);
        QFETCH(bool, libelleLong);
        const MagasinCcam magasin(cheminBinaire(MagasinCcam::nomEchantillon()));
        const std::optional<Acte> acte = magasin.acte(code);
        QVERIFY(acte.has_value());
        const QString attendu = libelleLong ? acte->libelleLong : acte->libelleCourt;
        QVERIFY2(attendu.contains(QRegularExpression(QStringLiteral("[éœ]"))), qPrintable(attendu));
        QCOMPARE(GetACP(), UINT{1252});

        QCOMPARE(tarvo::Connection_Tarvo(0, 1, 0,
                                         QStringLiteral("C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf")),
                 1);
        QCOMPARE(libelleLong ? tarvo::LibelleLong_Tarvo(code) : tarvo::Libelle_Tarvo(code),
                 qint32(attendu.size()));
        QString libelle;
        tarvo::GetString_Tarvo(libelle, tarvo::GetLenString_Tarvo() + 1);
        QCOMPARE(libelle, attendu);
        tarvo::DeConnection_Tarvo();
    }

    // A library that reads the length prefix of its text argument sees the ANSI bytes' count, then a zero.
    void argumentEnChaineAnsi_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("octets");
        QTest::newRow("accentué : un octet par caractère") << u"Échographie à l'œil"_s << 19;
        QTest::newRow("vide") << QString() << 0;
    }
    void argumentEnChaineAnsi()
    {
        QFETCH(QString, texte);
        QFETCH(int, octets);
        const TexteAnsi::ArgumentAnsi argument(texte);
        QCOMPARE(SysStringByteLen(reinterpret_cast<BSTR>(const_cast<char*>(argument.octets()))),
                 UINT(octets));
        QCOMPARE(argument.octets()[octets], '\0');
        QCOMPARE(TexteAnsi::depuisAnsi(argument.octets()), texte);
    }

    void texteAccentueEnvoyePuisRelu()
    {
        const QString accentue = QStringLiteral("Échographie à l'œil — ça passe ?");
        QCOMPARE(tarvo::SetString_Tarvo(accentue), qint32(accentue.size()));
        QString relu;
        tarvo::GetString_Tarvo(relu, tarvo::GetLenString_Tarvo() + 1);
        QCOMPARE(relu, accentue);
    }

    // The seven calls with the system's arrays and texts: every block the sequence allocates is freed.
    void sequenceSansFuite()
    {
        QVERIFY2(qEnvironmentVariableIsSet("OANOCACHE"), "le cache des textes masquerait les fuites");
        SourceContexteSequence source;
        source.dateReference = [] {
            return QStringLiteral("20250615");
        };
        source.grilleTarifaire = [] {
            return QStringLiteral("001");
        };
        ServiceMessagesScripte chauffe;
        executerSequenceTarvo(chauffe, source,
                              appelsTarvo()); // loads the library and opens the store before counting

        EspionAllocations espion;
        QCOMPARE(CoRegisterMallocSpy(&espion), S_OK);
        ServiceMessagesScripte messages;
        executerSequenceTarvo(messages, source, appelsTarvo());
        QCOMPARE(CoRevokeMallocSpy(), S_OK);

        QVERIFY(messages.messages.size() >= 5);
        QVERIFY2(espion.allocations > 10, qPrintable(QString::number(espion.allocations)));
        QCOMPARE(espion.vivants.size(), std::size_t{0});
    }
};

QTEST_GUILESS_MAIN(TestTarvoWindows)
#include "tst_tarvowindows.moc"
