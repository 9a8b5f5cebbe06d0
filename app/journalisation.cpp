#include "journalisation.h"

#include "controlejournalise.h"
#include "journalappels.h"
#include "sequencetarvo.h"

#include <QCoreApplication>
#include <QJsonArray>

Journalisation::Journalisation(JournalAppels& j, ServiceMessages& messages, AppelsSequence& bibliotheque,
                               const FabriqueControle& fabrique)
    : journal(j)
    , messagesJournalises(messages, j)
    , bibliotheque(bibliotheque, j)
    , fabriqueControle(fabriqueJournalisee(fabrique, j))
    , suivi(j)
{
    QJsonArray arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.append(argument);
    journal.consigner(QStringLiteral("debut"),
                      {{QStringLiteral("programme"), QCoreApplication::applicationName()},
                       {QStringLiteral("arguments"), arguments},
                       {QStringLiteral("base"), qEnvironmentVariable("BANC_CCAM_BASE")}});
}
