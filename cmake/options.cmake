# One place for the compile settings every target of the project shares.
add_library(banc_options INTERFACE)
target_compile_options(banc_options INTERFACE
    -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor
    $<$<BOOL:${BANC_WERROR}>:-Werror>)
target_compile_definitions(banc_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS
    BANC_CCAM_DONNEES="${BANC_CCAM_DONNEES}")

if(BANC_SANITIZERS)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(banc_options INTERFACE ${_san})
    target_link_options(banc_options INTERFACE ${_san})
endif()
