# Headers most files include, parsed once instead of once per file: the
# standard library's, Qt's and GoogleTest's make up most of each file's
# compile time. One header is made per kind of target, by a target of its
# own with nothing but the kind's options (a precompiled header serves only
# files compiled with at least the definitions it was made with). Files
# still include what they use; a build without (BB_PCH=OFF, and clang-tidy,
# which reads the files as they are) shows what one forgot.
option(BB_PCH "Precompile the common standard, Qt and GoogleTest headers" ON)

set(bb_pch_std <algorithm> <array> <chrono> <cstddef> <cstdint> <filesystem> <functional>
    <map> <memory> <optional> <string> <string_view> <utility> <vector>)
set(bb_pch_qt <QApplication> <QDir> <QFile> <QImage> <QPainter> <QString> <QTimer> <QWidget>)
set(bb_pch_gtest <gtest/gtest.h>)

# bb_precompile(KIND [QT] [GTEST] TARGETS...): the targets that exist reuse
# the header of KIND.
function(bb_precompile kind)
  cmake_parse_arguments(PARSE_ARGV 1 with "QT;GTEST" "" "")
  if(NOT BB_PCH)
    return()
  endif()
  set(targets)
  foreach(target ${with_UNPARSED_ARGUMENTS})
    if(TARGET ${target})
      list(APPEND targets ${target})
    endif()
  endforeach()
  if(NOT targets)
    return()
  endif()
  # On Windows the files of a Qt program with a window (no console) see
  # QT_NEEDS_QMAIN, Qt's entry point, which its headers test: such programs
  # get a header of their own.
  if(WIN32 AND with_QT)
    set(programs)
    foreach(target ${targets})
      get_target_property(windowed ${target} WIN32_EXECUTABLE)
      if(windowed)
        list(APPEND programs ${target})
      endif()
    endforeach()
    if(programs)
      list(REMOVE_ITEM targets ${programs})
      bb_make_precompiled(${kind}_programs "${programs}" "${with_QT}" "${with_GTEST}" QT_NEEDS_QMAIN)
    endif()
  endif()
  if(targets)
    bb_make_precompiled(${kind} "${targets}" "${with_QT}" "${with_GTEST}" "")
  endif()
endfunction()

function(bb_make_precompiled kind targets with_QT with_GTEST definitions)
  set(owner pch_${kind})
  set(source ${CMAKE_BINARY_DIR}/${owner}.cpp)
  if(NOT EXISTS ${source})
    file(WRITE ${source} "// the precompiled header's own file\n")
  endif()
  add_library(${owner} OBJECT ${source})
  set_target_properties(${owner} PROPERTIES AUTOMOC OFF)
  target_compile_definitions(${owner} PRIVATE ${definitions})
  set(headers ${bb_pch_std})
  if(with_QT)
    list(APPEND headers ${bb_pch_qt})
    target_link_libraries(${owner} PRIVATE Qt6::Widgets)
  endif()
  if(with_GTEST)
    list(APPEND headers ${bb_pch_gtest})
    target_link_libraries(${owner} PRIVATE GTest::gtest)
  endif()
  target_precompile_headers(${owner} PRIVATE ${headers})
  foreach(target ${targets})
    target_precompile_headers(${target} REUSE_FROM ${owner})
  endforeach()
  foreach(target ${owner} ${targets})
    # GCC 12 loses the system-header mark of what it precompiled, and then
    # reports its own std::string's known false "out of bounds" and
    # "overflow" findings (string + literal at -O2) in our files.
    # AddressSanitizer checks bounds where it matters: at run time.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow)
    endif()
  endforeach()
endfunction()
