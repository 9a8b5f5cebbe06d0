#include "boitesnatives_win.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT MessageBoite = WM_APP + 0x42;
constexpr DWORD IntervalleMs = 50;
// A window of the window's thread answers at once unless that thread is stuck; the watcher then gives up
// on that text rather than hang with it.
constexpr UINT DelaiLectureMs = 1000;
constexpr UINT DelaiChoixMs = 10000;
const wchar_t ClasseMessager[] = L"BancCcamBoitesNatives";

QString texteFenetre(HWND fenetre)
{
    DWORD_PTR longueur = 0;
    if (!SendMessageTimeoutW(fenetre, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, DelaiLectureMs, &longueur))
        return {};
    std::wstring texte(longueur + 1, L'\0');
    DWORD_PTR copies = 0;
    if (!SendMessageTimeoutW(fenetre, WM_GETTEXT, longueur + 1, reinterpret_cast<LPARAM>(texte.data()),
                             SMTO_ABORTIFHUNG, DelaiLectureMs, &copies))
        return {};
    texte.resize(copies);
    return QString::fromStdWString(texte);
}

// "&Oui" is the label "Oui"; "&&" stands for one "&".
QString sansAccelerateur(const QString& libelle)
{
    QString texte;
    for (qsizetype i = 0; i < libelle.size(); ++i) {
        if (libelle.at(i) == QLatin1Char('&') && i + 1 < libelle.size())
            ++i;
        else if (libelle.at(i) == QLatin1Char('&'))
            continue;
        texte.append(libelle.at(i));
    }
    return texte;
}

struct BoutonLu
{
    HWND fenetre;
    int identifiant;
    bool parDefaut; // BS_DEFPUSHBUTTON
};

struct LectureBoite
{
    QStringList textes;
    QStringList libelles;
    std::vector<BoutonLu> boutons;
};

BOOL CALLBACK lireEnfant(HWND enfant, LPARAM donnee)
{
    auto& lecture = *reinterpret_cast<LectureBoite*>(donnee);
    if (!IsWindowVisible(enfant))
        return TRUE;
    wchar_t classe[32] = {};
    GetClassNameW(enfant, classe, 32);
    const LONG style = GetWindowLongW(enfant, GWL_STYLE);
    if (_wcsicmp(classe, L"Static") == 0) {
        const LONG genre = style & SS_TYPEMASK;
        if (genre == SS_ICON || genre == SS_BITMAP || genre == SS_ENHMETAFILE)
            return TRUE;
        const QString texte = texteFenetre(enfant);
        if (!texte.isEmpty())
            lecture.textes.append(texte);
    } else if (_wcsicmp(classe, L"Button") == 0) {
        const LONG genre = style & BS_TYPEMASK;
        if (genre != BS_PUSHBUTTON && genre != BS_DEFPUSHBUTTON)
            return TRUE;
        lecture.libelles.append(sansAccelerateur(texteFenetre(enfant)));
        lecture.boutons.push_back({enfant, GetDlgCtrlID(enfant), genre == BS_DEFPUSHBUTTON});
    }
    return TRUE;
}

struct Recherche
{
    DWORD filFenetre; // the window's thread
    std::vector<HWND> boites;
};

// A dialog of the system's class anywhere in this process, or any other top-level window the window's thread
// shows during the call that is not one of Qt's (the form is disabled for the call: it blocks it).
BOOL CALLBACK trouverBoite(HWND fenetre, LPARAM donnee)
{
    auto& recherche = *reinterpret_cast<Recherche*>(donnee);
    DWORD processus = 0;
    const DWORD fil = GetWindowThreadProcessId(fenetre, &processus);
    if (processus != GetCurrentProcessId() || !IsWindowVisible(fenetre))
        return TRUE;
    wchar_t classe[64] = {};
    GetClassNameW(fenetre, classe, 64);
    if (std::wcscmp(classe, L"#32770") == 0 ||
        (fil == recherche.filFenetre && std::wcsncmp(classe, L"Qt", 2) != 0))
        recherche.boites.push_back(fenetre);
    return TRUE;
}

// The button the box takes for its default: the one DM_GETDEFID names, else the one drawn as the default,
// else the first.
int boutonParDefaut(HWND boite, const std::vector<BoutonLu>& boutons)
{
    DWORD_PTR defaut = 0;
    if (SendMessageTimeoutW(boite, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, DelaiLectureMs, &defaut) &&
        HIWORD(defaut) == DC_HASDEFID) {
        for (std::size_t i = 0; i < boutons.size(); ++i)
            if (boutons[i].identifiant == LOWORD(defaut))
                return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < boutons.size(); ++i)
        if (boutons[i].parDefaut)
            return static_cast<int>(i);
    return boutons.empty() ? -1 : 0;
}

// The button Esc would press: IDCANCEL, or the only button of a box that has one.
int boutonAnnulation(const std::vector<BoutonLu>& boutons)
{
    for (std::size_t i = 0; i < boutons.size(); ++i)
        if (boutons[i].identifiant == IDCANCEL)
            return static_cast<int>(i);
    return boutons.size() == 1 ? 0 : -1;
}

} // namespace

// What the watcher hands the window's thread: the box read, and back the button to press (-1: close it).
struct SurveillanceBoites::Echange
{
    BoiteNative boite;
    HWND fenetre = nullptr;
    std::vector<BoutonLu> boutons;
    int choisi = -1;
};

SurveillanceBoites::SurveillanceBoites(ChoixBoiteNative choix, ObservateurBoites observateur)
    : m_choix(std::move(choix))
    , m_observateur(std::move(observateur))
    , m_filFenetre(GetCurrentThreadId())
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW classe{};
    if (!GetClassInfoExW(instance, ClasseMessager, &classe)) {
        classe = WNDCLASSEXW{};
        classe.cbSize = sizeof classe;
        classe.lpfnWndProc = &procedureMessager;
        classe.hInstance = instance;
        classe.lpszClassName = ClasseMessager;
        RegisterClassExW(&classe);
    }
    m_messager =
        CreateWindowExW(0, ClasseMessager, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (m_messager != nullptr)
        SetWindowLongPtrW(m_messager, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_arret = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_enVol = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_messager != nullptr && m_arret != nullptr && m_enVol != nullptr)
        m_fil = CreateThread(nullptr, 0, &executer, this, 0, nullptr);
}

SurveillanceBoites::~SurveillanceBoites()
{
    if (m_fil != nullptr) {
        SetEvent(m_arret);
        // The watcher may be sending to this thread: its messages are delivered while it is awaited.
        while (MsgWaitForMultipleObjects(1, &m_fil, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(m_fil);
    }
    if (m_messager != nullptr)
        DestroyWindow(m_messager);
    for (HANDLE evenement : {m_arret, m_enVol})
        if (evenement != nullptr)
            CloseHandle(evenement);
}

SurveillanceBoites::EnVol::EnVol(SurveillanceBoites* surveillance)
    : m_surveillance(surveillance)
{
    if (m_surveillance != nullptr && m_surveillance->m_appels++ == 0)
        SetEvent(m_surveillance->m_enVol);
}

SurveillanceBoites::EnVol::~EnVol()
{
    if (m_surveillance != nullptr && --m_surveillance->m_appels == 0)
        ResetEvent(m_surveillance->m_enVol);
}

DWORD WINAPI SurveillanceBoites::executer(LPVOID surveillance)
{
    static_cast<SurveillanceBoites*>(surveillance)->surveiller();
    return 0;
}

void SurveillanceBoites::surveiller()
{
    const HANDLE attente[] = {m_arret, m_enVol};
    for (;;) {
        if (WaitForSingleObject(m_enVol, 0) != WAIT_OBJECT_0) {
            // Between calls: a window handle may be reused by the next box.
            m_traitees.clear();
            if (WaitForMultipleObjects(2, attente, FALSE, INFINITE) == WAIT_OBJECT_0)
                return;
        }
        Recherche recherche{m_filFenetre, {}};
        EnumWindows(&trouverBoite, reinterpret_cast<LPARAM>(&recherche));
        for (HWND boite : recherche.boites)
            if (m_traitees.insert(boite).second)
                traiter(boite);
        if (WaitForSingleObject(m_arret, IntervalleMs) == WAIT_OBJECT_0)
            return;
    }
}

void SurveillanceBoites::traiter(HWND boite)
{
    LectureBoite lecture;
    EnumChildWindows(boite, &lireEnfant, reinterpret_cast<LPARAM>(&lecture));
    Echange echange;
    echange.fenetre = boite;
    echange.boite.titre = texteFenetre(boite);
    echange.boite.texte = lecture.textes.join(QLatin1Char('\n'));
    echange.boite.boutons = lecture.libelles;
    echange.boutons = std::move(lecture.boutons);
    DWORD_PTR resultat = 0;
    // A window's thread that cannot take it (stuck elsewhere) leaves the box to its default button.
    if (!SendMessageTimeoutW(m_messager, MessageBoite, 0, reinterpret_cast<LPARAM>(&echange), SMTO_NORMAL,
                             DelaiChoixMs, &resultat))
        echange.choisi = boutonParDefaut(boite, echange.boutons);
    if (echange.choisi < 0) {
        PostMessageW(boite, WM_CLOSE, 0, 0);
        return;
    }
    const BoutonLu& bouton = echange.boutons[static_cast<std::size_t>(echange.choisi)];
    PostMessageW(boite, WM_COMMAND, MAKEWPARAM(bouton.identifiant, BN_CLICKED),
                 reinterpret_cast<LPARAM>(bouton.fenetre));
}

void SurveillanceBoites::choisir(Echange& echange)
{
    ReponseBoiteNative reponse;
    if (m_choix)
        reponse = m_choix(echange.boite);
    int choisi = -1;
    // A label the box does not have falls back to its default button; the chooser knows what it asked.
    if (reponse.mode == ReponseBoiteNative::Mode::Bouton)
        for (qsizetype i = 0; i < echange.boite.boutons.size() && choisi < 0; ++i)
            if (echange.boite.boutons.at(i).compare(reponse.bouton, Qt::CaseInsensitive) == 0)
                choisi = static_cast<int>(i);
    if (reponse.mode == ReponseBoiteNative::Mode::Annulation)
        choisi = boutonAnnulation(echange.boutons);
    else if (choisi < 0)
        choisi = boutonParDefaut(echange.fenetre, echange.boutons);
    echange.choisi = choisi;
    if (choisi >= 0)
        echange.boite.reponse = echange.boite.boutons.at(choisi);
    if (m_observateur)
        m_observateur(echange.boite);
}

LRESULT CALLBACK SurveillanceBoites::procedureMessager(HWND fenetre, UINT message, WPARAM w, LPARAM l)
{
    if (message != MessageBoite)
        return DefWindowProcW(fenetre, message, w, l);
    auto* surveillance = reinterpret_cast<SurveillanceBoites*>(GetWindowLongPtrW(fenetre, GWLP_USERDATA));
    auto* echange = reinterpret_cast<Echange*>(l);
    try {
        if (surveillance != nullptr)
            surveillance->choisir(*echange);
    } catch (...) {
        // Nothing may cross back into the control's modal loop: the box still gets its default.
        echange->choisi = boutonParDefaut(echange->fenetre, echange->boutons);
    }
    return 0;
}
