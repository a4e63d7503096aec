# cmake -DROOT=<source dir> -DWORK=<scratch folder> -P CheckSeamPlanted.cmake
# The seam check itself: a program file with one planted line of each kind makes it fail,
# naming that file and line, as does a program's main that skips runProgram; lines that keep
# the seam (member calls, qualified names, the program's own resources, comments) let it pass.
cmake_minimum_required(VERSION 3.25)

set(planted
  "QFile f(name)"
  "std::ofstream out(path)"
  "FILE* f = fopen(p, \"w\")"
  "std::filesystem::rename(a, b)"
  "::rename(a.c_str(), b.c_str())"
  "int fd = open(p, 0)"
  "mkstemp(name)"
  "#include <unistd.h>"
  "QProcess::startDetached(p)"
  "QDesktopServices::openUrl(u)"
  "QSettings s(p)"
  "QUrl u(\"file://\" + p)"
  "u.setScheme(\"file\")"
  "view->setSource(url)"
  "QPixmap pic(QString::fromStdString(path))"
  "image.save(QString::fromStdString(path))"
)
set(keeping
  "w->open()"
  "QLocale::system()"
  "kx::removeFile(p)"
  "QPixmap(QStringLiteral(\":/launcher/logo.png\"))"
  "// QFile and ::rename in a comment"
)

function(run_check file_text out_code out_text)
  file(REMOVE_RECURSE "${WORK}")
  file(WRITE "${WORK}/modules/x/planted.cpp" "void f() {\n${file_text}\n}\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DROOT=${WORK} -P "${ROOT}/cmake/CheckSeam.cmake"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${out_code} "${code}" PARENT_SCOPE)
  set(${out_text} "${out}${err}" PARENT_SCOPE)
endfunction()

set(bad "")
foreach(line IN LISTS planted)
  run_check("${line}" code text)
  if(code EQUAL 0 OR NOT text MATCHES "modules/x/planted.cpp:2:")
    string(APPEND bad "  not caught: ${line}\n")
  endif()
endforeach()
foreach(line IN LISTS keeping)
  run_check("${line}" code text)
  if(NOT code EQUAL 0)
    string(APPEND bad "  refused although it keeps the seam: ${line}\n${text}\n")
  endif()
endforeach()
# A program's main that skips the shared start (and with it the programs' common set-up).
file(REMOVE_RECURSE "${WORK}")
file(WRITE "${WORK}/modules/x/main.cpp" "int main(int argc, char** argv) {\n    return 0\;\n}\n")
execute_process(COMMAND "${CMAKE_COMMAND}" -DROOT=${WORK} -P "${ROOT}/cmake/CheckSeam.cmake"
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(code EQUAL 0 OR NOT "${out}${err}" MATCHES "modules/x/main.cpp: a program's main")
  string(APPEND bad "  not caught: a main without runProgram\n")
endif()
file(REMOVE_RECURSE "${WORK}")
if(bad)
  message(FATAL_ERROR "The seam check does not hold:\n${bad}")
endif()
message(STATUS "seam check: every planted line caught, seam-keeping lines pass")
