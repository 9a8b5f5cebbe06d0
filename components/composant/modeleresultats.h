#pragma once

#include "magasinccam.h"

#include <QAbstractListModel>

// The acts a search found, one row each: "code  label" shown, the code under RoleCode.
class ModeleResultats final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        RoleCode = Qt::UserRole + 1,
    };

    using QAbstractListModel::QAbstractListModel;

    void remplacer(QList<Acte> actes);
    const QList<Acte>& actes() const { return m_actes; }
    // Row of the act, -1 when it is not listed.
    int ligneDe(const QString& code) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<Acte> m_actes;
};
