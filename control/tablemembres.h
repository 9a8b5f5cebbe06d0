#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <span>
#include <string_view>

// The act-selection control's members, as every client and server of the control knows them: the host, our
// COM server, the journal and the diagnostics all read this one table.

// Dispatch identifiers, fixed: the original program's compiled calls use these numbers.
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

// The type a property takes when written; what is read is always text.
enum class GenreValeur
{
    Texte,
    Entier,
};

struct MembreCtlTarvo
{
    std::string_view nom;
    qint32 dispId;
    bool methode;
    GenreValeur valeur;
    // The tool hands its own variable over (CodeSpecialite always, CodeActe in the act lookup).
    bool parReference;
};

// The events the control fires, in its source interface (its own numbering, from 1).
namespace DispIdEvenement {
enum : qint32
{
    SelectionTerminee = 1,
};
} // namespace DispIdEvenement

enum class GenreArgument
{
    Texte,
    Booleen,
};

struct ArgumentEvenement
{
    std::string_view nom;
    GenreArgument genre;
};

struct EvenementCtlTarvo
{
    std::string_view nom;
    qint32 dispId;
    std::span<const ArgumentEvenement> arguments;
};

// What the control fires: SelectionTerminee(CodeActe As String, Annulee As Boolean) once its dialog closes,
// the act then in CodeActe and whether the operator cancelled. The window handles none.
std::span<const EvenementCtlTarvo> evenementsCtlTarvo();

// The 22 members, properties first, each group in identifier order.
std::span<const MembreCtlTarvo> membresCtlTarvo();
// nullptr for an identifier the control does not have.
const MembreCtlTarvo* membreParIdentifiant(qint32 dispId);
// Names compare without regard to case, as late-binding clients expect; nullptr for an unknown name.
const MembreCtlTarvo* membreParNom(QStringView nom);
// The member's name for traces and failure descriptions; "0x…" for an identifier the control does not have.
QString nomMembre(qint32 dispId);
