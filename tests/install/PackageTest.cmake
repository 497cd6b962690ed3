# Builds the Debian package with CPack, checks that it lists the programs, the
# menu entry, the icons and the AppStream data, that it depends on the Qt
# libraries, and that the programs it holds run.
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
  usr/share/icons/hicolor/scalable/apps/org.ostrel.Ostrel.svg)
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

# The programs as unpacked from the package.
execute_process(COMMAND dpkg-deb -x "${debs}" "${WORKDIR}/root" RESULT_VARIABLE rc)
set(bin "${WORKDIR}/root/usr/bin")
execute_process(COMMAND "${bin}/ostrel-export" "${EXAMPLES}/birds.kvl" "${WORKDIR}/birds.png"
                WORKING_DIRECTORY "${WORKDIR}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORKDIR}/birds.png")
  message(FATAL_ERROR "packaged ostrel-export: exit ${rc}\n${err}")
endif()
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
