#include "sequencetarvo.h"

void executerSequenceTarvo(ServiceMessages&, const SourceContexteSequence&) {}
