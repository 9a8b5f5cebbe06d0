#pragma once

#include "controledispatch.h"

#include <QString>
#include <memory>

class QWidget;

// The act-selection control as a COM object, created from its ProgID or its "{CLSID}" (in-process,
// apartment-threaded), hosted on `fenetre` as a form hosts a control (conteneurole_win.h), and called through
// IDispatch::Invoke by dispatch identifier, as the runtime calls it: a write as a property put, a read or a
// call of an argument-less member with DISPATCH_METHOD | DISPATCH_PROPERTYGET, the window disabled while the
// command calls it. A plain value read is converted to text as the automation runtime does it, in the user's
// locale, a value by reference through its referent; Empty and Null are handed on as such, an array, an
// object or a record as its type. A failure reads EXCEPINFO, else the thread's error object, and the
// argument Invoke names. Its events go to observerEvenements. Throws Echec 429 when the object cannot be
// created. Windows only.
std::unique_ptr<ControleDispatch> creerControleCom(const QString& identite, QWidget* fenetre);
