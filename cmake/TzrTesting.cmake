# tzr_add_test(<name> SOURCES <files...> LIBS <targets...>)
#
# One test per class or subject: tests/<folder>/<name>.cpp, named tst_<subject>
# in lower case without separators (tst_orvgrid, tst_encryptedcontainer). The
# test sees the headers of the libraries it links and the tests' own shared
# headers as "tests/common/<File>.h".
#
# A QtTest executable registered with CTest. Each test runs on the offscreen
# platform with its own XDG folders inside the build tree, so no test touches the
# user's real settings or files, and tests running in parallel do not share them.
# The locale is C whatever the user's, so a first start speaks the default language.
function(tzr_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test tzr_testsupport ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set(home ${CMAKE_BINARY_DIR}/test-home/${name})
  # The sanitizers make a test several times slower (the command-line tests
  # start a few hundred instrumented processes).
  if(TZR_SANITIZE)
    set(timeout 600)
  else()
    set(timeout 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${timeout}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_DATA_HOME=${home}/share;XDG_CONFIG_HOME=${home}/config;XDG_CACHE_HOME=${home}/cache;XDG_RUNTIME_DIR=${home}/runtime;QT_ENABLE_REGEXP_JIT=0;LANG=C.UTF-8;LC_ALL=;LC_MESSAGES=")
  file(MAKE_DIRECTORY ${home}/runtime)
  file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endfunction()

# The tests' shared headers (tests/common), for tests, fuzz targets and the
# stand-in link libraries.
add_library(tzr_testsupport INTERFACE)
target_link_libraries(tzr_testsupport INTERFACE tzr_linkcontract)
tzr_link_folder(${PROJECT_BINARY_DIR}/include/tzr_testsupport tests)
target_include_directories(tzr_testsupport INTERFACE ${PROJECT_BINARY_DIR}/include/tzr_testsupport)
