#include "tablemembres.h"

#include "controletarvo.h"

#include <QString>
#include <array>

namespace {

constexpr MembreCtlTarvo propriete(qint32 dispId, GenreValeur genre = GenreValeur::Texte)
{
    return {dispId, false, genre};
}

constexpr MembreCtlTarvo methode(qint32 dispId)
{
    return {dispId, true, GenreValeur::Texte};
}

constexpr std::array membres = {
    propriete(DispId::CheminConfig),
    propriete(DispId::SRTSeulement, GenreValeur::Entier),
    propriete(DispId::CodeSpecialite, GenreValeur::Entier),
    propriete(DispId::CodeActe),
    propriete(DispId::LibelleLongActe),
    propriete(DispId::LibelleCourtActe),
    propriete(DispId::DateReference),
    propriete(DispId::Modificateurs),
    propriete(DispId::ModificateursActivite1),
    propriete(DispId::ModificateursActivite4),
    propriete(DispId::ModificateursActivite5),
    propriete(DispId::PrixActe),
    propriete(DispId::CodeRegroupement),
    propriete(DispId::GrilleTarifaire),
    methode(DispId::SelectionActe),
    methode(DispId::LireLibelle),
    methode(DispId::LirePrix),
    methode(DispId::LireModificateurs),
    methode(DispId::LireModificateursActe),
    methode(DispId::LireRegroupements),
    methode(DispId::LireLibelleLong),
    methode(DispId::LireActesCompatibles),
};

} // namespace

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
    // The names are the component's own (nomMembre), so the two can never disagree.
    for (const MembreCtlTarvo& membre : membres) {
        if (QStringView(nomMembre(membre.dispId)).compare(nom, Qt::CaseInsensitive) == 0)
            return &membre;
    }
    return nullptr;
}
