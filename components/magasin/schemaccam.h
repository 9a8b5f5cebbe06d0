#pragma once

// The store's tables, shared by the importer that writes them and the store that checks them.
// Dates are "YYYYMMDD" text, prices integer cents, grid 0 holds the base prices.
namespace schemaccam {

inline constexpr const char* format = "banc-ccam-1";

inline constexpr const char* tables = R"(
CREATE TABLE meta(cle TEXT PRIMARY KEY, valeur TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE acte(code TEXT NOT NULL, libelle_court TEXT NOT NULL, libelle_long TEXT NOT NULL,
                  type_acte INTEGER NOT NULL, sexe INTEGER NOT NULL, date_debut TEXT NOT NULL, date_fin TEXT,
                  noeud TEXT);
CREATE VIRTUAL TABLE acte_fts USING fts5(texte, content='', prefix='1 2 3', tokenize='unicode61');
CREATE TABLE noeud(code TEXT PRIMARY KEY, parent TEXT, strate TEXT NOT NULL, niveau INTEGER NOT NULL,
                   libelle TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE tarif(code TEXT NOT NULL, activite INTEGER NOT NULL, phase INTEGER NOT NULL, grille INTEGER NOT NULL,
                   date_effet TEXT NOT NULL, prix INTEGER NOT NULL,
                   PRIMARY KEY(code, activite, phase, grille, date_effet)) WITHOUT ROWID;
CREATE TABLE phase(code TEXT NOT NULL, activite INTEGER NOT NULL, phase INTEGER NOT NULL, icr INTEGER, classant TEXT,
                   PRIMARY KEY(code, activite, phase)) WITHOUT ROWID;
CREATE TABLE regroupement(code TEXT NOT NULL, activite INTEGER NOT NULL, regroupement TEXT NOT NULL, date_debut TEXT,
                          PRIMARY KEY(code, activite)) WITHOUT ROWID;
CREATE TABLE note(code TEXT NOT NULL, date_debut TEXT, type_note TEXT NOT NULL, texte TEXT NOT NULL);
-- Act codes cited in parentheses by a note: type 01 "A l exclusion de", type 06 "Coder eventuellement".
CREATE TABLE renvoi(code TEXT NOT NULL, type_note TEXT NOT NULL, code_cite TEXT NOT NULL,
                    PRIMARY KEY(code, type_note, code_cite)) WITHOUT ROWID;
CREATE TABLE modificateur(code TEXT PRIMARY KEY, libelle TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE libelle_regroupement(code TEXT PRIMARY KEY, libelle TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE specialite(code INTEGER PRIMARY KEY, libelle TEXT NOT NULL);
CREATE TABLE grille(code INTEGER PRIMARY KEY, libelle TEXT NOT NULL);
CREATE TABLE type_note(code TEXT PRIMARY KEY, libelle TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE liste(nom TEXT NOT NULL, code TEXT NOT NULL, libelle TEXT NOT NULL, PRIMARY KEY(nom, code)) WITHOUT ROWID;
)";

// Built once the rows are in: one sort per index instead of a b-tree update per row.
inline constexpr const char* index = R"(
CREATE UNIQUE INDEX acte_code ON acte(code);
CREATE INDEX acte_type ON acte(type_acte, code);
CREATE INDEX acte_noeud ON acte(noeud, code);
CREATE INDEX noeud_parent ON noeud(parent, strate);
CREATE INDEX note_code ON note(code, type_note);
CREATE INDEX renvoi_cite ON renvoi(code_cite, type_note);
CREATE INDEX regroupement_code ON regroupement(regroupement, activite);
)";

} // namespace schemaccam
