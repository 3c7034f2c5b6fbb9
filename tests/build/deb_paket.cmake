# Run by ctest (cmake -DBUILD=<build folder> -DCPACK=<cpack> -DVERSION=<version>
# -P ...): packs the built program with "cpack -G DEB" into a folder of its own
# below the build folder and checks the package a user installs:
#  1. its name cardforge_<version>_<arch>.deb;
#  2. its files: the program, the manual, the example log, the pencil
#     pointer, the menu entry and the icon, where the program looks for them;
#  3. its Depends: the Qt 6 libraries the program links, the window system
#     plugins, Qt's German texts and the card's fonts; and its section.
cmake_minimum_required(VERSION 3.25)

set(ausgabe ${BUILD}/deb-pruefung)
file(REMOVE_RECURSE ${ausgabe})
execute_process(COMMAND ${CPACK} -G DEB -B ${ausgabe} --config ${BUILD}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack -G DEB failed:\n${log}")
endif()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${ausgabe}/cardforge_${VERSION}_${arch}.deb)
if(NOT EXISTS ${deb})
    file(GLOB gebaut ${ausgabe}/*.deb)
    message(FATAL_ERROR "expected ${deb}, cpack made: ${gebaut}")
endif()

set(fehler)
execute_process(COMMAND dpkg-deb -c ${deb} OUTPUT_VARIABLE inhalt RESULT_VARIABLE rc)
foreach(datei bin/cardforge share/cardforge/Cardforge.pdf share/cardforge/Beispiel.adi share/cardforge/Bleistift.ICO
              share/applications/cardforge.desktop share/icons/hicolor/scalable/apps/cardforge.svg)
    if(NOT inhalt MATCHES " \\./usr/${datei}\n")
        list(APPEND fehler "the package lacks /usr/${datei}")
    endif()
endforeach()
if(NOT inhalt MATCHES "-rwxr-xr-x [^\n]* \\./usr/bin/cardforge\n")
    list(APPEND fehler "/usr/bin/cardforge is not executable")
endif()

execute_process(COMMAND dpkg-deb -f ${deb} Depends Section OUTPUT_VARIABLE felder)
foreach(paket libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n
              fonts-liberation)
    if(NOT felder MATCHES "(^|[ ,])${paket}([ ,(]|\n)")
        list(APPEND fehler "Depends lacks ${paket}")
    endif()
endforeach()
if(NOT felder MATCHES "Section: hamradio")
    list(APPEND fehler "the section is not hamradio")
endif()

if(fehler)
    list(JOIN fehler "\n  " text)
    message(FATAL_ERROR "${deb}:\n  ${text}\n--- files:\n${inhalt}--- fields:\n${felder}")
endif()
message(STATUS "${deb}: files and Depends as expected:\n${felder}")
