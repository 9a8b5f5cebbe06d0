#pragma once

#include <QString>

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <oleidl.h>
// clang-format on

// What the control is told of the form it sits on, as the form's own properties give it.
struct DescriptionFeuille
{
    QString nom = QStringLiteral("frmInit");
    QString titre;
    QString nomControle = QStringLiteral("ctlTarvo1");
    // The form's font, which a form hands its controls as the ambient Font.
    QString police = QStringLiteral("Arial");
    double pointsPolice = 8;
    bool gras = false;
    bool italique = false;
    // Where the form places the control, in twips.
    int gaucheTwips = 10275;
    int hautTwips = 360;
};

// The form's font as an OLE font object (IFontDisp), the ambient Font a form gives; null when the system
// cannot make it.
IDispatch* creerPoliceAmbiante(const DescriptionFeuille& feuille);

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The form as its control reaches it: the container of its site (IOleContainer, which enumerates the one
// control), and, through IDispatch, the object a control's Parent is: Name, Caption, hWnd, ScaleMode (twips),
// ScaleWidth, ScaleHeight, Width, Height, Visible, Enabled, Font.
class FeuilleOle final : public IOleContainer, public IDispatch
{
public:
    // `fenetre` is the form's top-level window (ours offscreen).
    FeuilleOle(const DescriptionFeuille& description, HWND fenetre);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IParseDisplayName, IOleContainer
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD drapeaux, IEnumUnknown** enumeration) override;
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return S_OK; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* nombre) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* noms, UINT nombre, LCID,
                                            DISPID* identifiants) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS* parametres,
                                     VARIANT* resultat, EXCEPINFO*, UINT*) override;

    const DescriptionFeuille& description() const { return m_description; }
    HWND fenetre() const { return m_fenetre; }
    // The control the form holds, not owned: set once created, cleared when it closes.
    void placerControle(IUnknown* controle) { m_controle = controle; }
    IUnknown* controle() const { return m_controle; }

private:
    ~FeuilleOle() = default;

    LONG m_references = 1;
    DescriptionFeuille m_description;
    HWND m_fenetre;
    IUnknown* m_controle = nullptr;
};

// The extended control a form wraps each of its controls in (IOleControlSite::GetExtendedControl): the
// properties the form keeps for it, Name ("ctlTarvo1"), Parent and Container (the form), Object (the control
// itself), Left, Top, Width, Height (twips, moving the control's window when written), Visible and Tag.
class ExtenseurOle final : public IDispatch
{
public:
    // `fenetre` is the native window the control sits in.
    ExtenseurOle(FeuilleOle* feuille, HWND fenetre);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* nombre) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* noms, UINT nombre, LCID,
                                            DISPID* identifiants) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS* parametres,
                                     VARIANT* resultat, EXCEPINFO*, UINT*) override;

    // The window goes before the extender: it forgets it.
    void oublierFenetre() { m_fenetre = nullptr; }

private:
    ~ExtenseurOle();

    HRESULT lire(DISPID identifiant, VARIANT& resultat);
    HRESULT ecrire(DISPID identifiant, const VARIANT& valeur);

    LONG m_references = 1;
    FeuilleOle* m_feuille;
    HWND m_fenetre;
    QString m_tag;
};

#pragma GCC diagnostic pop
