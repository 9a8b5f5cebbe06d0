#pragma once

#include <QVariant>

// windows.h first: oleauto.h relies on its types.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

// What the control answered (a result, an event's argument), as the members read it (texteLu): Empty as
// nothing, Null as null, a value passed by reference read through its referent, any other plain value as
// the automation runtime writes it in the user's locale (a boolean as "Vrai" or "True"). An array, an object,
// a record or a value no text is made of is a ValeurNonScalaire with its type (valeurautomation.h): no
// object's default member is ever called. Call it inside the call guard: a conversion may run code of the
// control.
QVariant valeurLue(const VARIANT& valeur);
