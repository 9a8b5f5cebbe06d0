#include "modelechapitres.h"

#include "actesmasques.h"
#include "reponsesacte.h"

struct ModeleChapitres::Noeud
{
    QString code;
    QString libelle;
    bool estActe = false;
    bool estNote = false; // the note on the acts the context hides
    bool charge = false;
    ActesMasques masques;
    Noeud* parent = nullptr;
    int ligne = 0;
    std::vector<std::unique_ptr<Noeud>> enfants;
};

ModeleChapitres::ModeleChapitres(const MagasinCcam& magasin, ContexteRequete contexte, QObject* parent)
    : QAbstractItemModel(parent)
    , m_magasin(magasin)
    , m_contexte(std::move(contexte))
    , m_racine(std::make_unique<Noeud>())
{
    m_racine->code = MagasinCcam::racineChapitres();
}

ModeleChapitres::~ModeleChapitres() = default;

ModeleChapitres::Noeud* ModeleChapitres::noeudDe(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Noeud*>(index.internalPointer()) : m_racine.get();
}

QModelIndex ModeleChapitres::indexDe(const Noeud* noeud) const
{
    if (noeud == m_racine.get())
        return {};
    return createIndex(noeud->ligne, 0, noeud);
}

QModelIndex ModeleChapitres::index(int row, int column, const QModelIndex& parent) const
{
    const Noeud* p = noeudDe(parent);
    if (column != 0 || row < 0 || size_t(row) >= p->enfants.size())
        return {};
    return createIndex(row, 0, p->enfants[size_t(row)].get());
}

QModelIndex ModeleChapitres::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    return indexDe(noeudDe(index)->parent);
}

int ModeleChapitres::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(noeudDe(parent)->enfants.size());
}

int ModeleChapitres::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant ModeleChapitres::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Noeud* n = noeudDe(index);
    if (n->estNote) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return n->libelle;
        case RoleMasques:
            return n->masques.total();
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::DisplayRole:
        return n->estActe ? QStringLiteral("%1  %2").arg(n->code, n->libelle) : n->libelle;
    case Qt::ToolTipRole:
        return n->libelle;
    case RoleCode:
        return n->estActe ? n->code : QString();
    default:
        return {};
    }
}

Qt::ItemFlags ModeleChapitres::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The note can be read, not chosen.
    return noeudDe(index)->estNote ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

bool ModeleChapitres::hasChildren(const QModelIndex& parent) const
{
    const Noeud* n = noeudDe(parent);
    // Until a chapter is opened we cannot tell whether the context leaves anything in it.
    return n->charge ? !n->enfants.empty() : !n->estActe;
}

bool ModeleChapitres::canFetchMore(const QModelIndex& parent) const
{
    const Noeud* n = noeudDe(parent);
    return !n->estActe && !n->charge;
}

void ModeleChapitres::fetchMore(const QModelIndex& parent)
{
    Noeud* n = noeudDe(parent);
    if (!n->estActe && !n->charge)
        charger(n, parent);
}

void ModeleChapitres::charger(Noeud* noeud, const QModelIndex& indexNoeud)
{
    noeud->charge = true;
    std::vector<std::unique_ptr<Noeud>> nouveaux;
    for (const NoeudChapitre& chapitre : m_magasin.enfants(noeud->code)) {
        auto n = std::make_unique<Noeud>();
        n->code = chapitre.code;
        n->libelle = chapitre.strate.isEmpty()
                         ? chapitre.libelle
                         : QStringLiteral("%1  %2").arg(chapitre.strate, chapitre.libelle);
        nouveaux.push_back(std::move(n));
    }
    ActesMasques masques;
    // Every act of the chapter, whatever its dates: those the context hides are counted, by reason.
    for (const Acte& acte : m_magasin.actesDuNoeud(noeud->code)) {
        switch (m_magasin.masque(acte.code, m_contexte)) {
        case MagasinCcam::Masque::Aucun:
            break;
        case MagasinCcam::Masque::Date:
            ++masques.parDate;
            continue;
        case MagasinCcam::Masque::Srt:
            ++masques.parSrt;
            continue;
        case MagasinCcam::Masque::Specialite:
            ++masques.parSpecialite;
            continue;
        }
        auto n = std::make_unique<Noeud>();
        n->code = acte.code;
        n->libelle = acte.libelleLong.isEmpty() ? acte.libelleCourt : acte.libelleLong;
        n->estActe = true;
        n->charge = true;
        nouveaux.push_back(std::move(n));
    }
    if (masques.total() > 0) {
        auto n = std::make_unique<Noeud>();
        n->libelle = texteActesMasques(masques, m_contexte);
        n->estNote = true;
        n->charge = true;
        n->masques = masques;
        nouveaux.push_back(std::move(n));
    }
    if (nouveaux.empty()) {
        // The expand arrow drawn before loading must go.
        Q_EMIT dataChanged(indexNoeud, indexNoeud);
        return;
    }
    beginInsertRows(indexNoeud, 0, int(nouveaux.size()) - 1);
    for (size_t i = 0; i < nouveaux.size(); ++i) {
        nouveaux[i]->parent = noeud;
        nouveaux[i]->ligne = int(i);
        noeud->enfants.push_back(std::move(nouveaux[i]));
    }
    endInsertRows();
}

QModelIndex ModeleChapitres::reveler(const QString& codeActe)
{
    const QList<NoeudChapitre> chemin = m_magasin.cheminChapitres(codeActe);
    Noeud* courant = m_racine.get();
    // The store gives the act's own chapter first, then its ancestors: walk them from the top.
    for (auto it = chemin.crbegin(); it != chemin.crend(); ++it) {
        if (!courant->charge)
            charger(courant, indexDe(courant));
        Noeud* suivant = nullptr;
        for (const auto& enfant : courant->enfants) {
            if (!enfant->estActe && enfant->code == it->code) {
                suivant = enfant.get();
                break;
            }
        }
        if (!suivant)
            return {};
        courant = suivant;
    }
    if (!courant->charge)
        charger(courant, indexDe(courant));
    for (const auto& enfant : courant->enfants) {
        if (enfant->estActe && enfant->code == codeActe)
            return indexDe(enfant.get());
    }
    return {};
}
