#pragma once

// Bytes our own classification library carries in its file, by which a diagnostic tells it from another
// library of the same name without calling it.
#define TARVOLIB_MARQUE_SUBSTITUT "TarvoLib : substitut du banc d'essai CCAM"
