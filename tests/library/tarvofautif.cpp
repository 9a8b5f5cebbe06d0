// A classification library that misbehaves on demand, built for the tests only. Records hold texts
// "<prefix><index>.<field>", the index being the array's own subscript.

#include "tarvofautif.h"

#include "tarvolib.h"

#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

struct Etat
{
    std::array<ReponseFautive, 8> reponses{};
    QStringList journal;
    QByteArray journalOctets;

    Etat() { reinitialiser(); }
    void reinitialiser()
    {
        reponses.fill({1, 1, 0, Redimensionner});
        journal.clear();
    }
};

Etat& etat()
{
    static Etat instance;
    return instance;
}

QString texte(TexteAuto handle)
{
    return handle == nullptr ? QString() : QString::fromUtf16(handle, texteAutoLongueur(handle));
}

QString decrire(const TableauAuto* tableau)
{
    if (tableau == nullptr)
        return QStringLiteral("tableau=nul");
    QString description = QStringLiteral("tableau=%1@%2")
                              .arg(tableau->bornes[0].nombre)
                              .arg(tableau->bornes[0].borneInferieure);
    if (tableau->bornes[0].nombre > 0)
        description += QStringLiteral(" premier=") + texte(static_cast<TexteAuto*>(tableau->donnees)[0]);
    return description;
}

void remplir(TableauAuto* tableau, int champs, const QString& prefixe)
{
    if (tableau == nullptr)
        return;
    auto* textes = static_cast<TexteAuto*>(tableau->donnees);
    for (uint32_t i = 0; i < tableau->bornes[0].nombre; ++i)
        for (int k = 0; k < champs; ++k) {
            const QString valeur = prefixe + QString::number(tableau->bornes[0].borneInferieure + qint64{i}) +
                                   QLatin1Char('.') + QString::number(k + 1);
            TexteAuto& champ = textes[i * champs + k];
            texteAutoLiberer(champ);
            champ = texteAutoAllouer(reinterpret_cast<const CaractereAuto*>(valeur.utf16()),
                                     static_cast<uint32_t>(valeur.size()));
        }
}

int32_t repondre(int etape, const QString& appel, TableauAuto** reference, int champs, const QString& prefixe)
{
    Etat& e = etat();
    e.journal.append(appel + QLatin1Char(' ') + decrire(*reference));
    const ReponseFautive& r = e.reponses[etape];
    const auto livres = static_cast<uint32_t>(r.livres);
    const uint32_t taille = champs * sizeof(TexteAuto);
    TableauAuto*& tableau = *reference;
    switch (r.mode) {
    case Redimensionner:
        if (tableau == nullptr)
            tableau = tableauAutoCreer(taille, r.borneInferieure, livres);
        else
            tableauAutoRedimensionner(tableau, r.borneInferieure, livres);
        remplir(tableau, champs, prefixe);
        break;
    case Remplacer:
        tableauAutoDetruire(tableau);
        tableau = tableauAutoCreer(taille, r.borneInferieure, livres);
        remplir(tableau, champs, prefixe);
        break;
    case Annuler:
        tableauAutoDetruire(tableau);
        tableau = nullptr;
        break;
    case AutreType:
        tableauAutoDetruire(tableau);
        tableau = tableauAutoCreer(taille + sizeof(TexteAuto), r.borneInferieure, livres);
        remplir(tableau, champs + 1, prefixe);
        break;
    default:
        break;
    }
    return r.compte;
}

// TARVO_FAUTIF_PANNES="ACQK001:GetPriseEnCharge_Tarvo:plantage,HFFC004:ListeCodeAssociationActe_Tarvo:blocage"
// crashes or hangs the process in those calls; "*" for the act stands for every act.
void pannesChoisies(const char* pointEntree, const char* code)
{
    static const QStringList pannes =
        qEnvironmentVariable("TARVO_FAUTIF_PANNES").split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QString acte = QString::fromLatin1(code == nullptr ? "" : code);
    for (const QString& panne : pannes) {
        const QStringList parties = panne.split(QLatin1Char(':'));
        if (parties.size() != 3 || (parties.at(0) != acte && parties.at(0) != QLatin1String("*")) ||
            parties.at(1) != QLatin1String(pointEntree))
            continue;
        if (parties.at(2) == QLatin1String("plantage"))
            *static_cast<volatile int*>(nullptr) = 0;
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}

QString texteEntree(const char* texte)
{
    return texte == nullptr ? QStringLiteral("<nul>") : QString::fromLocal8Bit(texte);
}

} // namespace

#if defined(_WIN32)
#define FAUTIF_EXPORT __declspec(dllexport)
#else
#define FAUTIF_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

FAUTIF_EXPORT void Fautif_Reinitialiser()
{
    etat().reinitialiser();
}

FAUTIF_EXPORT void Fautif_Repondre(int32_t etape, ReponseFautive reponse)
{
    if (etape >= 1 && etape <= 7)
        etat().reponses[static_cast<std::size_t>(etape)] = reponse;
}

FAUTIF_EXPORT int32_t Fautif_Journal(char* tampon, int32_t taille)
{
    Etat& e = etat();
    e.journalOctets = e.journal.join(QLatin1Char('\n')).toUtf8();
    const auto copies = static_cast<int32_t>(qMin<qsizetype>(e.journalOctets.size(), taille - 1));
    std::memcpy(tampon, e.journalOctets.constData(), static_cast<std::size_t>(copies));
    tampon[copies] = '\0';
    return copies;
}

int32_t TARVO_APPEL Connection_Tarvo(int32_t a, int32_t b, int32_t c, const char* repertoire)
{
    etat().journal.append(
        QStringLiteral("Connection_Tarvo(%1,%2,%3,%4)").arg(a).arg(b).arg(c).arg(texteEntree(repertoire)));
    return etat().reponses[1].compte;
}

int32_t TARVO_APPEL ListeModificateurs_Tarvo(TableauAuto** liste)
{
    return repondre(2, QStringLiteral("ListeModificateurs_Tarvo()"), liste, 3, QStringLiteral("Modif"));
}

int32_t TARVO_APPEL GetPrixUnitaireActeSupplement_Tarvo(const char* code, int32_t activite, int32_t phase,
                                                        const char* date, const char* grille,
                                                        TableauAuto** prix)
{
    pannesChoisies("GetPrixUnitaireActeSupplement_Tarvo", code);
    return repondre(3,
                    QStringLiteral("GetPrixUnitaireActeSupplement_Tarvo(%1,%2,%3,%4,%5)")
                        .arg(texteEntree(code))
                        .arg(activite)
                        .arg(phase)
                        .arg(texteEntree(date), texteEntree(grille)),
                    prix, 2, QStringLiteral("Prix"));
}

#ifndef TARVO_FAUTIF_SANS_PRISE_EN_CHARGE
int32_t TARVO_APPEL GetPriseEnCharge_Tarvo(const char* code, const char* date, TableauAuto** priseEnCharge)
{
    pannesChoisies("GetPriseEnCharge_Tarvo", code);
    return repondre(4,
                    QStringLiteral("GetPriseEnCharge_Tarvo(%1,%2)").arg(texteEntree(code), texteEntree(date)),
                    priseEnCharge, 5, QStringLiteral("PEC"));
}
#endif

int32_t TARVO_APPEL ListeCodeIncompatibilitesActe_Tarvo(const char* code, TableauAuto** liste)
{
    pannesChoisies("ListeCodeIncompatibilitesActe_Tarvo", code);
    return repondre(5, QStringLiteral("ListeCodeIncompatibilitesActe_Tarvo(%1)").arg(texteEntree(code)),
                    liste, 3, QStringLiteral("Incomp"));
}

int32_t TARVO_APPEL ListeCodeAssociationActe_Tarvo(const char* code, int32_t activite, TableauAuto** liste)
{
    pannesChoisies("ListeCodeAssociationActe_Tarvo", code);
    return repondre(
        6, QStringLiteral("ListeCodeAssociationActe_Tarvo(%1,%2)").arg(texteEntree(code)).arg(activite),
        liste, 3, QStringLiteral("Assoc"));
}

int32_t TARVO_APPEL DeConnection_Tarvo(void)
{
    etat().journal.append(QStringLiteral("DeConnection_Tarvo()"));
    return etat().reponses[7].compte;
}

} // extern "C"
