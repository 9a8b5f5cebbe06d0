#pragma once

#include "controledispatch.h"

#include <QString>
#include <memory>

class QWidget;

// The act-selection control as a COM object, created from its ProgID or its "{CLSID}" (in-process,
// apartment-threaded), hosted on `fenetre` as a form hosts a control (conteneurole_win.h), and called through
// IDispatch::Invoke by dispatch identifier, the window disabled for the length of each call. A plain value
// read is converted to text as the automation runtime does it, in the user's locale; Empty and Null are
// handed on as such. Throws Echec 429 when the object cannot be created. Windows only.
std::unique_ptr<ControleDispatch> creerControleCom(const QString& identite, QWidget* fenetre);
