// The window's control hosted as a form hosts it, against a control written elsewhere the old way
// (ctlancien/): the container's calls in a form's order, the form's extender, container and ambient Font,
// activation before any method, the control's values and errors as the runtime reads them, its events
// journalled and compared, the window disabled once per command and under the control's own dialog, enabled
// again before that dialog closes, no second command while one runs; the control's native boxes answered
// during its calls and journalled; and the system's own script control, which nobody here wrote, hosted all
// the same.
#include "comparaisonjournaux.h"
#include "controlecom.h"
#include "controlejournalise.h"
#include "echec.h"
#include "echeccom_win.h"
#include "frminit.h"
#include "journalappels.h"
#include "journaltest.h"
#include "membresctltarvo.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "suivicommandesjournal.h"
#include "tablemembres.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
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

// A journal of calls kept in memory, for the lines a test reads back.
struct JournalMemoire
{
    QBuffer* tampon = new QBuffer;
    JournalAppels journal{std::unique_ptr<QIODevice>(ouvert(tampon))};

    static QIODevice* ouvert(QBuffer* tampon)
    {
        tampon->open(QIODevice::WriteOnly);
        return tampon;
    }
    QList<QJsonObject> lignes(const char* genre) const
    {
        QList<QJsonObject> trouvees;
        for (const QByteArray& ligne : tampon->data().split('\n')) {
            const QJsonObject objet = QJsonDocument::fromJson(ligne).object();
            if (objet.value(QStringLiteral("genre")).toString() == QLatin1String(genre))
                trouvees.append(objet);
        }
        return trouvees;
    }
};

// Counts how many times the window is disabled, by its messages.
class CompteurDesactivations
{
public:
    explicit CompteurDesactivations(HWND fenetre)
        : m_fenetre(fenetre)
    {
        s_compte = 0;
        m_precedente = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(fenetre, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure)));
        s_precedente = m_precedente;
    }
    ~CompteurDesactivations()
    {
        SetWindowLongPtrW(m_fenetre, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_precedente));
    }
    CompteurDesactivations(const CompteurDesactivations&) = delete;
    CompteurDesactivations& operator=(const CompteurDesactivations&) = delete;
    int compte() const { return s_compte; }

private:
    static LRESULT CALLBACK procedure(HWND fenetre, UINT message, WPARAM w, LPARAM l)
    {
        if (message == WM_ENABLE && w == FALSE)
            ++s_compte;
        return CallWindowProcW(s_precedente, fenetre, message, w, l);
    }

    HWND m_fenetre;
    WNDPROC m_precedente;
    static inline WNDPROC s_precedente = nullptr;
    static inline int s_compte = 0;
};

// The window over the old control, journalled; the control's notes emptied once it is created.
struct FenetreJournalisee
{
    JournalMemoire memoire;
    SuiviCommandesJournal suivi{memoire.journal};
    ServiceMessagesScripte messages;
    SondeFixe sonde;
    FrmInit fenetre;

    explicit FenetreJournalisee(const Controle& controle)
        : fenetre(messages,
                  fabriqueJournalisee([](QWidget* f) { return creerControleCom(progIdAncien, f); },
                                      memoire.journal),
                  sonde, commandesFrmInit(appelsTarvo()))
    {
        fenetre.suivreCommandes(&suivi);
        fenetre.charger();
        fenetre.controles().txtCodeCCAM->setText(S("LHQK005"));
        controle.vider();
    }
    void cliquer(const char* bouton)
    {
        fenetre.findChild<QPushButton*>(QString::fromLatin1(bouton))->click();
    }
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
    // Sited, it finds the form's extender (its name and place in twips, its Parent the form), the form's
    // font as the ambient Font, the form as its container, and a container that measures in twips. Its
    // events are connected last and disconnected first.
    void appelsDuConteneurDansLOrdreDUneFeuille()
    {
        {
            QWidget fenetre;
            fenetre.setObjectName(S("frmInit"));
            fenetre.setFont(QFont(S("Arial"), 8));
            auto controle = creerControleCom(progIdAncien, &fenetre);
            QCOMPARE(
                m_controle.lignes(),
                (QStringList{
                    S("GetMiscStatus"),
                    S("SetClientSite"),
                    S("ambiance UserMode=vrai UIDead=faux DisplayName=ctlTarvo1 MessageReflect=faux "
                      "ShowGrabHandles=faux ShowHatching=faux LocaleID=utilisateur"),
                    S("forme Name=ctlTarvo1 Left=10275 Top=360 Parent=frmInit police=Arial 8 echelle=Twip "
                      "conteneur=1 pouce=1440"),
                    S("InitNew"),
                    S("DoVerb(-5)"),
                    S("actif x=685 y=24 visible=non cadre=racine"),
                    S("Advise evenements"),
                    S("Advise IPropertyNotifySink"),
                }));
            QCOMPARE(controle->etapesToleres().size(), 0);
            m_controle.vider();
        }
        QCOMPARE(m_controle.lignes(),
                 (QStringList{S("Unadvise evenements"), S("Unadvise IPropertyNotifySink"),
                              S("InPlaceDeactivate"), S("Close(1)"), S("SetClientSite(null)"), S("libere")}));
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
        QTest::newRow("décrit dans l'objet d'erreur du fil seulement")
            << Lecture([](MembresCtlTarvo& m) { return m.LireModificateursActe(); }) << QString()
            << -2147467259 << S("Modificateurs indisponibles");
    }
    // Each answer read as the runtime reads it; the window is enabled again once the thread gets back to its
    // events, a failed call included.
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
        QCoreApplication::processEvents();
        QVERIFY(IsWindowEnabled(m_controle.racine()));
    }

    // Invoke names the argument it could not take: the failure says which.
    void argumentRefuse()
    {
        QWidget fenetre;
        auto controle = creerControleCom(progIdAncien, &fenetre);
        try {
            controle->ecrire(DispId::SRTSeulement, S("oui"));
            QFAIL("texte accepté");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), 13);
            QCOMPARE(echec.description(), S("Incompatibilité de type (argument 1)"));
        }
    }

    // A command's calls disable the window once, however many there are; the window is enabled again once
    // the command is over.
    void uneDesactivationParCommande()
    {
        FenetreJournalisee session(m_controle);
        CompteurDesactivations compteur(m_controle.racine());
        session.cliquer("Command7");
        QCoreApplication::processEvents();
        QVERIFY(session.memoire.lignes("controle").size() >= 5);
        QCOMPARE(compteur.compte(), 1);
        QVERIFY(IsWindowEnabled(m_controle.racine()));
    }

    // In the visible window, a command leaves the keyboard focus where it was: Tab, pressed as the operator
    // presses it, then reaches Command1, below the window's edge and reached by Tab alone.
    // Run by tst_conteneurole_fenetre, on Qt's Windows platform under Xvfb: offscreen the window has no
    // native window and no focus to lose.
    void tabulationApresUneCommande()
    {
        if (QGuiApplication::platformName() != S("windows"))
            QSKIP("sans fenêtre native (tst_conteneurole_fenetre l'exerce)");
        FenetreJournalisee session(m_controle);
        session.fenetre.show();
        session.fenetre.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&session.fenetre));
        QWidget* avant = session.fenetre.findChild<QWidget*>(S("TxtRegroupement"));
        avant->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(avant->hasFocus());
        session.cliquer("Command6");
        QTRY_VERIFY(IsWindowEnabled(reinterpret_cast<HWND>(session.fenetre.winId())));
        QTRY_VERIFY(GetFocus() != nullptr);
        // A key of the system's input, which goes to the native focus, not a Qt event sent to a widget.
        INPUT touches[2] = {};
        for (INPUT& touche : touches) {
            touche.type = INPUT_KEYBOARD;
            touche.ki.wVk = VK_TAB;
        }
        touches[1].ki.dwFlags = KEYEVENTF_KEYUP;
        QCOMPARE(SendInput(2, touches, sizeof(INPUT)), 2u);
        QTRY_COMPARE(QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName()
                                                            : QString(),
                     S("Command1"));
    }

    // The two events LireLibelle fires are journalled with their names and arguments, tied to the command;
    // a second run differs by one argument, and the comparison says so.
    void evenementsJournalisesEtCompares()
    {
        QTemporaryDir dossier;
        QStringList chemins;
        for (int passe = 0; passe < 2; ++passe) {
            FenetreJournalisee session(m_controle);
            session.cliquer("Command6");
            const QList<QJsonObject> evenements = session.memoire.lignes("evenement");
            QCOMPARE(evenements.size(), 2);
            QCOMPARE(evenements.at(0).value(S("evenement")).toString(), S("LectureCommencee"));
            QCOMPARE(evenements.at(0).value(S("bouton")).toString(), S("Command6"));
            QCOMPARE(evenements.at(0).value(S("arguments")).toArray(),
                     (QJsonArray{QJsonObject{{S("nom"), S("Code")}, {S("valeur"), S("LHQK005")}}}));
            QCOMPARE(evenements.at(1).value(S("evenement")).toString(), S("LectureTerminee"));
            const QJsonArray arguments = evenements.at(1).value(S("arguments")).toArray();
            QCOMPARE(arguments.size(), 2);
            QCOMPARE(arguments.at(1).toObject().value(S("nom")).toString(), S("Numero"));
            chemins.append(dossier.filePath(S("passe%1.jsonl").arg(passe)));
            QFile fichier(chemins.last());
            QVERIFY(fichier.open(QIODevice::WriteOnly));
            fichier.write(session.memoire.tampon->data());
        }
        QString rapport;
        QTextStream sortie(&rapport);
        QString erreur;
        QCOMPARE(comparerJournaux(chemins.at(0), chemins.at(1), sortie, erreur),
                 IssueComparaison::Differents);
        sortie.flush();
        QVERIFY2(rapport.contains(S("LectureTerminee.arguments")), qPrintable(rapport));
        QVERIFY2(!rapport.contains(S("LectureCommencee")), qPrintable(rapport));
    }

    // After its dialog the control says CodeActe changed: journalled as OnChanged with the property's name.
    void proprieteNotifiee()
    {
        FenetreJournalisee session(m_controle);
        session.cliquer("cmdSelectActeCCAM");
        const QList<QJsonObject> evenements = session.memoire.lignes("evenement");
        QCOMPARE(evenements.size(), 1);
        QCOMPARE(evenements.at(0).value(S("evenement")).toString(), S("OnChanged"));
        QCOMPARE(evenements.at(0).value(S("membre")).toString(), S("CodeActe"));
        QCOMPARE(evenements.at(0).value(S("dispid")).toString(), S("0x4003001F"));
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
        // Enabled again through the frame before the dialog goes, a call still running.
        QVERIFY2(lignes.contains(S("fermeture fenetre=active")), qPrintable(lignes.join(u'|')));
        QCOMPARE(lignes.filter(S("appel ")),
                 QStringList{S("appel 0x60030008")}); // LireModificateurs never came
        QCoreApplication::processEvents();
        QVERIFY(IsWindowEnabled(m_controle.racine()));
        QCOMPARE(messages.messages.size(), 0);
    }

    void boitesNativesRepondues_data()
    {
        QTest::addColumn<QString>("pannes");        // CTLANCIEN_PANNES
        QTest::addColumn<QStringList>("arguments"); // after --controle; {} stands for the file's path
        QTest::addColumn<QByteArray>("fichier");    // the scenario, or the sweep's list
        QTest::addColumn<int>("bouton");            // the index of the button expected pressed
        QTest::addColumn<bool>("automatique");      // answered by --boites-natives, noted so
        const QByteArray clic = "{\"remplir\": \"txtCodeCCAM\", \"texte\": \"LHQK005\"}\n"
                                "{\"cliquer\": \"Command6\"}\n";
        QTest::newRow("ok, une boîte sans propriétaire")
            << S("LHQK005:LireLibelle:boite") << QStringList{S("--scenario"), QString()} << clic << 0 << true;
        QTest::newRow("annuler, une boîte de la fenêtre du contrôle")
            << S("LHQK005:LireLibelle:boite_cadre")
            << QStringList{S("--boites-natives"), S("annuler"), S("--scenario"), QString()} << clic << 1
            << true;
        QTest::newRow("annuler, une fenêtre d'erreur du contrôle qui n'est pas un dialogue du système")
            << S("LHQK005:LireLibelle:fenetre")
            << QStringList{S("--boites-natives"), S("annuler"), S("--scenario"), QString()} << clic << 1
            << true;
        QTest::newRow("une étape répond par le texte de la boîte")
            << S("LHQK005:LireLibelle:boite")
            << QStringList{S("--boites-natives"), S("annuler"), S("--scenario"), QString()}
            << clic + "{\"boite_native\": \"introuvable\", \"bouton\": \"OK\"}\n"
            << 0 << false;
        QTest::newRow("annuler, un balayage dont le processus de travail répond et compte")
            << S("LHQK005:LireLibelle:boite")
            << QStringList{S("--boites-natives"), S("annuler"), S("--commandes"), S("6"),
                           S("--balayage"),       QString()}
            << QByteArray("LHQK005\n") << 1 << false;
    }
    // A box the control shows in a call is read, journalled with the call in flight, then answered, and the
    // call goes on to its answer.
    void boitesNativesRepondues()
    {
        QFETCH(QString, pannes);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, fichier);
        QFETCH(int, bouton);
        QFETCH(bool, automatique);
        QTemporaryDir dossier;
        QFile entree(dossier.filePath(S("entree.txt")));
        QVERIFY(entree.open(QIODevice::WriteOnly));
        entree.write(fichier);
        entree.close();
        arguments.replace(arguments.indexOf(QString()), QDir::toNativeSeparators(entree.fileName()));
        QProcess banc;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(S("CTLANCIEN_PANNES"), pannes);
        banc.setProcessEnvironment(environnement);
        banc.start(S(CHEMIN_BANC_CCAM),
                   QStringList{S("--controle"), progIdAncien, S("--journal"), S("-")} + arguments);
        QVERIFY(banc.waitForFinished(60000));
        const QByteArray erreurs = banc.readAllStandardError();
        QCOMPARE(banc.exitCode(), 0);
        QList<QJsonObject> lignes;
        for (const QByteArray& ligne : banc.readAllStandardOutput().split('\n'))
            if (!ligne.trimmed().isEmpty())
                lignes.append(QJsonDocument::fromJson(ligne).object());
        const auto rang = [&](const char* genre, qsizetype depuis = 0) {
            for (qsizetype i = depuis; i < lignes.size(); ++i)
                if (lignes.at(i).value(S("genre")).toString() == QLatin1String(genre))
                    return i;
            return qsizetype(-1);
        };
        const qsizetype boite = rang("boite_native");
        QVERIFY2(boite > 0, erreurs.constData());
        QCOMPARE(rang("boite_native", boite + 1), -1);
        const QJsonObject b = lignes.at(boite);
        QCOMPARE(b.value(S("titre")).toString(), S("CtlAncien"));
        QCOMPARE(b.value(S("texte")).toString(), S("Base introuvable"));
        const QJsonArray boutons = b.value(S("boutons")).toArray();
        QCOMPARE(boutons.size(), 2);
        QCOMPARE(b.value(S("reponse")), boutons.at(bouton));
        QCOMPARE(b.value(S("membre")).toString(), S("LireLibelle"));
        QCOMPARE(b.value(S("bouton")).toString(), S("Command6"));
        // Between the call's announcement and its answer, which came.
        qsizetype annonce = boite;
        while (annonce > 0 && lignes.at(annonce).value(S("genre")).toString() != S("appel"))
            --annonce;
        QCOMPARE(lignes.at(annonce).value(S("membre")).toString(), S("LireLibelle"));
        QVERIFY(rang("controle", annonce) > boite);
        const QJsonObject reponse = lignes.at(rang("controle", boite));
        QCOMPARE(reponse.value(S("membre")).toString(), S("LireLibelle"));
        QVERIFY(!reponse.contains(S("echec")));
        QCOMPARE(rang("reponse_automatique") >= 0, automatique);
        if (arguments.contains(S("--balayage"))) {
            QCOMPARE(b.value(S("acte")).toString(), S("LHQK005"));
            QCOMPARE(lignes.at(rang("fin_balayage")).value(S("boites_natives")).toInt(), 1);
            QVERIFY2(erreurs.contains("1 boîte(s) native(s)"), erreurs.constData());
        }
    }

    // The system's script control, which knows none of the members: hosted as a form hosts it, the steps it
    // does not implement passed over and journalled, each call failing with 438 through the general report.
    void controleDuSysteme()
    {
        QWidget fenetre;
        std::unique_ptr<ControleDispatch> controle;
        try {
            controle = creerControleCom(S("MSScriptControl.ScriptControl"), &fenetre);
        } catch (const Echec& echec) {
            QFAIL(qPrintable(echec.description()));
        }
        for (const EtapeActivation& etape : controle->etapesToleres())
            QVERIFY2(!etape.description.endsWith(S("..")), qPrintable(etape.description));
        MembresCtlTarvo membres(*controle);
        try {
            membres.LireLibelle();
            QFAIL("membre trouvé");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), 438);
            QCOMPARE(echec.description(), S("Propriété ou méthode non gérée par cet objet"));
        }
    }

    // The same, named by --controle to the tool: created, its activation journalled, the command reported.
    void controleDuSystemeParLeBanc()
    {
        QTemporaryDir dossier;
        QFile scenario(dossier.filePath(S("clic.jsonl")));
        QVERIFY(scenario.open(QIODevice::WriteOnly));
        scenario.write("{\"cliquer\": \"Command1\"}\n");
        scenario.close();
        QProcess banc;
        banc.start(S(CHEMIN_BANC_CCAM),
                   {S("--controle"), S("MSScriptControl.ScriptControl"), S("--scenario"),
                    QDir::toNativeSeparators(scenario.fileName()), S("--journal"), S("-")});
        QVERIFY(banc.waitForFinished(60000));
        QList<QJsonObject> lignes;
        for (const QByteArray& ligne : banc.readAllStandardOutput().split('\n'))
            if (!ligne.trimmed().isEmpty())
                lignes.append(QJsonDocument::fromJson(ligne).object());
        const auto genre = [&](const char* nom) {
            QList<QJsonObject> trouvees;
            for (const QJsonObject& l : lignes)
                if (l.value(S("genre")).toString() == QLatin1String(nom))
                    trouvees.append(l);
            return trouvees;
        };
        QVERIFY(!genre("activation").isEmpty());
        const QList<QJsonObject> acces = genre("controle");
        QVERIFY(!acces.isEmpty());
        QCOMPARE(acces.first().value(S("echec")).toObject().value(S("numero")).toInt(), 438);
        QCOMPARE(genre("fin_commande").value(0).value(S("aboutie")).toBool(true), false);
    }

private:
    Controle m_controle;
};

QTEST_MAIN(TestConteneurOle)
#include "tst_conteneurole.moc"
