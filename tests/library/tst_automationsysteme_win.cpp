// The automation arrays over arrays the system itself made, as a library of the components' era or the
// runtime hands them over: one that says it holds texts (FADF_BSTR) has the texts it drops freed by the
// system when it shrinks, so the tool must not free them a second time. Every free is watched through the
// system's allocator hook, with the text cache off (OANOCACHE, set by the test).
#include "automation.h"

#include <QTest>
#include <set>

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
// clang-format on

namespace {

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Counts the blocks freed twice, and frees them only once: the second free would corrupt the heap.
class EspionLiberations final : public IMallocSpy
{
public:
    int doubles = 0;
    int liberations = 0;

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
        m_liberes.erase(bloc);
        return bloc;
    }
    void* STDMETHODCALLTYPE PreFree(void* bloc, BOOL) override
    {
        if (bloc == nullptr)
            return bloc;
        if (!m_liberes.insert(bloc).second) {
            ++doubles;
            return nullptr;
        }
        ++liberations;
        return bloc;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* bloc, SIZE_T taille, void** nouveau, BOOL) override
    {
        *nouveau = bloc;
        return taille;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* bloc, BOOL) override
    {
        m_liberes.erase(bloc);
        return bloc;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* bloc, BOOL) override { return bloc; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T taille, BOOL) override { return taille; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* bloc, BOOL) override { return bloc; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int resultat) override { return resultat; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    std::set<void*> m_liberes;
};

#pragma GCC diagnostic pop

} // namespace

class TestAutomationSysteme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("OANOCACHE"), "le cache des textes masquerait les libérations");
        QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void cleanupTestCase() { CoUninitialize(); }

    void tableauDuSysteme_data()
    {
        QTest::addColumn<uint>("avant");
        QTest::addColumn<uint>("apres");
        QTest::addColumn<int>("liberes");
        QTest::newRow("réduire") << 4u << 1u << 3;
        QTest::newRow("vider") << 3u << 0u << 3;
    }
    // A vector of texts made by the system, shrunk by the tool: each dropped text freed once, the kept ones
    // still readable. (Growing drops nothing; tst_automation covers it.)
    void tableauDuSysteme()
    {
        QFETCH(uint, avant);
        QFETCH(uint, apres);
        QFETCH(int, liberes);
        // Every block made while the hook is in place: the system reads a block's size the hook's way.
        EspionLiberations espion;
        QCOMPARE(CoRegisterMallocSpy(&espion), S_OK);
        SAFEARRAY* systeme = SafeArrayCreateVector(VT_BSTR, 0, avant);
        QVERIFY(systeme != nullptr);
        QVERIFY(systeme->fFeatures & FADF_BSTR);
        auto* tableau = reinterpret_cast<TableauAuto*>(systeme);
        auto* textes = static_cast<BSTR*>(systeme->pvData);
        for (uint i = 0; i < avant; ++i)
            textes[i] = SysAllocString(QStringLiteral("texte %1").arg(i).toStdWString().c_str());
        espion.liberations = 0;

        const int32_t resultat = tableauAutoRedimensionner(tableau, 0, apres);
        const int doubles = espion.doubles;
        const int liberations = espion.liberations;
        textes = static_cast<BSTR*>(systeme->pvData);
        QStringList gardes;
        for (uint i = 0; i < std::min(avant, apres); ++i)
            gardes.append(QString::fromWCharArray(textes[i]));
        const int32_t destruction = tableauAutoDetruire(tableau);
        QCOMPARE(CoRevokeMallocSpy(), S_OK);

        QCOMPARE(resultat, int32_t{AutoReussi});
        QCOMPARE(doubles, 0);
        // The system may move its data block as well: at least the dropped texts were freed.
        QVERIFY2(liberations >= liberes, qPrintable(QString::number(liberations)));
        for (int i = 0; i < gardes.size(); ++i)
            QCOMPARE(gardes.at(i), QStringLiteral("texte %1").arg(i));
        QCOMPARE(destruction, int32_t{AutoReussi});
        QCOMPARE(espion.doubles, 0);
    }
};

QTEST_GUILESS_MAIN(TestAutomationSysteme)
#include "tst_automationsysteme_win.moc"
