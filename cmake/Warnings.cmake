# One place for the compiler flags every target of ours shares.
add_library(ledgerly_options INTERFACE)
target_compile_options(ledgerly_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual)
if(LEDGERLY_WERROR)
    target_compile_options(ledgerly_options INTERFACE -Werror)
endif()
target_compile_definitions(ledgerly_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS QT_DISABLE_DEPRECATED_BEFORE=0x060400 QT_DISABLE_DEPRECATED_UP_TO=0x060400)
