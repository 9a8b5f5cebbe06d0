#pragma once

#include "controledispatch.h"

#include <QString>
#include <memory>

class QWidget;

// The act-selection control as a COM object, created from its ProgID (in-process, apartment-threaded), sited
// on `fenetre` without a visible presence, and called through IDispatch::Invoke by dispatch identifier. Every
// value read is converted to text as the automation runtime does it, in the user's locale. Throws Echec 429
// when the object cannot be created. Windows only.
std::unique_ptr<ControleDispatch> creerControleCom(const QString& progId, QWidget* fenetre);
