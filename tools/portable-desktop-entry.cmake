# Writes the portable folder's desktop entry at install time, once the folder
# is known: a menu finds the program and its icon only by absolute path.
# Expects DESKTOP_ENTRY_TEMPLATE; honours --prefix and DESTDIR.
set(folder "${CMAKE_INSTALL_PREFIX}")
# Exec: inside its double quotes ", `, $ and \ take a backslash, % is doubled
# (field codes), and then, as for every value, each backslash is doubled.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${folder}/pelliwick")
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
set(PELLIWICK_EXEC "\"${exec}\"")
string(REPLACE "\\" "\\\\" PELLIWICK_ICON "${folder}/pelliwick.png")
set(entry "$ENV{DESTDIR}${folder}/pelliwick.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${DESKTOP_ENTRY_TEMPLATE}" "${entry}" @ONLY)
