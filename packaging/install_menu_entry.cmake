# Runs at install time: writes the menu entry with the program's full path under the prefix chosen then
# (/usr in the package, ~/.local with cmake --install --prefix ~/.local), so the entry starts the
# program even when that prefix's bin folder is not on PATH.
# Given: LQ_ENTRY_TEMPLATE, LQ_APP_ID, LQ_BINDIR and LQ_DATADIR (relative to the prefix).
set(LQ_BINDIR "${CMAKE_INSTALL_PREFIX}/${LQ_BINDIR}")
set(entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${LQ_DATADIR}/applications/${LQ_APP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${LQ_ENTRY_TEMPLATE}" "${entry}" @ONLY)
