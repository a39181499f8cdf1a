# Where `cmake --install` puts things (GNUInstallDirs below the prefix); the install rules
# in packaging/ and the tests of the installed tree read them from here.
include(GNUInstallDirs)

set(KES_APP_ID example.quillmoor.Kestrova)
# The project's own shared libraries are private to its programs.
set(KES_INSTALL_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/kestrova)
set(KES_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kestrova)
# Where bash-completion looks below every folder of XDG_DATA_DIRS, /usr/share among them.
set(KES_INSTALL_COMPLETIONSDIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
