# What `cmake --install` lays out, and the Debian package made from it.
#
#   <prefix>/lib/tenvorik/           the program, libHalvex, libOrvinel, the platform layer, the
#                                    characteristic blocks and the guide: together, since every
#                                    module finds its neighbours beside itself ($ORIGIN)
#   <prefix>/lib/tenvorik/lang/      the English resource libraries, taken when a user's
#                                    settings or locale ask for English
#   <prefix>/bin/tenvorik            a link to the program
#   <prefix>/include/tenvorik/       the headers a host program of Halvex or Orvinel includes
#   <prefix>/lib/pkgconfig/          halvex.pc and orvinel.pc
#   <prefix>/share/applications, share/icons, share/mime/packages: the desktop entry, its icon
#                                    and the record types it opens
include(GNUInstallDirs)

set(TV_INSTALL_PKGDIR ${CMAKE_INSTALL_LIBDIR}/tenvorik)
set(TV_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/tenvorik)
set(TV_INSTALL_PCDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(TENVORIK_GUIDE_DIR ${CMAKE_SOURCE_DIR}/docs/guide CACHE PATH "Folder of the user guide, installed when present")

install(TARGETS Tenvorik Halvex Orvinel platform platform_draw platform_ui
  RUNTIME DESTINATION ${TV_INSTALL_PKGDIR}
  LIBRARY DESTINATION ${TV_INSTALL_PKGDIR})
install(TARGETS Tenvorik_ResEng Halvex_ResEng Orvinel_ResEng LIBRARY DESTINATION ${TV_INSTALL_PKGDIR}/lang)
install(FILES ${TVB_FILES} DESTINATION ${TV_INSTALL_PKGDIR})
if(IS_DIRECTORY ${TENVORIK_GUIDE_DIR})
  install(DIRECTORY ${TENVORIK_GUIDE_DIR}/ DESTINATION ${TV_INSTALL_PKGDIR}/guide)
endif()

# The link in bin/ is relative, so that it holds in a staging folder and in a package alike.
file(RELATIVE_PATH tv_bin_to_pkg /${CMAKE_INSTALL_BINDIR} /${TV_INSTALL_PKGDIR}/Tenvorik)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"${tv_bin_to_pkg}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tenvorik\" SYMBOLIC)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tenvorik\")")

# Headers: the libraries' and the platform layer's, which theirs include.
foreach(dir halvex orvinel platform)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir} DESTINATION ${TV_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
endforeach()

# pkg-config files that find the tree from where they lie, so a staged or moved tree works.
file(RELATIVE_PATH tv_pc_to_prefix /${TV_INSTALL_PCDIR} /)
string(REGEX REPLACE "/$" "" tv_pc_to_prefix "${tv_pc_to_prefix}")
set(TV_PC_PREFIX "\${pcfiledir}/${tv_pc_to_prefix}")
foreach(pc halvex orvinel)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/${pc}.pc DESTINATION ${TV_INSTALL_PCDIR})
endforeach()

# The desktop entry, its icon and the record types.
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/tenvorik.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/tenvorik.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
include(${CMAKE_SOURCE_DIR}/cmake/ComtradeMagic.cmake)
tv_comtrade_magic(TV_COMTRADE_MAGIC)
configure_file(${CMAKE_SOURCE_DIR}/resources/desktop/tenvorik.xml.in ${CMAKE_BINARY_DIR}/desktop/tenvorik.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/tenvorik.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# A direct install makes the types known at once. A package leaves it to the system's own
# triggers, and must not carry a database of its own.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\" AND NOT CMAKE_INSTALL_PREFIX MATCHES \"/_CPack_Packages/\")
    find_program(TV_UPDATE_MIME update-mime-database)
    find_program(TV_UPDATE_DESKTOP update-desktop-database)
    if(TV_UPDATE_MIME)
      execute_process(COMMAND \${TV_UPDATE_MIME} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/mime\")
    endif()
    if(TV_UPDATE_DESKTOP)
      execute_process(COMMAND \${TV_UPDATE_DESKTOP} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
    endif()
  endif()")

# The package's copyright and changelog, where a Debian system keeps them; the changelog
# compressed as the system's own are.
set(TV_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tenvorik)
configure_file(${CMAKE_SOURCE_DIR}/resources/package/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
find_program(TV_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
  COMMAND ${TV_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/package/changelog > ${CMAKE_BINARY_DIR}/package/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/package/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/resources/package/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
  DESTINATION ${TV_INSTALL_DOCDIR})

# --- the Debian package: scripts/package ----------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tenvorik)
set(CPACK_PACKAGE_VENDOR Korvelund)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fault record viewer with the Halvex and Orvinel libraries")
set(CPACK_PACKAGE_DESCRIPTION "Tenvorik opens the fault and disturbance records of relay protection
terminals and recorders (COMTRADE .cfg/.dat and .cff, .osc, .sto), shows
their channels against time with cursors, computes channels by formulas,
draws phasor and impedance-plane diagrams, locates faults on a modelled
line and saves records as COMTRADE.
.
The package also holds the libraries Halvex (configuration objects, logic
schemes, controls) and Orvinel (conversion of terminal records to COMTRADE,
with a C interface), their headers and pkg-config files, and English
resource libraries.")
# Programs and libraries stripped; their debug symbols are left out.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Korvelund <support@korvelund.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries lie in a folder of their own; the dependency scan must look there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, shared-mime-info, desktop-file-utils")
include(CPack)

# --- tests of the installed tree ------------------------------------------------------
if(TENVORIK_TESTS)
  set(tv_host_flags "")
  if(TENVORIK_SANITIZE)
    set(tv_host_flags "-fsanitize=address,undefined")
  endif()
  add_test(NAME install_host
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSTAGE=${CMAKE_BINARY_DIR}/stage/host -DROOT=${CMAKE_SOURCE_DIR}
            -DSOURCE=${CMAKE_SOURCE_DIR}/tests/install/host/host.cpp -DCXX=${CMAKE_CXX_COMPILER}
            -DC_SOURCE=${CMAKE_SOURCE_DIR}/tests/install/host/cclient.c -DCC=${CMAKE_C_COMPILER}
            -DWX_SOURCE=${CMAKE_SOURCE_DIR}/tests/install/host/wxhost.cpp
            "-DFLAGS=${tv_host_flags}" -P ${CMAKE_SOURCE_DIR}/tests/install/HostTest.cmake)
  add_test(NAME install_desktop
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSTAGE=${CMAKE_BINARY_DIR}/stage/desktop
            -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/tests/install -P ${CMAKE_SOURCE_DIR}/tests/install/DesktopTest.cmake)
  # A tool that is not installed skips the test with a line saying which.
  set_tests_properties(install_host install_desktop PROPERTIES
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp"
    SKIP_REGULAR_EXPRESSION "TV-SKIP:" LABELS install RESOURCE_LOCK tenvorik_install)
endif()
