#pragma once

#include <memory>

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <oleidl.h>
// clang-format on

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class ExtenseurOle;
class FeuilleOle;
class GardeFenetre;

// The frame of the form the control sits on: its top-level window. EnableModeless(FALSE) disables that
// window while the control runs a modal dialog of its own and EnableModeless(TRUE) enables it again before
// the dialog closes, whatever the container's own calls do (gardefenetre_win.h).
class CadreOle final : public IOleInPlaceFrame
{
public:
    explicit CadreOle(std::shared_ptr<GardeFenetre> garde);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* poignee) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceUIWindow: a form gives no tool space.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    // IOleInPlaceFrame: no menus to merge, no status bar.
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL activer) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~CadreOle() = default;

    LONG m_references = 1;
    std::shared_ptr<GardeFenetre> m_garde;
};

// Where the control sits on the form: the client site (its container the form), the in-place site on our
// native window, the control site (its extended control the form's extender), and the ambient properties of
// a form at run time.
class SiteOle final : public IOleClientSite, public IOleInPlaceSite, public IOleControlSite, public IDispatch
{
public:
    // `fenetre` is the native window the control is activated in; `cadre` is handed out by GetWindowContext,
    // `feuille` by GetContainer.
    SiteOle(HWND fenetre, CadreOle* cadre, FeuilleOle* feuille);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** conteneur) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, through IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* poignee) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** cadre, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT decoupe,
                                               LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** controle) override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* conteneur, DWORD sens) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

    // IDispatch: the ambient properties.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* nombre) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT nombre, LCID,
                                            DISPID* identifiants) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS*,
                                     VARIANT* resultat, EXCEPINFO*, UINT*) override;

    bool actifSurPlace() const { return m_actif; }
    // The window the container hosts in goes before the site: the site forgets it.
    void oublierFenetre();

private:
    ~SiteOle();

    LONG m_references = 1;
    HWND m_fenetre;
    CadreOle* m_cadre;
    FeuilleOle* m_feuille;
    ExtenseurOle* m_extenseur;
    bool m_actif = false;
};

#pragma GCC diagnostic pop

// The ambient property `identifiant` as a form at run time gives it (its Font that of `feuille`); false for
// one it does not give.
bool proprieteAmbiante(DISPID identifiant, const FeuilleOle& feuille, VARIANT& valeur);

// HIMETRIC (0.01 mm) to the container's units, twips (1/1440 inch), and back, as TransformCoords answers.
POINTF himetricVersTwips(POINTL himetric);
POINTL twipsVersHimetric(POINTF twips);
