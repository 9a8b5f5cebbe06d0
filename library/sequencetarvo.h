#pragma once

#include <QString>
#include <functional>

class ServiceMessages;

// The two window values the price call of the sequence needs, read at the moment it needs them.
struct SourceContexteSequence
{
    std::function<QString()> dateReference;   // "YYYYMMDD"
    std::function<QString()> grilleTarifaire; // text of the selected grid entry
};

// The fixed sequence of calls made straight on the classification library, each result reported
// in a message box. Throws Echec when the library or an entry point cannot be found.
void executerSequenceTarvo(ServiceMessages& messages, const SourceContexteSequence& source);
