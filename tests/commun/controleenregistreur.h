#pragma once

#include "controledispatch.h"

#include <QHash>
#include <QSet>

struct JournalTest;

// A control that records every access in the journal and answers from a script:
//   "SRTSeulement <- 0"            write of an integer
//   "GrilleTarifaire <- \"001\""    write of a text
//   "CodeSpecialite <-& 6"          write by reference
//   "CodeActe ->"                   read
//   "SelectionActe()"               method call
// A member listed in `echecs` throws Echec instead (after being recorded).
class ControleEnregistreur : public ControleDispatch
{
public:
    explicit ControleEnregistreur(JournalTest* journal);

    void ecrire(qint32 dispId, const QVariant& valeur) override;
    void ecrireParReference(qint32 dispId, QVariant& valeur) override;
    QVariant lire(qint32 dispId) override;
    QVariant appeler(qint32 dispId) override;

    QHash<qint32, QVariant> reponses;
    QSet<qint32> echecs;

private:
    void echouerSiDemande(qint32 dispId);

    JournalTest* m_journal;
};

// How a written value shows in the journal: integers bare, texts in double quotes.
QString formaterValeur(const QVariant& valeur);
