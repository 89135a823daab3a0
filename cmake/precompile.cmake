# Precompiled headers for the main build, included once every target is
# made.  Most of a source's compile time goes on Qt's headers (and
# GoogleTest's in the tests), which every source of a target parses again.
# Each layer library precompiles the headers its sources include most,
# within the Qt modules the layer may use; the test programs share the
# precompiled header of their support library, the benchmarks that of
# theirs (the flags are the same).  -DQN4_PRECOMPILE=OFF builds without.
#
# The header is only read before everything else: a source still includes
# what it uses, and qn4headers compiles each header without these.
option(QN4_PRECOMPILE "precompile the Qt headers most sources include" ON)
if(NOT QN4_PRECOMPILE)
  return()
endif()

set(QN4_PCH_CORE <QByteArray> <QString> <QStringList> <QStringView> <QFile> <QFileInfo>
    <algorithm> <functional> <memory> <optional> <vector>)
set(QN4_PCH_GUI ${QN4_PCH_CORE} <QColor> <QImage>)
set(QN4_PCH_WIDGETS ${QN4_PCH_CORE} <QDir> <QObject> <QPointer> <QTimer> <QApplication>
    <QWidget> <QDialog> <QAction> <QMenu> <QLabel> <QPushButton> <QLineEdit> <QComboBox>
    <QVBoxLayout> <QHBoxLayout> <QKeyEvent> <QPlainTextEdit> <QTextDocument> <QTextCursor>
    <QTextBlock> <QClipboard>)
set(QN4_PCH_TESTS ${QN4_PCH_WIDGETS} <QTest> <QTemporaryDir> <gtest/gtest.h>)
set(QN4_PCH_BENCH ${QN4_PCH_WIDGETS} <QTemporaryDir> <benchmark/benchmark.h>)

target_precompile_headers(qn4charset PRIVATE ${QN4_PCH_CORE})
target_precompile_headers(qn4cores PRIVATE ${QN4_PCH_GUI})
foreach(t qn4platform qn4app qn4features)
  target_precompile_headers(${t} PRIVATE ${QN4_PCH_WIDGETS})
endforeach()
target_precompile_headers(qn4testsupport PRIVATE ${QN4_PCH_TESTS})
target_precompile_headers(qn4benchsupport PRIVATE ${QN4_PCH_BENCH})

get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
foreach(t ${targets})
  if(t MATCHES "^test_")
    target_precompile_headers(${t} REUSE_FROM qn4testsupport)
  elseif(t MATCHES "^bench_")
    target_precompile_headers(${t} REUSE_FROM qn4benchsupport)
  endif()
endforeach()
