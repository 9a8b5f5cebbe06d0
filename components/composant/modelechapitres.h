#pragma once

#include "magasinccam.h"

#include <QAbstractItemModel>
#include <memory>
#include <vector>

// The chapter hierarchy with the acts under their chapters, filled one level at a time when the
// view asks for it (the whole CCAM is some 10,000 rows, too many to build when the dialog opens).
// Acts are filtered by the query context as the search is; a chapter whose acts the context hides, some or
// all, ends with a note saying how many and why, in the search's own words, so it never opens empty
// without a reason.
class ModeleChapitres final : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role
    {
        RoleCode = Qt::UserRole + 1, // an act's code; empty for a chapter
        RoleMasques,                 // on the note closing a chapter: how many of its acts the context hides
    };

    ModeleChapitres(const MagasinCcam& magasin, ContexteRequete contexte, QObject* parent = nullptr);
    ~ModeleChapitres() override;

    // Loads the chapters down to the act and gives its index; invalid when the tree does not hold it.
    QModelIndex reveler(const QString& codeActe);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Noeud;

    Noeud* noeudDe(const QModelIndex& index) const;
    QModelIndex indexDe(const Noeud* noeud) const;
    void charger(Noeud* noeud, const QModelIndex& indexNoeud);

    const MagasinCcam& m_magasin;
    ContexteRequete m_contexte;
    std::unique_ptr<Noeud> m_racine;
};
