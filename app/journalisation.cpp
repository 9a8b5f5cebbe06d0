#include "journalisation.h"

#include "controlejournalise.h"
#include "examencomposants.h"
#include "journalappels.h"
#include "sequencetarvo.h"

#include <QCoreApplication>
#include <QJsonArray>

Journalisation::Journalisation(JournalAppels& j, ServiceMessages& messages, AppelsSequence& bibliotheque,
                               const FabriqueControle& fabrique, const QString& progIdControle)
    : journal(j)
    , messagesJournalises(messages, j)
    , bibliotheque(bibliotheque, j)
    , fabriqueControle(fabriqueJournalisee(fabrique, j))
    , suivi(j)
{
    QJsonArray arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.append(argument);
    // Which control answers: the class and file its registration gives now.
    const IdentiteControle identite = identiteControle(progIdControle);
    journal.consigner(QStringLiteral("debut"),
                      {{QStringLiteral("programme"), QCoreApplication::applicationName()},
                       {QStringLiteral("arguments"), arguments},
                       {QStringLiteral("base"), qEnvironmentVariable("BANC_CCAM_BASE")},
                       {QStringLiteral("controle"),
                        QJsonObject{{QStringLiteral("progid"), progIdControle},
                                    {QStringLiteral("clsid"), identite.clsid},
                                    {QStringLiteral("serveur"), identite.serveur}}}});
}
