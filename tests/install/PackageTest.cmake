# Builds the Debian package with CPack, checks that it lists the programs, the
# menu entry, the icons, the AppStream data, the man pages, the completion and
# the documentation policy asks for, that it depends on the Qt libraries, that
# its control data is complete and its programs stripped, that the programs it
# holds run and its man pages render, and that lintian finds no error.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
execute_process(COMMAND "${CPACK}" -G DEB -B "${WORKDIR}" --config "${CONFIG}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB debs "${WORKDIR}/*.deb")
list(LENGTH debs count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack -G DEB: exit ${rc}, ${count} packages\n${out}\n${err}")
endif()

execute_process(COMMAND dpkg-deb -c "${debs}" RESULT_VARIABLE rc OUTPUT_VARIABLE listing)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -c: exit ${rc}")
endif()
set(expected
  usr/bin/ostrel usr/bin/ostrel-report usr/bin/ostrel-export
  usr/share/applications/org.ostrel.Ostrel.desktop
  usr/share/metainfo/org.ostrel.Ostrel.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/org.ostrel.Ostrel.svg
  usr/share/doc/ostrel/copyright usr/share/doc/ostrel/changelog.gz)
foreach(program ostrel ostrel-report ostrel-export)
  list(APPEND expected usr/share/man/man1/${program}.1.gz usr/share/bash-completion/completions/${program})
endforeach()
foreach(side 16 22 24 32 48 64 128 256)
  list(APPEND expected usr/share/icons/hicolor/${side}x${side}/apps/org.ostrel.Ostrel.png)
endforeach()
foreach(path ${expected})
  string(REPLACE "." "\\." pattern "${path}")
  if(NOT listing MATCHES " \\./${pattern}\n")
    message(FATAL_ERROR "the package lacks ${path}:\n${listing}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -f "${debs}" Depends OUTPUT_VARIABLE depends)
foreach(library libqt6widgets6 libqt6svg6 libqt6gui6 libstdc\\+\\+6)
  if(NOT depends MATCHES "(^|, )${library}( |,|\n)")
    message(FATAL_ERROR "the package does not depend on ${library}: ${depends}")
  endif()
endforeach()

# Control data: a summary and a long description of more than one paragraph,
# and the fields policy expects of every package.
foreach(field Package Version Architecture Maintainer Installed-Size Section Priority Homepage Description)
  execute_process(COMMAND dpkg-deb -f "${debs}" ${field} OUTPUT_VARIABLE value)
  if(value STREQUAL "" OR value STREQUAL "\n")
    message(FATAL_ERROR "the package has no ${field} field")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb -f "${debs}" Version OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT version STREQUAL "${VERSION}")
  message(FATAL_ERROR "the package's version is ${version}, the project's ${VERSION}")
endif()
execute_process(COMMAND dpkg-deb -f "${debs}" Description OUTPUT_VARIABLE description)
string(REGEX MATCHALL "\n [^\n]+" lines "${description}")
list(LENGTH lines count)
if(count LESS 5 OR NOT description MATCHES "\n \\.\n")
  message(FATAL_ERROR "the long description is too short:\n${description}")
endif()

# The programs as unpacked from the package.
execute_process(COMMAND dpkg-deb -x "${debs}" "${WORKDIR}/root" RESULT_VARIABLE rc)
set(bin "${WORKDIR}/root/usr/bin")
execute_process(COMMAND "${bin}/ostrel-export" "${EXAMPLES}/birds.kvl" "${WORKDIR}/birds.png"
                WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORKDIR}/birds.png")
  message(FATAL_ERROR "packaged ostrel-export: exit ${rc}\n${err}")
endif()
foreach(program ostrel ostrel-report ostrel-export)
  # Stripped: no symbol table, no debugging information.
  execute_process(COMMAND readelf -S "${bin}/${program}" RESULT_VARIABLE rc OUTPUT_VARIABLE sections)
  if(NOT rc EQUAL 0 OR sections MATCHES "\\.symtab|\\.debug_")
    message(FATAL_ERROR "the packaged ${program} is not stripped")
  endif()
  execute_process(COMMAND "${bin}/${program}" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^${program} ${VERSION}\n")
    message(FATAL_ERROR "packaged ${program} --version: exit ${rc}\n${out}")
  endif()
  set(page "${WORKDIR}/root/usr/share/man/man1/${program}.1.gz")
  execute_process(COMMAND man -l "${page}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT out MATCHES "SYNOPSIS")
    message(FATAL_ERROR "man -l ${page}: exit ${rc}\n${err}")
  endif()
endforeach()
execute_process(COMMAND "${bin}/ostrel-report" --json "${EXAMPLES}/birds.kvl"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
string(JSON status GET "${out}" status)
if(NOT rc EQUAL 0 OR NOT status MATCHES "dialectical interpretation")
  message(FATAL_ERROR "packaged ostrel-report --json: exit ${rc}")
endif()
file(READ "${WORKDIR}/root/usr/share/applications/org.ostrel.Ostrel.desktop" entry)
foreach(line "Name=Ostrel" "GenericName=Argument assistant" "Categories=Education;Science;" "Icon=org.ostrel.Ostrel")
  if(NOT entry MATCHES "\n${line}\n")
    message(FATAL_ERROR "the menu entry lacks ${line}")
  endif()
endforeach()

set(doc "${WORKDIR}/root/usr/share/doc/ostrel")
file(READ "${doc}/copyright" copyright)
if(NOT copyright MATCHES "^Format: https://www\\.debian\\.org/doc/packaging-manuals/copyright-format/1\\.0/\n"
   OR NOT copyright MATCHES "\nLicense: GPL-3\\+\n")
  message(FATAL_ERROR "the copyright file is not in the machine-readable format")
endif()
execute_process(COMMAND gzip -dc "${doc}/changelog.gz" OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^ostrel \\(${VERSION}\\) ")
  message(FATAL_ERROR "the changelog does not start with this version:\n${changelog}")
endif()

# lintian checks the package against Debian's policy: no error may remain.
# Warnings and notes are shown in the test's output.
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message(FATAL_ERROR "lintian is not installed (scripts/install-deps.sh installs it)")
endif()
execute_process(COMMAND "${LINTIAN}" --info --display-info "${debs}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "lintian:\n${out}")
# It exits with 1 on an error, with 2 when it could not check at all.
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)E: ")
  message(FATAL_ERROR "lintian reports errors:\n${out}\n${err}")
endif()
