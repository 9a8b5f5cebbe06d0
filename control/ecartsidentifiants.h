#pragma once

#include <QList>
#include <QString>
#include <optional>

class ControleDispatch;

// A member whose identifier, asked by name, is not the one of the table: a control rebuilt without binary
// compatibility. Calls still go by the table's identifiers, as the original program's compiled calls do.
struct EcartIdentifiant
{
    QString membre;
    qint32 attendu = 0;
    std::optional<qint32> trouve; // nothing: the control does not know the name
};

// Asks the control for each of the 22 members by name, in the table's order; the members that differ.
QList<EcartIdentifiant> ecartsIdentifiants(ControleDispatch& controle);

// "0x60030008"; "(inconnu)" when there is none.
QString texteIdentifiant(std::optional<qint32> identifiant);
