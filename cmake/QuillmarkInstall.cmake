# Where the project installs, and how installed files find one another.  Install
# components: `runtime` (libKELDA.so.3), `dev` (headers, the libKELDA.so link, kelda.pc,
# the CMake package), `programs` (the programs and everything they show or read).
#
# A path that one installed file keeps to another is relative wherever both lie under
# the prefix, so a tree installed with `cmake --install --prefix DIR`, staged with
# DESTDIR or unpacked from a package works where it lands.
include(GNUInstallDirs)

# quillmark_install_path(VAR BASE FROM TO): install folder TO as seen from install folder
# FROM, written BASE/relative-path; TO's full path when either folder was configured as an
# absolute path (it then stays put whatever prefix the install gets).  An empty BASE gives
# the bare relative path.
function(quillmark_install_path var base from to)
  if(IS_ABSOLUTE "${from}" OR IS_ABSOLUTE "${to}")
    cmake_path(ABSOLUTE_PATH to BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX} OUTPUT_VARIABLE path)
  else()
    file(RELATIVE_PATH path /${from} /${to})
    if(base)
      set(path ${base}/${path})
    endif()
    string(REGEX REPLACE "/$" "" path "${path}")
  endif()
  set(${var} ${path} PARENT_SCOPE)
endfunction()

# The help document: the man page names its full path, the program finds it from its
# own folder.
set(LORRIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lorrin)
set(LORRIN_DOC_DIR_FULL ${CMAKE_INSTALL_FULL_DATADIR}/doc/lorrin)
quillmark_install_path(LORRIN_DOC_DIR_FROM_PROGRAM "" ${CMAKE_INSTALL_BINDIR} ${LORRIN_DOC_DIR})

# The catalogues of the user interface's texts, gettext's (LANGUAGE/LC_MESSAGES/lorrin.mo)
# and Qt's (lorrin_LANGUAGE.qm): the programs find them from their own folder.
set(LORRIN_LOCALE_DIR ${CMAKE_INSTALL_LOCALEDIR})
set(LORRIN_TRANSLATIONS_DIR ${CMAKE_INSTALL_DATADIR}/lorrin/translations)
set(LORRIN_TRANSLATIONS_DIR_FULL ${CMAKE_INSTALL_FULL_DATADIR}/lorrin/translations)
quillmark_install_path(LORRIN_LOCALE_DIR_FROM_PROGRAM "" ${CMAKE_INSTALL_BINDIR} ${LORRIN_LOCALE_DIR})
quillmark_install_path(LORRIN_TRANSLATIONS_DIR_FROM_PROGRAM "" ${CMAKE_INSTALL_BINDIR}
                       ${LORRIN_TRANSLATIONS_DIR})

# Programs that link libKELDA find it from their own folder, unless it lies where the
# loader looks anyway: Debian wants no RPATH to its standard folders.
if(CMAKE_INSTALL_FULL_LIBDIR IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
  set(QUILLMARK_PROGRAM_RPATH "")
else()
  quillmark_install_path(QUILLMARK_PROGRAM_RPATH "$ORIGIN" ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
endif()

# quillmark_gzip(TARGET FILE...): FILE.gz beside each FILE (full paths in the binary
# tree), made by TARGET in every build.  -9n as Debian wants it: no name or time stamp,
# so the same file gives the same bytes.
function(quillmark_gzip target)
  foreach(file IN LISTS ARGN)
    cmake_path(GET file FILENAME name)
    add_custom_command(OUTPUT ${file}.gz
                       COMMAND gzip -9 -n -c ${file} > ${file}.gz
                       DEPENDS ${file}
                       COMMENT "Compressing ${name}")
    list(APPEND compressed ${file}.gz)
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${compressed})
endfunction()
