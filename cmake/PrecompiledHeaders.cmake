# Precompiled headers: GoogleTest and Qt parsed once per build tree instead of once per
# file. GCC takes a precompiled header only under the flags it was made with (-fPIC or
# -fPIE, sanitizers, every macro defined then), so each kind is made by a donor target that
# holds just the flags its users share; a user may add macros the headers never test.
# -Winvalid-pch turns a silently refused header into an error, so the gain cannot rot away.
option(KES_PRECOMPILE_HEADERS "Precompile the GoogleTest and Qt headers" OFF)

set(_kes_pch_gtest <gtest/gtest.h>)
set(_kes_pch_qt <QApplication> <QCheckBox> <QFile> <QLabel> <QLineEdit> <QPushButton>
                <QString> <QTemporaryDir> <QTimer> <QTreeWidget> <QWidget>)

# kes_precompile(TARGET gtest|qt): TARGET reuses the precompiled headers of its kind.
# gtest is for GoogleTest executables, qt for targets on Qt6::Widgets.
function(kes_precompile target kind)
  if(NOT KES_PRECOMPILE_HEADERS)
    return()
  endif()
  set(donor kes_pch_${kind})
  if(NOT TARGET ${donor})
    # An executable for GoogleTest, as its users are (-fPIE); Qt wants -fPIC everywhere.
    file(CONFIGURE OUTPUT ${donor}.cpp CONTENT "int main() { return 0; }\n")
    if(kind STREQUAL "gtest")
      add_executable(${donor} ${donor}.cpp)
      target_link_libraries(${donor} PRIVATE GTest::gtest kes_options)
    else()
      add_library(${donor} OBJECT ${donor}.cpp)
      target_link_libraries(${donor} PRIVATE Qt6::Widgets kes_options)
    endif()
    target_precompile_headers(${donor} PRIVATE ${_kes_pch_${kind}})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${donor})
  target_compile_options(${target} PRIVATE -Winvalid-pch)
endfunction()
