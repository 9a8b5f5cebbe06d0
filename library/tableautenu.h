#pragma once

#include "automation.h"

#include <QString>
#include <QtGlobal>

// The caller's side of an array handed to the library: who owns it, how a record is read from it without
// ever trusting the count the library returned, and what the library broke when it broke the contract
// (records from index 0, as many as it announced).

// Owns the array variable handed to the library: whatever the library left there (the array it was given,
// a resized one or a replacement) is released with all its texts at the end, failures included.
class TableauTenu
{
public:
    explicit TableauTenu(uint32_t tailleEnregistrement);
    ~TableauTenu();
    TableauTenu(const TableauTenu&) = delete;
    TableauTenu& operator=(const TableauTenu&) = delete;

    TableauAuto*& variable() { return m_tableau; }
    const TableauAuto* tableau() const { return m_tableau; }
    uint32_t tailleEnregistrement() const { return m_tailleEnregistrement; }

    // Exactly one record, index 0, every text empty. Throws std::bad_alloc when memory is short.
    void reinitialiser();

private:
    void liberer();

    uint32_t m_tailleEnregistrement;
    TableauAuto* m_tableau = nullptr;
};

// The texts of the record at `index`, or null unless the array holds a record of that size there: the
// index is tested against the array's own lower bound and count.
const TexteAuto* champsEnregistrement(const TableauAuto* tableau, uint32_t tailleEnregistrement,
                                      qint64 index);

QString texteAuto(TexteAuto texte);

// The indices from 0 to lus - 1 that the array really holds, as [debut, fin); empty when it holds none.
struct PlageEnregistrements
{
    qint64 debut = 0;
    qint64 fin = 0;
};
PlageEnregistrements enregistrementsPresents(const TableauAuto* tableau, uint32_t tailleEnregistrement,
                                             qint64 lus);

// What stops the indices 0 to lus - 1 from being read, the `annonce` the library returned beside them:
// "ListeCodeIncompatibilitesActe_Tarvo annonce 5 enregistrement(s), mais le tableau livré va de l'indice 0 à
// l'indice 1 ; indice(s) non lu(s) : 2 à 4."; empty when they are all there.
QString enregistrementsManquants(const QString& pointEntree, qint32 annonce, qint64 lus,
                                 const TableauAuto* tableau, uint32_t tailleEnregistrement);

// How the answer broke the contract: fewer records from index 0 than the count announces, or an array that
// does not start at index 0; empty when it kept it.
QString contratRompu(const QString& pointEntree, qint32 annonce, const TableauAuto* tableau,
                     uint32_t tailleEnregistrement);
