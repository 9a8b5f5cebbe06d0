#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QWidget;

// An event the control fired, or a change it notified of one of its properties, as the host received it. The
// window handles none; the journal records each.
struct EvenementControle
{
    QString nom; // as the control's type information names it; "0x…" when it names none
    qint32 dispId = 0;
    QList<std::pair<QString, QVariant>> arguments; // in the order declared, each with its name when known
    // Set for a notification of a property change (IPropertyNotifySink): `nom` is then the notification
    // ("OnChanged", "OnRequestEdit") and `membre` the property it names.
    QString membre;
};
using ObservateurEvenements = std::function<void(const EvenementControle&)>;

// A native dialog box (the system's dialog class) that came up while a call into the control was in flight,
// as the host read it, and the button it was answered with.
struct BoiteNative
{
    QString titre;
    QString texte;       // its static texts, one a line
    QStringList boutons; // their labels, in the box's order, without their accelerator's "&"
    QString reponse;     // the label of the button pressed; empty when the box had to be closed
};

// How a native box is to be answered: its default button, the button that cancels it (the only button of a
// box that has one, as Esc does), or the button of that label.
struct ReponseBoiteNative
{
    enum class Mode
    {
        Defaut,
        Annulation,
        Bouton,
    };
    Mode mode = Mode::Defaut;
    QString bouton;
};
// Chooses the answer to a box just read (`reponse` still empty), on the window's thread.
using ChoixBoiteNative = std::function<ReponseBoiteNative(const BoiteNative&)>;
// Told of each box with its answer, on the window's thread, before the button is pressed.
using ObservateurBoites = std::function<void(const BoiteNative&)>;

// A step of the control's creation that a form goes on from when it fails, with what it answered.
struct EtapeActivation
{
    QString etape;       // "IOleObject::DoVerb(OLEIVERB_INPLACEACTIVATE)"
    qint32 resultat = 0; // the HRESULT it answered
    QString description;
};

// What a hosted act-selection control offers: its members reached by dispatch identifier only
// (tablemembres.h). A member that fails throws Echec.
class ControleDispatch
{
public:
    virtual ~ControleDispatch() = default;

    // Property write of one value: a text (QString) or a 32-bit integer (qint32).
    virtual void ecrire(qint32 dispId, const QVariant& valeur) = 0;
    // Property write by reference: the control receives the caller's own variable.
    virtual void ecrireParReference(qint32 dispId, QVariant& valeur) = 0;
    virtual QVariant lire(qint32 dispId) = 0;
    // Call of an argument-less method; an invalid QVariant when it returns nothing.
    virtual QVariant appeler(qint32 dispId) = 0;
    // The identifier the control itself gives for a member's name, as a client binding late asks it; nothing
    // when it does not know the name. A control reached in process is its table, which answers by default.
    virtual std::optional<qint32> identifiantParNom(const QString& nom);
    // The events the control fires from now on go to `observateur` (empty: nowhere), with those it fired
    // before anyone listened. A control that fires none ignores it.
    virtual void observerEvenements(ObservateurEvenements observateur);
    // From now on a native box the control shows during a call is read, handed to the observer and answered
    // as `choix` says, and the call goes on (empty: boxes are left to the operator). A control that shows
    // none ignores both.
    virtual void repondreBoitesNatives(ChoixBoiteNative choix);
    virtual void observerBoitesNatives(ObservateurBoites observateur);
    // The steps of its creation the control failed and the host went on from, in order.
    virtual QList<EtapeActivation> etapesToleres() const;
};

// Creates the control hosted on `fenetre`; the window keeps it exactly as long as itself.
using FabriqueControle = std::function<std::unique_ptr<ControleDispatch>(QWidget* fenetre)>;

// `fabrique`, whose every control answers its native boxes as `choix` says.
FabriqueControle fabriqueRepondantAuxBoites(FabriqueControle fabrique, ChoixBoiteNative choix);
