#include "modeleresultats.h"

void ModeleResultats::remplacer(QList<Acte> actes)
{
    beginResetModel();
    m_actes = std::move(actes);
    endResetModel();
}

int ModeleResultats::ligneDe(const QString& code) const
{
    for (qsizetype i = 0; i < m_actes.size(); ++i) {
        if (m_actes.at(i).code == code)
            return int(i);
    }
    return -1;
}

int ModeleResultats::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_actes.size());
}

QVariant ModeleResultats::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Acte& acte = m_actes.at(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        // The view elides at its width anyway; shaping the rest of a 300-character label on each
        // keystroke would only cost time.
        constexpr qsizetype longueurAffichee = 110;
        QString libelle = acte.libelleLong.isEmpty() ? acte.libelleCourt : acte.libelleLong;
        if (libelle.size() > longueurAffichee)
            libelle = libelle.left(longueurAffichee - 1) + QChar(0x2026);
        return QStringLiteral("%1  %2").arg(acte.code, libelle);
    }
    case Qt::ToolTipRole:
        return acte.libelleLong;
    case RoleCode:
        return acte.code;
    default:
        return {};
    }
}
