// The window's control hosted as a form hosts it, against a control written elsewhere the old way
// (ctlancien/): the container's calls in a form's order, activation before any method, the control's values
// and errors as the runtime reads them, the window disabled under the control's own dialog and after it
// enabled again, and no second command while one runs.
#include "controlecom.h"
#include "echec.h"
#include "echeccom_win.h"
#include "frminit.h"
#include "journaltest.h"
#include "membresctltarvo.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "tablemembres.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <wrl/client.h>

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

using Microsoft::WRL::ComPtr;
using Lecture = std::function<QString(MembresCtlTarvo&)>;
Q_DECLARE_METATYPE(Lecture)

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

const QString progIdAncien = S("BancTest.CtlAncien");
// {6C1E32A0-5B7D-4F0E-9C43-2D8E1A7B5F61}
const CLSID classeAncien = {0x6c1e32a0, 0x5b7d, 0x4f0e, {0x9c, 0x43, 0x2d, 0x8e, 0x1a, 0x7b, 0x5f, 0x61}};

// What the control exports for the tests; the module is kept loaded, so its notes outlive each instance.
struct Controle
{
    HMODULE module = nullptr;
    const wchar_t*(WINAPI* journal)() = nullptr;
    void(WINAPI* vider)() = nullptr;
    HWND(WINAPI* racine)() = nullptr;

    QStringList lignes() const
    {
        return QString::fromWCharArray(journal()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

template<typename Fonction> void trouver(HMODULE module, const char* nom, Fonction& fonction)
{
    fonction = reinterpret_cast<Fonction>(reinterpret_cast<void (*)()>(GetProcAddress(module, nom)));
}

// The thread aware of screen scaling for a while, as Qt's Windows platform makes the tool, so that what the
// container changes around a call shows.
class ConscienceEchelle
{
public:
    ConscienceEchelle()
    {
        if (m_changer != nullptr)
            m_avant = m_changer(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    ~ConscienceEchelle()
    {
        if (m_avant != nullptr)
            m_changer(m_avant);
    }
    ConscienceEchelle(const ConscienceEchelle&) = delete;
    ConscienceEchelle& operator=(const ConscienceEchelle&) = delete;

private:
    using Changer = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    Changer m_changer = reinterpret_cast<Changer>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    DPI_AWARENESS_CONTEXT m_avant = nullptr;
};

} // namespace

class TestConteneurOle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        // Loaded through COM once, then held: COM may unload it whenever the last apartment ends.
        ComPtr<IClassFactory> fabrique;
        QVERIFY2(
            SUCCEEDED(CoGetClassObject(classeAncien, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&fabrique))),
            "CtlAncien.ocx n'est pas inscrit");
        QVERIFY(GetModuleHandleExW(0, L"CtlAncien.ocx", &m_controle.module));
        trouver(m_controle.module, "JournalCtlAncien", m_controle.journal);
        trouver(m_controle.module, "ViderJournalCtlAncien", m_controle.vider);
        trouver(m_controle.module, "RacineCtlAncien", m_controle.racine);
        QVERIFY(m_controle.journal && m_controle.vider && m_controle.racine);
    }
    void cleanupTestCase()
    {
        FreeLibrary(m_controle.module);
        CoUninitialize();
    }
    void init() { m_controle.vider(); }

    // Created, sited, initialised and activated in place in a form's order, at the form's position, invisible
    // as the control asks; closed in the mirror order.
    void appelsDuConteneurDansLOrdreDUneFeuille()
    {
        {
            QWidget fenetre;
            auto controle = creerControleCom(progIdAncien, &fenetre);
            QCOMPARE(m_controle.lignes(),
                     (QStringList{
                         S("GetMiscStatus"),
                         S("SetClientSite"),
                         S("ambiance UserMode=vrai UIDead=faux DisplayName=ctlTarvo1 MessageReflect=faux "
                           "ShowGrabHandles=faux ShowHatching=faux LocaleID=utilisateur"),
                         S("InitNew"),
                         S("DoVerb(-5)"),
                         S("actif x=685 y=24 visible=non cadre=racine"),
                     }));
            m_controle.vider();
        }
        QCOMPARE(m_controle.lignes(),
                 (QStringList{S("InPlaceDeactivate"), S("Close(1)"), S("SetClientSite(null)"), S("libere")}));
    }

    // Without a container the control refuses its methods, as the tool used to meet it.
    void methodesRefuseesSansActivation()
    {
        ComPtr<IDispatch> nu;
        QVERIFY(SUCCEEDED(CoCreateInstance(classeAncien, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&nu))));
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        VARIANT resultat;
        VariantInit(&resultat);
        const HRESULT hr = nu->Invoke(DispId::LireLibelle, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                      &aucun, &resultat, nullptr, nullptr);
        QCOMPARE(hr, E_UNEXPECTED);
        QCOMPARE(echecDepuisHresult(hr, nullptr).numero(), -2147418113);
    }

    void reponsesDuControle_data()
    {
        QTest::addColumn<Lecture>("lecture");
        QTest::addColumn<QString>("texte"); // when it answers
        QTest::addColumn<int>("numero");    // when it fails
        QTest::addColumn<QString>("description");
        QTest::newRow("fonction qui n'a rien affecté: Empty")
            << Lecture([](MembresCtlTarvo& m) { return m.LireLibelle(); }) << S("") << 0 << QString();
        QTest::newRow("un nombre") << Lecture([](MembresCtlTarvo& m) { return m.LirePrix(); }) << S("2590")
                                   << 0 << QString();
        QTest::newRow("Null") << Lecture([](MembresCtlTarvo& m) { return m.LireModificateurs(); })
                              << QString() << 94 << S("Utilisation incorrecte de Null");
        QTest::newRow("vbObjectError + 513")
            << Lecture([](MembresCtlTarvo& m) { return m.LireRegroupements(); }) << QString() << -2147220991
            << S("Regroupements indisponibles");
        QTest::newRow("un texte") << Lecture([](MembresCtlTarvo& m) { return m.LireLibelleLong(); })
                                  << S("libellé long") << 0 << QString();
    }
    // Each answer read as the runtime reads it; the window is enabled again once the call is over, a failed
    // one included.
    void reponsesDuControle()
    {
        QFETCH(Lecture, lecture);
        QFETCH(QString, texte);
        QFETCH(int, numero);
        QFETCH(QString, description);
        QWidget fenetre;
        auto controle = creerControleCom(progIdAncien, &fenetre);
        MembresCtlTarvo membres(*controle);
        if (numero == 0) {
            QCOMPARE(lecture(membres), texte);
        } else {
            try {
                lecture(membres);
                QFAIL("le membre n'a pas échoué");
            } catch (const Echec& echec) {
                QCOMPARE(echec.numero(), numero);
                QCOMPARE(echec.description(), description);
            }
        }
        QVERIFY(m_controle.racine() != nullptr);
        QVERIFY(IsWindowEnabled(m_controle.racine()));
    }

    // The control's own dialog, owned by no window of the tool: the window is disabled under it, the system
    // scales it as for a program unaware of screen scaling, a command pressed meanwhile does nothing, and the
    // window comes back enabled.
    void dialogueDuControle()
    {
        JournalTest journal;
        ServiceMessagesScripte messages(&journal);
        SondeFixe sonde;
        FrmInit fenetre(
            messages, [](QWidget* f) { return creerControleCom(progIdAncien, f); }, sonde,
            commandesFrmInit(appelsTarvo()));
        fenetre.charger();
        m_controle.vider();
        bool pressee = false;
        QTimer::singleShot(100, &fenetre, [&] {
            pressee = true;
            fenetre.findChild<QPushButton*>(S("Command1"))->click();
        });
        {
            const ConscienceEchelle conscience;
            fenetre.findChild<QPushButton*>(S("cmdSelectActeCCAM"))->click();
        }

        QVERIFY(pressee);
        const QStringList lignes = m_controle.lignes();
        QVERIFY2(lignes.contains(S("dialogue proprietaire=aucun fenetre=desactivee echelle=systeme")),
                 qPrintable(lignes.join(u'|')));
        QCOMPARE(lignes.filter(S("appel ")),
                 QStringList{S("appel 0x60030008")}); // LireModificateurs never came
        QVERIFY(IsWindowEnabled(m_controle.racine()));
        QCOMPARE(messages.messages.size(), 0);
    }

private:
    Controle m_controle;
};

QTEST_MAIN(TestConteneurOle)
#include "tst_conteneurole.moc"
