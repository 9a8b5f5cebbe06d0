#pragma once

#include <QString>

// The directory holding this library's own file, wherever the tool loaded it from: the default store
// sits there, beside the library. Empty when the system cannot tell.
QString repertoireBibliotheque();
