# Run by ctest (cmake -DBUILD=<build folder> -DSOURCE=<source folder> -P ...):
# the logic layer cannot reach Qt Widgets, Qt PrintSupport or the UI layer.
#  1. No compile line of a source in src/logic/ names Qt Widgets or Qt
#     PrintSupport (compile_commands.json of the build).
#  2. Probes built with cardforge_logic's usage requirements only: one that
#     uses the logic and Qt Gui compiles; one that includes <QWidget>, one
#     <QPrinter> and one a header of src/ui/ each fail, because that header is
#     not found.
#  3. No source in src/logic/ reaches around the include path with a
#     module-prefixed include such as <QtWidgets/QWidget>.
cmake_minimum_required(VERSION 3.25)

set(fehler)

file(READ ${BUILD}/compile_commands.json befehle)
string(JSON anzahl LENGTH "${befehle}")
math(EXPR letzter "${anzahl} - 1")
set(logikzeilen 0)
foreach(i RANGE ${letzter})
    string(JSON datei GET "${befehle}" ${i} file)
    if(NOT datei MATCHES "/src/logic/")
        continue()
    endif()
    math(EXPR logikzeilen "${logikzeilen} + 1")
    string(JSON zeile GET "${befehle}" ${i} command)
    if(zeile MATCHES "QtWidgets|QtPrintSupport|QT_WIDGETS_LIB|QT_PRINTSUPPORT_LIB")
        list(APPEND fehler "compile line of ${datei} names ${CMAKE_MATCH_0}")
    endif()
endforeach()
if(logikzeilen EQUAL 0)
    list(APPEND fehler "no compile line of src/logic/ in ${BUILD}/compile_commands.json")
endif()

function(probe ziel erwartung)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${ziel}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE ausgabe ERROR_VARIABLE ausgabe)
    if(erwartung STREQUAL "baut")
        if(NOT rc EQUAL 0)
            set(fehler ${fehler} "${ziel} does not compile:\n${ausgabe}" PARENT_SCOPE)
        endif()
    elseif(rc EQUAL 0)
        set(fehler ${fehler} "${ziel} compiles against cardforge_logic" PARENT_SCOPE)
    elseif(NOT ausgabe MATCHES "${erwartung}(: No such file or directory|' file not found)")
        set(fehler ${fehler} "${ziel} fails, but not for want of ${erwartung}:\n${ausgabe}" PARENT_SCOPE)
    endif()
endfunction()
probe(logic_probe_gui baut)
probe(logic_probe_widgets QWidget)
probe(logic_probe_druck QPrinter)
probe(logic_probe_ui "mainwindow/frmMain.h")

file(GLOB_RECURSE quellen ${SOURCE}/src/logic/*.h ${SOURCE}/src/logic/*.cpp)
foreach(datei ${quellen})
    file(STRINGS ${datei} treffer REGEX "#[ \t]*include[ \t]*[<\"](QtWidgets|QtPrintSupport)/")
    if(treffer)
        list(APPEND fehler "${datei}: ${treffer}")
    endif()
endforeach()

if(fehler)
    list(JOIN fehler "\n" text)
    message(FATAL_ERROR "${text}")
endif()
message(STATUS "cardforge_logic: ${logikzeilen} compile lines without Qt Widgets and Qt PrintSupport; "
               "<QWidget>, <QPrinter> and the UI layer's headers are out of its reach")
