#pragma once

#include <QStringView>
#include <QtGlobal>
#include <span>

// What a put value is turned into when it comes neither as text nor as a 32-bit integer.
enum class GenreValeur
{
    Texte,
    Entier,
};

// One member of the act-selection component as a dispatch client sees it.
struct MembreCtlTarvo
{
    qint32 dispId;
    bool methode;
    GenreValeur genre;
};

std::span<const MembreCtlTarvo> membresCtlTarvo();
// nullptr for an identifier the component does not have.
const MembreCtlTarvo* membreParIdentifiant(qint32 dispId);
// Names compare without regard to case, as late-binding clients expect; nullptr for an unknown name.
const MembreCtlTarvo* membreParNom(QStringView nom);
