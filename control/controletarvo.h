#pragma once

#include <QVariant>
#include <functional>
#include <memory>

class QWidget;

// Dispatch identifiers of the act-selection control's members.
namespace DispId {
enum : qint32
{
    CheminConfig = 0x4003001C,
    SRTSeulement = 0x4003001D,
    CodeSpecialite = 0x4003001E,
    CodeActe = 0x4003001F,
    LibelleLongActe = 0x40030020,
    LibelleCourtActe = 0x40030021,
    DateReference = 0x40030022,
    Modificateurs = 0x40030023,
    ModificateursActivite1 = 0x40030024,
    ModificateursActivite4 = 0x40030025,
    ModificateursActivite5 = 0x40030026,
    PrixActe = 0x40030027,
    CodeRegroupement = 0x40030028,
    GrilleTarifaire = 0x40030029,

    SelectionActe = 0x60030008,
    LireLibelle = 0x60030009,
    LirePrix = 0x6003000A,
    LireModificateurs = 0x6003000B,
    LireModificateursActe = 0x6003000C,
    LireRegroupements = 0x6003000D,
    LireLibelleLong = 0x6003000E,
    LireActesCompatibles = 0x6003000F,
};
} // namespace DispId

// The member's name, for traces and failure descriptions.
QString nomMembre(qint32 dispId);

// What a hosted act-selection control offers: its members reached by dispatch identifier only.
// A member that fails throws Echec.
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
};

// Creates the control hosted on `fenetre`; the window keeps it exactly as long as itself.
using FabriqueControle = std::function<std::unique_ptr<ControleDispatch>(QWidget* fenetre)>;
