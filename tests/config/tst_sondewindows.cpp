// The configuration path over the real Windows calls: GetEnvironmentVariableA on values set in this process,
// and GetVersionExA as the system answers it, the version being chosen per program through Wine's own
// setting.
#include "sondesysteme.h"
#include "utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <windows.h>

namespace {

const QString queue = QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf\\SESAM.ini");

bool sousWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine reads the version it reports from HKCU\Software\Wine\AppDefaults\<program>\Version, the per-program
// form of its version setting (winecfg -v sets the prefix-wide one): a program started afterwards sees it.
class VersionWine
{
public:
    VersionWine(const wchar_t* programme, const QString& version)
        : m_cle(std::wstring(L"Software\\Wine\\AppDefaults\\") + programme)
    {
        const std::wstring valeur = version.toStdWString();
        m_pose = RegSetKeyValueW(HKEY_CURRENT_USER, m_cle.c_str(), L"Version", REG_SZ, valeur.c_str(),
                                 static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~VersionWine() { RegDeleteTreeW(HKEY_CURRENT_USER, m_cle.c_str()); }
    bool pose() const { return m_pose; }

private:
    std::wstring m_cle;
    bool m_pose = false;
};

} // namespace

class TestSondeWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void variableLueDansLeProcessus_data()
    {
        QTest::addColumn<int>("longueur");
        QTest::newRow("vide") << 0;
        QTest::newRow("C:\\ProgramData") << 14;
        QTest::newRow("254 caractères, le plus long que le tampon reçoive") << 254;
        QTest::newRow("255 caractères, redemandé à la taille annoncée") << 255;
        QTest::newRow("300 caractères") << 300;
    }
    void variableLueDansLeProcessus()
    {
        QFETCH(int, longueur);
        QByteArray valeur = QByteArrayLiteral("C:\\ProgramData");
        if (longueur != valeur.size()) {
            valeur.clear();
            for (int i = 0; i < longueur; ++i)
                valeur.append(i == 0 ? 'C' : i % 10 == 9 ? '\\' : char('a' + i % 26));
        }
        QVERIFY(SetEnvironmentVariableA("ALLUSERSPROFILE", valeur.constData()));
        const QString attendu = QString::fromLatin1(valeur);
        QCOMPARE(Utils::LireVariableEnvironnement(QStringLiteral("ALLUSERSPROFILE"), sondePlateforme()),
                 attendu);
        const QString chemin = Utils::CheminSesamIni(sondePlateforme());
        QVERIFY2(chemin.startsWith(attendu) && chemin.endsWith(queue), qPrintable(chemin));
        QCOMPARE(Utils::repertoireConfiguration(sondePlateforme()), chemin.chopped(10));
    }

    void variableAbsente()
    {
        QVERIFY(SetEnvironmentVariableA("ALLUSERSPROFILE", nullptr));
        QCOMPARE(Utils::LireVariableEnvironnement(QStringLiteral("ALLUSERSPROFILE"), sondePlateforme()),
                 QString());
        QVERIFY(Utils::CheminSesamIni(sondePlateforme()).endsWith(queue));
    }

    void versionDuSysteme_data()
    {
        QTest::addColumn<QString>("reglageWine");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("typeProduit"); // -1: any
        QTest::addColumn<bool>("estVersion60");
        QTest::addColumn<bool>("estServeur60OuPlus");
        QTest::addColumn<QString>("infixe");
        QTest::newRow("5.2 serveur : sous Application Data")
            << "win2003" << 52 << 3 << false << false << "\\Application Data";
        QTest::newRow("6.0 poste de travail") << "vista" << 60 << 1 << true << false << "";
        QTest::newRow("6.0 serveur") << "win2008" << 60 << 3 << true << true << "";
        // Wine's 6.1 answers product type 3; from 6.1 on, the type decides nothing.
        QTest::newRow("6.1") << "win7" << 61 << -1 << false << true << "";
        QTest::newRow("6.2, sans manifeste de compatibilité") << "win10" << 62 << 1 << false << true << "";
    }
    void versionDuSysteme()
    {
        if (!sousWine())
            QSKIP("La version du système ne se choisit que sous Wine");
        QFETCH(QString, reglageWine);
        QFETCH(int, version);
        QFETCH(int, typeProduit);
        QFETCH(bool, estVersion60);
        QFETCH(bool, estServeur60OuPlus);
        QFETCH(QString, infixe);

        const VersionWine reglage(L"sondeversion.exe", reglageWine);
        QVERIFY(reglage.pose());
        QProcess sonde;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("ALLUSERSPROFILE"), QStringLiteral("C:\\ProgramData"));
        sonde.setProcessEnvironment(environnement);
        sonde.start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("sondeversion.exe")));
        QVERIFY(sonde.waitForFinished(60000));
        QCOMPARE(sonde.exitCode(), 0);
        const QStringList lignes = QString::fromLocal8Bit(sonde.readAllStandardOutput())
                                       .split(QRegularExpression(QStringLiteral("\r?\n")));
        QVERIFY2(lignes.size() >= 5, qPrintable(lignes.join(QLatin1Char('|'))));
        QCOMPARE(lignes.at(0).toInt(), version);
        if (typeProduit >= 0)
            QCOMPARE(lignes.at(1).toInt(), typeProduit);
        QCOMPARE(lignes.at(2).toInt() == 1, estVersion60);
        QCOMPARE(lignes.at(3).toInt() == 1, estServeur60OuPlus);
        QCOMPARE(lignes.at(4), QStringLiteral("C:\\ProgramData") + infixe + queue);
    }
};

QTEST_GUILESS_MAIN(TestSondeWindows)
#include "tst_sondewindows.moc"
