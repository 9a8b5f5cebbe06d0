#pragma once

// clang-format off
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
// clang-format on
#include <atomic>
#include <map>
#include <memory>
#include <wrl/client.h>

class ControleDispatch;
class QString;
struct EvenementControle;

// A ControleDispatch offered to COM clients through IDispatch: member names to the component's dispatch
// identifiers, every put, get and call to the component. Whatever the component throws stops here and
// reaches the client as DISP_E_EXCEPTION (see exceptionDispatch). It describes itself with its type library
// (typesctltarvo.h: GetTypeInfo, IProvideClassInfo2), and the events the component fires reach every sink
// a client connected to its source interface (IConnectionPointContainer), inside the call that fired them.
// COM objects are released through Release(), never deleted through an interface: no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ObjetDispatch final : public IDispatch, public IProvideClassInfo2, public IConnectionPointContainer
{
public:
    // Hands the new object's `iid` interface to *objet, or fails leaving *objet null.
    static HRESULT creer(std::unique_ptr<ControleDispatch> controle, REFIID iid, void** objet) noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* nombre) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID langue, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* noms, UINT nombreNoms, LCID langue,
                                            DISPID* identifiants) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispId, REFIID iid, LCID langue, WORD drapeaux,
                                     DISPPARAMS* parametres, VARIANT* resultat, EXCEPINFO* exception,
                                     UINT* argumentFautif) override;

    // IProvideClassInfo, IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD genre, GUID* guid) override;

    // IConnectionPointContainer: the events' interface only.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** enumeration) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // The connection point's, for the sinks of the events' interface.
    HRESULT abonner(IUnknown* puits, DWORD* cookie) noexcept;
    HRESULT desabonner(DWORD cookie) noexcept;

private:
    explicit ObjetDispatch(std::unique_ptr<ControleDispatch> controle) noexcept;
    ~ObjetDispatch();

    HRESULT ecrire(DISPID dispId, DISPPARAMS& parametres, UINT* argumentFautif);
    HRESULT lireOuAppeler(DISPID dispId, const DISPPARAMS& parametres, VARIANT* resultat);
    ITypeLib* types();
    void relayer(const EvenementControle& evenement);

    std::atomic<ULONG> m_references{1};
    std::unique_ptr<ControleDispatch> m_controle;
    Microsoft::WRL::ComPtr<ITypeLib> m_types; // built on first need
    bool m_typesCherches = false;
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> m_puits;
    DWORD m_prochainCookie = 1;
};
#pragma GCC diagnostic pop

// The client's view of a failure of the component: DISP_E_EXCEPTION, the exception filled in (when the
// client gave one) with scode 0x800A0000 | numero, the convention of control runtimes, wCode 0, the
// component's ProgID as source and `description`.
HRESULT exceptionDispatch(EXCEPINFO* exception, int numero, const QString& description) noexcept;
