#pragma once

#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

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
};

// Creates the control hosted on `fenetre`; the window keeps it exactly as long as itself.
using FabriqueControle = std::function<std::unique_ptr<ControleDispatch>(QWidget* fenetre)>;
