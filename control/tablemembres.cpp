#include "tablemembres.h"

#include <array>

namespace {

constexpr MembreCtlTarvo propriete(std::string_view nom, qint32 dispId,
                                   GenreValeur valeur = GenreValeur::Texte, bool parReference = false)
{
    return {nom, dispId, false, valeur, parReference};
}

constexpr MembreCtlTarvo methode(std::string_view nom, qint32 dispId)
{
    return {nom, dispId, true, GenreValeur::Texte, false};
}

constexpr std::array membres = {
    propriete("CheminConfig", DispId::CheminConfig),
    propriete("SRTSeulement", DispId::SRTSeulement, GenreValeur::Entier),
    propriete("CodeSpecialite", DispId::CodeSpecialite, GenreValeur::Entier, true),
    propriete("CodeActe", DispId::CodeActe, GenreValeur::Texte, true),
    propriete("LibelleLongActe", DispId::LibelleLongActe),
    propriete("LibelleCourtActe", DispId::LibelleCourtActe),
    propriete("DateReference", DispId::DateReference),
    propriete("Modificateurs", DispId::Modificateurs),
    propriete("ModificateursActivite1", DispId::ModificateursActivite1),
    propriete("ModificateursActivite4", DispId::ModificateursActivite4),
    propriete("ModificateursActivite5", DispId::ModificateursActivite5),
    propriete("PrixActe", DispId::PrixActe),
    propriete("CodeRegroupement", DispId::CodeRegroupement),
    propriete("GrilleTarifaire", DispId::GrilleTarifaire),
    methode("SelectionActe", DispId::SelectionActe),
    methode("LireLibelle", DispId::LireLibelle),
    methode("LirePrix", DispId::LirePrix),
    methode("LireModificateurs", DispId::LireModificateurs),
    methode("LireModificateursActe", DispId::LireModificateursActe),
    methode("LireRegroupements", DispId::LireRegroupements),
    methode("LireLibelleLong", DispId::LireLibelleLong),
    methode("LireActesCompatibles", DispId::LireActesCompatibles),
};
static_assert(membres.size() == 22);

constexpr ArgumentEvenement argumentsSelectionTerminee[] = {{"CodeActe", GenreArgument::Texte},
                                                            {"Annulee", GenreArgument::Booleen}};
constexpr EvenementCtlTarvo evenements[] = {
    {"SelectionTerminee", DispIdEvenement::SelectionTerminee, argumentsSelectionTerminee},
};

} // namespace

std::span<const EvenementCtlTarvo> evenementsCtlTarvo()
{
    return evenements;
}

std::span<const MembreCtlTarvo> membresCtlTarvo()
{
    return membres;
}

const MembreCtlTarvo* membreParIdentifiant(qint32 dispId)
{
    for (const MembreCtlTarvo& membre : membres) {
        if (membre.dispId == dispId)
            return &membre;
    }
    return nullptr;
}

const MembreCtlTarvo* membreParNom(QStringView nom)
{
    for (const MembreCtlTarvo& membre : membres) {
        if (QLatin1StringView(membre.nom.data(), qsizetype(membre.nom.size()))
                .compare(nom, Qt::CaseInsensitive) == 0)
            return &membre;
    }
    return nullptr;
}

QString nomMembre(qint32 dispId)
{
    if (const MembreCtlTarvo* membre = membreParIdentifiant(dispId))
        return QString::fromLatin1(membre->nom.data(), qsizetype(membre->nom.size()));
    return QStringLiteral("0x%1").arg(quint32(dispId), 8, 16, QLatin1Char('0'));
}
