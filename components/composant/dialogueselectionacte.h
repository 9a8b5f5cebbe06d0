#pragma once

#include "magasinccam.h"

#include <QDialog>

class ModeleChapitres;
class ModeleResultats;
class QDialogButtonBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QTabWidget;
class QSplitter;
class QTimer;
class QTreeView;

// The control's act-selection dialog: search by code prefix or label words, browse the chapters,
// see the highlighted act's details in the query context, choose it. Every widget carries an
// objectName; those others find it by are in nomsselectionacte.h.
class DialogueSelectionActe final : public QDialog
{
    Q_OBJECT

public:
    // How many acts a search shows: enough to scroll through, few enough to stay within a frame.
    static constexpr int limiteResultats = 200;

    DialogueSelectionActe(const MagasinCcam& magasin, ContexteRequete contexte, const QString& codeInitial,
                          QWidget* parent = nullptr);
    ~DialogueSelectionActe() override;

    // The highlighted act, empty when none; after accept() the chosen one.
    QString codeSurligne() const { return m_codeSurligne; }

    // How long typing must pause before the dialog counts the acts the context hides: the count takes a few
    // queries over the whole store, kept off each keystroke.
    static constexpr int delaiMasquesMs = 150;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

private:
    QHBoxLayout* construireRecherche();
    void construireVues();
    QGroupBox* construireDetails();
    void construireBoutons();
    void relierSignaux();
    // The act of `codeInitial` in the search field, highlighted in both views; else the text as written.
    void ouvrirSur(const QString& codeInitial);
    void rechercher(const QString& texte);
    void signalerMasques();
    void surligner(const QString& code);
    void afficherDetails();
    void choisir(const QModelIndex& index);
    void reveler(const QString& code);
    QString texteContexte() const;

    const MagasinCcam& m_magasin;
    ContexteRequete m_contexte;
    QString m_codeSurligne;

    QLineEdit* m_recherche;
    QLabel* m_compte;
    QLabel* m_masques;
    QTimer* m_minuterieMasques;
    QSplitter* m_partage;
    bool m_partagePose = false;
    QTabWidget* m_onglets;
    QListView* m_resultats;
    QTreeView* m_chapitres;
    ModeleResultats* m_modeleResultats;
    ModeleChapitres* m_modeleChapitres;
    QLabel* m_code;
    QLabel* m_libelle;
    QLabel* m_validite;
    QLabel* m_activites;
    QLabel* m_prix;
    QLabel* m_regroupement;
    QDialogButtonBox* m_boutons;
};
