# Read by cpack before it makes the Debian package.
#
# The package is reproducible: every file in it carries the time of the last
# commit (SOURCE_DATE_EPOCH; the release date's noon outside a git clone), so two
# packages made from the same tree are the same file.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_TZR_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    set(epoch "${CPACK_TZR_RELEASE_EPOCH}")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()

# The libraries the programs and the link library need, from dpkg-shlibdeps. CPack's
# own scan is off: it would also call ldconfig from the maintainer scripts for the
# link library, which is private (loaded by path, never through the linker's cache).
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(REMOVE_RECURSE "${work}")
file(WRITE "${work}/debian/control" "Source: tzr582\n\nPackage: tzr582\nArchitecture: any\n")
# (It is run on the build tree's binaries, whose run path $ORIGIN it warns about:
# its messages are shown only when it fails.)
execute_process(COMMAND dpkg-shlibdeps -O ${CPACK_TZR_BINARIES}
                WORKING_DIRECTORY "${work}" OUTPUT_VARIABLE shlibs ERROR_VARIABLE messages RESULT_VARIABLE failed
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed OR NOT shlibs MATCHES "^shlibs:Depends=")
  message(FATAL_ERROR "dpkg-shlibdeps found no dependencies of ${CPACK_TZR_BINARIES}:\n${messages}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" shlibs "${shlibs}")
string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${shlibs}")
